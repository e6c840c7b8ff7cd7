#include "core/explore/ToleranceSamplesFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "core/design/NumberText.h"

namespace veltrano {

namespace {

constexpr std::string_view kTitle = "# veltrano tolerance samples";

std::string withUnit(std::string_view name, std::string_view unit) {
    return unit.empty() ? std::string(name) : std::string(name) + " [" + std::string(unit) + "]";
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

// A number as fullPrecisionText writes it, the non-finite words included.
std::optional<double> storedNumber(std::string_view text) {
    if (text == "NaN") return std::numeric_limits<double>::quiet_NaN();
    if (text == "Infinity") return std::numeric_limits<double>::infinity();
    if (text == "-Infinity") return -std::numeric_limits<double>::infinity();
    return finiteNumber(text);
}

template <class Whole>
std::optional<Whole> wholeNumber(std::string_view text) {
    Whole value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

// The header's "# key=value" lines, read in the order they are written.
class HeaderReader {
public:
    HeaderReader(std::vector<std::string_view> lines, std::string& problem)
        : lines_(std::move(lines)), problem_(problem) {}

    std::optional<std::string_view> next(std::string_view key) {
        const std::string prefix = "# " + std::string(key) + "=";
        if (at_ < lines_.size() && lines_[at_].substr(0, prefix.size()) == prefix)
            return lines_[at_++].substr(prefix.size());
        problem_ = "the header has no line '" + prefix + "...' where one belongs";
        return std::nullopt;
    }
    // The values of every line of `key` from here on.
    std::vector<std::string_view> all(std::string_view key) {
        std::vector<std::string_view> values;
        const std::string prefix = "# " + std::string(key) + "=";
        while (at_ < lines_.size() && lines_[at_].substr(0, prefix.size()) == prefix)
            values.push_back(lines_[at_++].substr(prefix.size()));
        return values;
    }
    std::size_t position() const { return at_; }

private:
    std::vector<std::string_view> lines_;
    std::string& problem_;
    std::size_t at_ = 1;  // after the title
};

}  // namespace

std::string samplesFileHeader(const ToleranceSamplesFile& file) {
    const ToleranceSetup& setup = file.setup;
    std::string header = std::string(kTitle) + "\r\n";
    const auto line = [&](std::string_view key, std::string_view value) {
        header += "# " + std::string(key) + "=" + std::string(value) + "\r\n";
    };
    line("seed", std::to_string(setup.seed));
    line("samples", std::to_string(setup.samples));
    line("shard", std::to_string(file.shard) + "/" + std::to_string(file.shardCount));
    line("designs", file.designs);
    line("couple-diffusion", setup.coupleDiffusion ? "yes" : "no");
    for (const std::string& held : file.held) line("held", held);
    for (const ToleranceInput& in : setup.inputs)
        line("vary", std::string(in.field->name()) + "=" + spreadText(in.spread));
    for (const OutputLimit& limit : setup.limits) line("limit", limitText(limit));
    std::string names = "index";
    for (const ToleranceInput& in : setup.inputs) names += "," + withUnit(in.field->name(), in.field->unit());
    names += ",status";
    for (const ExploreOutput* o : setup.outputs) names += "," + withUnit(o->name, o->unit);
    return header + names + ",errors\r\n";
}

std::string samplesFileRow(const ToleranceSample& sample, std::size_t outputCount) {
    std::string row = std::to_string(sample.index);
    for (double v : sample.drawn) row += "," + fullPrecisionText(v);
    row += sample.refused ? ",refused" : ",ok";
    for (double v : sample.outputs) row += "," + fullPrecisionText(v);
    if (sample.refused) row.append(outputCount, ',');
    row += ",";
    for (std::size_t k = 0; k < sample.errors.size(); ++k)
        row += (k ? " " : "") + std::to_string(sample.errors[k]);
    return row + "\r\n";
}

std::optional<ToleranceSamplesFile> readSamplesFile(std::string_view text, std::string& problem) {
    std::vector<std::string_view> lines = split(text, '\n');
    for (std::string_view& l : lines)
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.empty() || lines.front() != kTitle) {
        problem =
            "it is not a file of tolerance samples (its first line is not '" + std::string(kTitle) + "')";
        return std::nullopt;
    }
    ToleranceSamplesFile file;
    HeaderReader header(lines, problem);
    const auto seed = header.next("seed");
    const auto samples = seed ? header.next("samples") : std::nullopt;
    const auto shard = samples ? header.next("shard") : std::nullopt;
    const auto designs = shard ? header.next("designs") : std::nullopt;
    if (!designs) return std::nullopt;
    const std::optional<std::uint64_t> seedValue = wholeNumber<std::uint64_t>(*seed);
    const long long count = wholeNumber<long long>(*samples).value_or(-1);
    const std::size_t slash = shard->find('/');
    const long long shardIndex = wholeNumber<long long>(shard->substr(0, slash)).value_or(-1);
    const long long shardCount =
        slash == std::string_view::npos ? -1 : wholeNumber<long long>(shard->substr(slash + 1)).value_or(-1);
    if (!seedValue || count < 1 || count > kMaxToleranceSamples || shardCount < 1 || shardIndex < 0 ||
        shardIndex >= shardCount || shardCount > kMaxToleranceSamples) {
        problem = "the header's seed, samples or shard is not a number in its range";
        return std::nullopt;
    }
    file.setup.seed = *seedValue;
    file.setup.samples = static_cast<int>(count);
    file.shard = static_cast<int>(shardIndex);
    file.shardCount = static_cast<int>(shardCount);
    file.designs = std::string(*designs);
    const std::optional<std::string_view> coupled = header.next("couple-diffusion");
    if (!coupled || (*coupled != "yes" && *coupled != "no")) {
        problem = "the header's couple-diffusion must be yes or no";
        return std::nullopt;
    }
    file.setup.coupleDiffusion = *coupled == "yes";
    for (std::string_view held : header.all("held")) file.held.emplace_back(held);
    for (std::string_view vary : header.all("vary")) {
        const std::size_t eq = vary.find('=');
        const ExploreField* field = findExploreField(vary.substr(0, eq));
        const std::optional<Spread> spread =
            eq == std::string_view::npos ? std::nullopt : parseSpread(vary.substr(eq + 1));
        if (!field || !spread) {
            problem = "the header's input '" + std::string(vary) + "' is not a field with a spread";
            return std::nullopt;
        }
        file.setup.inputs.push_back({field, *spread});
    }
    for (std::string_view limitLine : header.all("limit")) {
        const std::optional<OutputLimit> limit = parseOutputLimit(limitLine, problem);
        if (!limit) return std::nullopt;
        file.setup.limits.push_back(*limit);
    }
    // The column names give the outputs: after the inputs and the status, up to the errors.
    const std::size_t columnsAt = header.position();
    if (columnsAt >= lines.size()) {
        problem = "the file has no row of column names";
        return std::nullopt;
    }
    const std::vector<std::string_view> columns = split(lines[columnsAt], ',');
    const std::size_t inputs = file.setup.inputs.size();
    if (columns.size() < inputs + 3) {
        problem = "the row of column names is too short";
        return std::nullopt;
    }
    for (std::size_t c = inputs + 2; c + 1 < columns.size(); ++c) {
        const std::string_view name = columns[c].substr(0, columns[c].find(" ["));
        const ExploreOutput* output = findExploreOutput(name);
        if (!output) {
            problem = "the column '" + std::string(columns[c]) + "' is no output";
            return std::nullopt;
        }
        file.setup.outputs.push_back(output);
    }
    for (const OutputLimit& limit : file.setup.limits)
        if (std::find(file.setup.outputs.begin(), file.setup.outputs.end(), limit.output) ==
            file.setup.outputs.end()) {
            problem = "the limit " + limitText(limit) + " is on no column of the file";
            return std::nullopt;
        }
    for (std::size_t l = columnsAt + 1; l < lines.size(); ++l) {
        const std::vector<std::string_view> cells = split(lines[l], ',');
        const std::string where = "row " + std::to_string(l + 1);
        if (cells.size() != columns.size()) {
            problem = where + " has " + std::to_string(cells.size()) + " fields, not " +
                      std::to_string(columns.size());
            return std::nullopt;
        }
        ToleranceSample sample;
        const std::optional<long long> index = wholeNumber<long long>(cells[0]);
        if (!index || *index < 0 || *index >= file.setup.samples) {
            problem = where + " has no sample index within the samples";
            return std::nullopt;
        }
        sample.index = static_cast<int>(*index);
        const std::string_view status = cells[inputs + 1];
        if (status != "ok" && status != "refused") {
            problem = where + " has the status '" + std::string(status) + "', neither ok nor refused";
            return std::nullopt;
        }
        sample.refused = status == "refused";
        for (std::size_t c = 1; c < cells.size() - 1; ++c) {
            if (c == inputs + 1 || (sample.refused && c > inputs + 1 && cells[c].empty())) continue;
            const std::optional<double> v = storedNumber(cells[c]);
            if (!v) {
                problem = where + " holds '" + std::string(cells[c]) + "', which is not a number";
                return std::nullopt;
            }
            (c <= inputs ? sample.drawn : sample.outputs).push_back(*v);
        }
        if (sample.refused && !sample.outputs.empty()) {
            problem = where + " is refused but has outputs";
            return std::nullopt;
        }
        if (!cells.back().empty())
            for (std::string_view n : split(cells.back(), ' ')) {
                const std::optional<long long> number = wholeNumber<long long>(n);
                if (!number || *number < 0 || *number > 999) {
                    problem = where + " has the error number '" + std::string(n) + "'";
                    return std::nullopt;
                }
                sample.errors.push_back(static_cast<int>(*number));
            }
        file.samples.push_back(std::move(sample));
    }
    return file;
}

bool sameRun(const ToleranceSamplesFile& a, const ToleranceSamplesFile& b) {
    const auto header = [](ToleranceSamplesFile f) {
        f.shard = 0;
        f.samples.clear();
        return samplesFileHeader(f);
    };
    return header(a) == header(b);
}

}  // namespace veltrano
