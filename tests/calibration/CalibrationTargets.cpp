#include "CalibrationTargets.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <variant>

#include "CsvTable.h"
#include "TargetExpression.h"
#include "core/design/DesignFields.h"
#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"
#include "core/model/Characteristics.h"
#include "core/model/IsoYields.h"
#include "core/model/PuffByPuff.h"
#include "core/model/Recalculation.h"

namespace veltrano::calibration {

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> split(std::string_view s, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = s.find(separator);
        parts.push_back(trimmed(s.substr(0, at)));
        if (at == std::string_view::npos) return parts;
        s.remove_prefix(at + 1);
    }
}

// The whole text as a number, locale-free.
std::optional<double> number(std::string_view text) {
    text = trimmed(text);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::optional<long long> integer(std::string_view text) {
    text = trimmed(text);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// The shortest text that reads back as the same double.
std::string shortest(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// Applies one `field=value` change to a design's record values; returns what is wrong, if anything.
std::optional<std::string> assignField(DesignValues& d, std::string_view name, std::string_view text) {
    const DesignField* field = findDesignField(name);
    if (!field) return "unknown record value '" + std::string(name) + "'";
    std::optional<std::string> error;
    std::visit(
        [&](auto member) {
            auto& target = d.*member;
            using T = std::remove_cvref_t<decltype(target)>;
            if constexpr (std::is_same_v<T, double>) {
                if (auto v = number(text))
                    target = *v;
                else
                    error = "'" + std::string(text) + "' is not a number";
            } else if constexpr (std::is_same_v<T, std::int32_t> || std::is_same_v<T, std::uint32_t>) {
                const auto v = integer(text);
                if (v && *v >= std::numeric_limits<T>::min() && *v <= std::numeric_limits<T>::max())
                    target = static_cast<T>(*v);
                else
                    error = "'" + std::string(text) + "' is not a whole number for " + std::string(name);
            } else {
                error = std::string(name) + " cannot be set by a target";
            }
        },
        field->member);
    return error;
}

std::optional<double> recordValue(const DesignValues& d, std::string_view name) {
    const DesignField* field = findDesignField(name);
    if (!field) return std::nullopt;
    std::optional<double> value;
    std::visit(
        [&](auto member) {
            const auto& v = d.*member;
            using T = std::remove_cvref_t<decltype(v)>;
            if constexpr (std::is_arithmetic_v<T>) value = static_cast<double>(v);
        },
        field->member);
    return value;
}

const std::vector<double>* puffArray(const CigaretteDesign& d, std::string_view name) {
    for (const PuffArray& a : puffArrays())
        if (name == a.name) return &(d.*a.member);
    return nullptr;
}

std::optional<int> puffIndex(const CigaretteDesign& d, std::string_view index) {
    if (index == "last") return d.puff_number - 1;
    if (index == "last_full") {
        for (int i = d.puff_number - 1; i >= 0; --i)
            if (d.puff_size[static_cast<std::size_t>(i)] == 10) return i;
        return std::nullopt;
    }
    const auto i = integer(index);
    if (!i || *i < 0 || *i >= d.puff_number) return std::nullopt;
    return static_cast<int>(*i);
}

}  // namespace

TargetTable readTargetTable(std::string_view csvText) {
    TargetTable table;
    const CsvTable csv = CsvTable::parse(csvText);
    if (!csv.error().empty()) {
        table.error = csv.error();
        return table;
    }
    static const char* const kColumns[] = {"id",  "check", "designs", "formula", "sweep",
                                           "low", "high",  "status",  "basis"};
    std::size_t at[std::size(kColumns)];
    for (std::size_t i = 0; i < std::size(kColumns); ++i) {
        const auto column = csv.column(kColumns[i]);
        if (!column) {
            table.error = std::string("no column '") + kColumns[i] + "'";
            return table;
        }
        at[i] = *column;
    }
    for (const auto& row : csv.rows()) {
        CalibrationTarget t{row[at[0]], row[at[1]], row[at[2]], row[at[3]], row[at[4]],
                            {},         {},         row[at[7]], row[at[8]]};
        for (int bound = 0; bound < 2; ++bound) {
            const std::string& text = row[at[5 + bound]];
            if (trimmed(text).empty()) continue;
            const auto value = number(text);
            if (!value) {
                table.error = t.id + ": the bound '" + text + "' is not a number";
                return table;
            }
            (bound == 0 ? t.low : t.high) = value;
        }
        for (const CalibrationTarget& earlier : table.targets) {
            if (earlier.id == t.id) {
                table.error = t.id + " is given twice";
                return table;
            }
        }
        if (t.status != "met" && t.status.rfind("not adopted: ", 0) != 0) {
            table.error = t.id + ": the status must be 'met' or 'not adopted: reason'";
            return table;
        }
        table.targets.push_back(std::move(t));
    }
    return table;
}

std::string rangeText(const CalibrationTarget& target) {
    if (target.low && target.high) return shortest(*target.low) + " to " + shortest(*target.high);
    if (target.low) return "at least " + shortest(*target.low);
    if (target.high) return "at most " + shortest(*target.high);
    return "any";
}

struct TargetEvaluator::Evaluated {
    DesignSet set;  // the working reference holds the raw prediction, the current design the puff data
    std::string error;
    bool puffsDone = false;
};

TargetEvaluator::TargetEvaluator(const ModelParameters& mp) : mp_(mp) {}
TargetEvaluator::~TargetEvaluator() = default;

// The design of a list of changes, recalculated as the program does with the design as its own
// reference; with `withPuffs` also analysed puff by puff.
const TargetEvaluator::Evaluated& TargetEvaluator::design(const std::string& changes, bool withPuffs) {
    auto& slot = cache_[changes];
    if (!slot) {
        slot = std::make_unique<Evaluated>();
        DesignValues d;
        std::optional<double> fivent, diffusionOffset;
        for (std::string_view change : split(changes, ';')) {
            if (change.empty() || change == "default") continue;
            const std::size_t eq = change.find('=');
            if (eq == std::string_view::npos) {
                slot->error = "'" + std::string(change) + "' is not name=value";
                return *slot;
            }
            const std::string_view name = trimmed(change.substr(0, eq)),
                                   value = trimmed(change.substr(eq + 1));
            if (name == "@fivent" || name == "@diffusion") {
                const auto v = number(value);
                if (!v) {
                    slot->error = "'" + std::string(value) + "' is not a number";
                    return *slot;
                }
                (name == "@fivent" ? fivent : diffusionOffset) = v;
            } else if (auto problem = assignField(d, name, value)) {
                slot->error = *problem;
                return *slot;
            }
        }
        if (diffusionOffset) {
            d.cp_diff = predictDiffusion(d, mp_) + *diffusionOffset;
            d.known |= known::bit(KnownBit::PaperDiffusion);
        }
        slot->set.referenceDesign.assign(d);
        slot->set.currentDesign.assign(d);
        RecordingErrorReporter errors;
        recalculate(slot->set, mp_, errors);
        for (int n : errors.numbers) slot->error += (slot->error.empty() ? "" : "; ") + *errorMessage(n);
        if (fivent) {
            slot->set.workingReference.stat_fivent = *fivent;
            computeIsoYields(slot->set.workingReference, mp_);
        }
    }
    if (withPuffs && !slot->puffsDone && slot->error.empty()) {
        NullProgressSink progress;
        runPuffByPuff(slot->set.currentDesign, mp_, progress);
        slot->puffsDone = true;
    }
    return *slot;
}

std::optional<double> TargetEvaluator::evaluateOnce(const CalibrationTarget& target,
                                                    const std::string& designs, std::string& error) {
    std::map<std::string, std::string> changesOf;
    for (std::string_view part : split(designs, '|')) {
        if (part.empty()) continue;  // a target on functions alone needs no design
        const std::size_t colon = part.find(':');
        if (colon == std::string_view::npos) {
            error = "design '" + std::string(part) + "' has no label";
            return std::nullopt;
        }
        changesOf[std::string(trimmed(part.substr(0, colon)))] = std::string(trimmed(part.substr(colon + 1)));
    }
    const TargetExpression formula = TargetExpression::parse(target.formula);
    if (!formula.error().empty()) {
        error = "formula " + formula.error();
        return std::nullopt;
    }
    std::map<std::string, const Evaluated*> evaluated;
    for (const OutputReference& output : formula.outputs()) {
        const auto changes = changesOf.find(output.design);
        if (changes == changesOf.end()) {
            error = output.text() + ": no design " + output.design;
            return std::nullopt;
        }
        const Evaluated& e = design(changes->second, !output.index.empty());
        if (!e.error.empty()) {
            error = "design " + output.design + ": " + e.error;
            return std::nullopt;
        }
        evaluated[output.design] = &e;
    }
    const auto resolve = [&](const OutputReference& output) -> double {
        const DesignSet& set = evaluated.at(output.design)->set;
        if (!output.index.empty()) {
            const std::vector<double>* values = puffArray(set.currentDesign, output.name);
            const auto i = puffIndex(set.currentDesign, output.index);
            if (values && i) return (*values)[static_cast<std::size_t>(*i)];
            if (error.empty()) error = output.text() + ": no such puff value";
        } else if (output.name == "predicted_diffusion") {
            return predictDiffusion(set.workingReference, mp_);
        } else if (auto value = recordValue(set.workingReference, output.name)) {
            return *value;
        } else if (error.empty()) {
            error = output.text() + ": no such output";
        }
        return std::nan("");
    };
    const auto functions = [&](const std::string& name, const std::vector<double>& a) -> double {
        if ((name == "tar_retention" || name == "nicotine_retention") && a.size() == 5)
            return filterEfficiency(name == "tar_retention" ? FilterYield::Tar : FilterYield::Nicotine, a[0],
                                    a[1], a[2], a[3], a[4], mp_);
        if (error.empty())
            error = "unknown function " + name + " with " + std::to_string(a.size()) + " arguments";
        return std::nan("");
    };
    const double value = formula.evaluate(resolve, functions);
    if (!error.empty()) return std::nullopt;
    return value;
}

TargetResult TargetEvaluator::evaluate(const CalibrationTarget& target) {
    TargetResult result;
    std::vector<std::string> designTexts;
    if (trimmed(target.sweep).empty()) {
        designTexts.push_back(target.designs);
    } else {
        const std::string sweep(trimmed(target.sweep));
        const std::size_t eq = sweep.find('=');
        const std::string range = eq == std::string::npos ? "" : sweep.substr(eq + 1);
        const auto bounds = split(range, ':');
        const auto from = bounds.size() == 3 ? number(bounds[0]) : std::nullopt;
        const auto step = bounds.size() == 3 ? number(bounds[1]) : std::nullopt;
        const auto to = bounds.size() == 3 ? number(bounds[2]) : std::nullopt;
        if (!from || !step || !to || !(*step > 0) || *to < *from || (*to - *from) / *step > 1000) {
            result.error = "sweep '" + sweep + "' is not NAME=from:step:to";
            return result;
        }
        const std::string placeholder = "$" + sweep.substr(0, eq);
        for (int i = 0; *from + i * *step <= *to + 1e-9; ++i) {
            std::string text = target.designs;
            for (std::size_t at; (at = text.find(placeholder)) != std::string::npos;)
                text.replace(at, placeholder.size(), shortest(*from + i * *step));
            designTexts.push_back(std::move(text));
        }
    }
    result.inRange = true;
    for (const std::string& text : designTexts) {
        const auto value = evaluateOnce(target, text, result.error);
        if (!value) {
            result.inRange = false;
            return result;
        }
        result.values.push_back(*value);
        const bool inside = !std::isnan(*value) && (!target.low || *value >= *target.low) &&
                            (!target.high || *value <= *target.high);
        result.inRange = result.inRange && inside;
    }
    return result;
}

}  // namespace veltrano::calibration
