// veltrano-cli tolerance: Monte Carlo samples of the current design over the spreads of its inputs, and
// the merge of the samples of shards into the summary of one run.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "CliCommands.h"
#include "CliExploreOptions.h"
#include "CliSupport.h"
#include "JsonWriter.h"
#include "StandardOutput.h"
#include "core/design/ByteStream.h"
#include "core/design/DesignFields.h"
#include "core/explore/DiffusionCoupling.h"
#include "core/explore/Sweep.h"
#include "core/explore/ToleranceSamplesFile.h"
#include "core/explore/ToleranceSummary.h"
#include "core/report/ReportFile.h"

namespace veltrano::cli {

namespace {

// A samples file of ten million samples of a few inputs and every output stays well below this.
constexpr std::uint64_t kSamplesFileCap = std::uint64_t{16} << 30;

int usageError(const std::string& message) {
    std::fprintf(stderr, "veltrano-cli tolerance: %s\n", message.c_str());
    return kUsageError;
}

int fileError(const std::string& message) {
    std::fprintf(stderr, "veltrano-cli tolerance: %s\n", message.c_str());
    return kFileError;
}

// What the designs sampled are, to the bit: a 64-bit FNV-1a hash of the reference's and the current
// design's file images, so that shards of different designs are not merged.
std::string designsFingerprint(const DesignSet& designs) {
    std::uint64_t hash = 0xCBF29CE484222325u;
    for (const CigaretteDesign* d : {&designs.referenceDesign, &designs.currentDesign})
        for (std::uint8_t byte : encodeDesignImage(*d)) hash = (hash ^ byte) * 0x100000001B3u;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::string summaryJson(const ToleranceSetup& setup, const std::vector<std::string>& held,
                        const ToleranceSummary& summary) {
    JsonWriter json;
    json.beginObject();
    json.key("samples");
    json.value(static_cast<long long>(summary.samples));
    json.key("refused");
    json.value(static_cast<long long>(summary.refused));
    json.key("refusals");
    json.beginArray();
    for (const Refusal& r : summary.refusals) {
        json.beginObject();
        json.key("samples");
        json.value(static_cast<long long>(r.samples));
        json.errors(r.errors);
        json.key("messages");
        json.beginArray();
        for (int n : r.errors) json.value(errorMessage(n).value_or(""));
        json.endArray();
        json.endObject();
    }
    json.endArray();
    json.key("outputs");
    json.beginObject();
    for (std::size_t o = 0; o < setup.outputs.size(); ++o) {
        const OutputStatistics& s = summary.outputs[o];
        json.key(setup.outputs[o]->name);
        json.beginObject();
        for (const auto& [name, value] : {std::pair{"mean", s.mean},
                                          {"sd", s.sd},
                                          {"p5", s.p5},
                                          {"p50", s.p50},
                                          {"p95", s.p95},
                                          {"min", s.min},
                                          {"max", s.max}}) {
            json.key(name);
            json.numberOrNull(value);
        }
        json.endObject();
    }
    json.endObject();
    json.key("limits");
    json.beginArray();
    for (const LimitShare& l : summary.limits) {
        json.beginObject();
        json.key("limit");
        json.value(limitText(l.limit));
        json.key("outside");
        json.numberOrNull(l.share);
        json.key("low");
        json.numberOrNull(l.low);
        json.key("high");
        json.numberOrNull(l.high);
        json.key("count");
        json.value(static_cast<long long>(l.outside));
        json.key("of");
        json.value(static_cast<long long>(l.counted));
        json.endObject();
    }
    json.endArray();
    json.key("shares");
    json.beginObject();
    for (std::size_t o = 0; o < setup.outputs.size(); ++o) {
        json.key(setup.outputs[o]->name);
        json.beginObject();
        for (std::size_t k = 0; k < setup.inputs.size(); ++k) {
            json.key(setup.inputs[k].field->name());
            json.numberOrNull(summary.shares[o][k]);
        }
        json.endObject();
    }
    json.endObject();
    if (!held.empty()) {
        json.key("held");
        json.beginArray();
        for (const std::string& name : held) json.value(name);
        json.endArray();
    }
    json.endObject();
    return json.text() + '\n';
}

std::optional<std::uint64_t> seedFrom(const std::string& text) {
    std::uint64_t seed = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    return seed;
}

// The setup the command line asks for; nothing, with `problem` saying why, when it cannot run.
std::optional<ToleranceSetup> setupFrom(const Arguments& args, const DesignValues& current,
                                        const ModelParameters& mp, std::string& problem) {
    ToleranceSetup setup;
    for (const std::string& vary : args.values("--vary")) {
        const std::size_t eq = vary.find('=');
        const std::string name = vary.substr(0, eq);
        const ExploreField* field = findExploreField(name);
        if (!field) {
            problem = "--vary '" + vary + "' names no field; offered: " + offeredNames(current);
            return std::nullopt;
        }
        const std::optional<Spread> spread =
            eq == std::string::npos ? std::nullopt : parseSpread(std::string_view(vary).substr(eq + 1));
        if (!spread) {
            problem = "--vary '" + vary + "' must give a spread: 5% or 0.4 (normal), u10% or u0.4 (uniform)";
            return std::nullopt;
        }
        setup.inputs.push_back({field, *spread});
    }
    const std::optional<int> samples = commandLineInteger(args.value("--samples"));
    if (!samples || *samples < 1 || *samples > kMaxToleranceSamples) {
        problem = "--samples must be a whole number from 1 to " + std::to_string(kMaxToleranceSamples);
        return std::nullopt;
    }
    setup.samples = *samples;
    if (args.has("--seed")) {
        const std::optional<std::uint64_t> seed = seedFrom(args.value("--seed"));
        if (!seed) {
            problem = "--seed must be a whole number from 0 to 18446744073709551615";
            return std::nullopt;
        }
        setup.seed = *seed;
    }
    setup.coupleDiffusion = args.has("--couple-diffusion");
    std::optional<std::vector<const ExploreOutput*>> outputs = outputsFrom(args, problem);
    if (!outputs) return std::nullopt;
    setup.outputs = *outputs;
    for (const std::string& text : args.values("--limit")) {
        const std::optional<OutputLimit> limit = parseOutputLimit(text, problem);
        if (!limit) return std::nullopt;
        // A limit brings its output along.
        if (std::find(setup.outputs.begin(), setup.outputs.end(), limit->output) == setup.outputs.end())
            setup.outputs.push_back(limit->output);
        setup.limits.push_back(*limit);
    }
    if (const std::optional<std::string> bad = checkToleranceSetup(setup, current, mp)) {
        problem = *bad;
        return std::nullopt;
    }
    return setup;
}

int runSamples(const Arguments& args, StandardOutput& out) {
    if (args.has("--merge")) return usageError("--merge takes the samples files alone");
    int shard = 0, shardCount = 1;
    if (args.has("--shard") && !shardFrom(args.value("--shard"), shard, shardCount))
        return usageError("--shard must be I/N with 0 <= I < N");
    if (!args.has("--samples")) return usageError("--samples N is needed");

    DesignSet designs;
    ModelParameters mp;
    StderrErrorReporter errors;
    const std::optional<std::string> modelsPath = openForExploring(args, designs, mp, errors);
    if (!modelsPath) return kFileError;
    const DesignValues& current = designs.currentDesign;
    std::string problem;
    const std::optional<ToleranceSetup> setup = setupFrom(args, current, mp, problem);
    if (!setup) return usageError(problem);
    if (setup->coupleDiffusion && !holdsKnownDiffusion(current))
        std::fprintf(stderr, "veltrano-cli tolerance: %s, so --couple-diffusion changes nothing\n",
                     std::string(kDiffusionPredictedAnyway).c_str());
    const std::vector<std::string> held = heldValues(*setup, current);
    if (!held.empty()) {
        std::vector<std::string_view> names(held.begin(), held.end());
        std::fprintf(stderr, "veltrano-cli tolerance: %s (--couple-diffusion lets the diffusion follow)\n",
                     heldText(names).c_str());
    }

    std::vector<ToleranceSample> samples;
    std::string file;
    const bool writeSamples = args.has("--samples-out");
    if (writeSamples)
        file = samplesFileHeader({*setup, shard, shardCount, designsFingerprint(designs), held, {}});
    std::vector<bool> notNumbers(setup->outputs.size());
    ToleranceCallbacks callbacks;
    callbacks.sampleDone = [&](ToleranceSample&& sample) {
        if (writeSamples) file += samplesFileRow(sample, setup->outputs.size());
        for (std::size_t i = 0; i < sample.outputs.size(); ++i)
            if (!std::isfinite(sample.outputs[i])) notNumbers[i] = true;
        samples.push_back(std::move(sample));
    };
    const std::vector<int> indices = shardPoints(setup->samples, shard, shardCount);
    const ExploreBasis basis{designs.referenceDesign, designs.workingReference, mp};
    veltrano::runTolerance(*setup, indices, current, basis, callbacks);
    if (writeSamples)
        if (const std::optional<std::string> failure = writeReportFile(args.value("--samples-out"), file)) {
            std::fprintf(stderr, "veltrano-cli tolerance: %s\n", failure->c_str());
            return kFileError;
        }
    out.write(summaryJson(*setup, held, summariseTolerance(*setup, samples)));
    if (const std::string names = nonFiniteOutputs(setup->outputs, notNumbers); !names.empty())
        warnOfResultsThatAreNotNumbers(args.command(), names, *modelsPath);
    return 0;
}

int mergeSamples(const Arguments& args, StandardOutput& out) {
    for (const char* option :
         {"--vary", "--samples", "--seed", "--limit", "--outputs", "--samples-out", "--shard"})
        if (args.has(option)) return usageError(std::string("--merge takes no ") + option);
    std::vector<ToleranceSamplesFile> files;
    for (int i = 0; i < args.positionalCount(); ++i) {
        const std::string& path = args.positional(i);
        const FileContent content = readFileContent(path, kSamplesFileCap);
        if (content.status != FileContent::Status::Read) return fileError(path + " could not be read");
        std::string problem;
        std::optional<ToleranceSamplesFile> file = readSamplesFile(
            std::string_view(reinterpret_cast<const char*>(content.bytes.data()), content.bytes.size()),
            problem);
        if (!file) return usageError(path + ": " + problem);
        if (!files.empty() && !sameRun(files.front(), *file))
            return usageError(
                path + " is a shard of another run than " + args.positional(0) +
                " (its seed, samples, spreads, limits, outputs, shard count or designs differ)");
        for (int j = 0; j < i; ++j)
            if (files[static_cast<std::size_t>(j)].shard == file->shard)
                return usageError(path + " and " + args.positional(j) + " are both shard " +
                                  std::to_string(file->shard));
        // A shard holds exactly its own samples, each once.
        std::sort(file->samples.begin(), file->samples.end(),
                  [](const ToleranceSample& a, const ToleranceSample& b) { return a.index < b.index; });
        const std::vector<int> expected = shardPoints(file->setup.samples, file->shard, file->shardCount);
        bool complete = file->samples.size() == expected.size();
        for (std::size_t k = 0; complete && k < expected.size(); ++k)
            complete = file->samples[k].index == expected[k];
        if (!complete)
            return usageError(path + " does not hold the " + std::to_string(expected.size()) +
                              " samples of shard " + std::to_string(file->shard) + "/" +
                              std::to_string(file->shardCount) + " once each (" +
                              std::to_string(file->samples.size()) + " rows)");
        files.push_back(std::move(*file));
    }
    const int shardCount = files.front().shardCount;
    if (static_cast<int>(files.size()) != shardCount) {
        std::string missing;
        for (int s = 0; s < shardCount; ++s)
            if (std::none_of(files.begin(), files.end(),
                             [&](const ToleranceSamplesFile& f) { return f.shard == s; }))
                missing += (missing.empty() ? "" : " ") + std::to_string(s);
        return usageError("the run has " + std::to_string(shardCount) + " shards; missing: " + missing);
    }
    std::vector<ToleranceSample> samples;
    for (ToleranceSamplesFile& f : files)
        std::move(f.samples.begin(), f.samples.end(), std::back_inserter(samples));
    std::sort(samples.begin(), samples.end(),
              [](const ToleranceSample& a, const ToleranceSample& b) { return a.index < b.index; });
    const ToleranceSetup& setup = files.front().setup;
    out.write(summaryJson(setup, files.front().held, summariseTolerance(setup, samples)));
    return 0;
}

}  // namespace

int runTolerance(const Arguments& args, StandardOutput& out, int, char**) {
    if (args.has("--merge")) {
        if (args.positionalCount() < 1) return usageError("--merge needs the samples files of every shard");
        return mergeSamples(args, out);
    }
    if (args.positionalCount() != 1)
        return usageError("expected 1 file name, got " + std::to_string(args.positionalCount()));
    return runSamples(args, out);
}

}  // namespace veltrano::cli
