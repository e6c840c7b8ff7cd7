// veltrano-cli sweep: one or two inputs of the current design stepped over a range, a row per point.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "CliCommands.h"
#include "CliExploreOptions.h"
#include "CliSupport.h"
#include "JsonWriter.h"
#include "StandardOutput.h"
#include "WordList.h"
#include "core/explore/DiffusionCoupling.h"
#include "core/explore/Sweep.h"
#include "core/explore/SweepTable.h"

namespace veltrano::cli {

namespace {

int usageError(const std::string& message) {
    std::fprintf(stderr, "veltrano-cli sweep: %s\n", message.c_str());
    return kUsageError;
}

// The axis named by --field/--from/--to/--steps, or by the same options ending in `suffix` ("2").
std::optional<SweepAxis> axisFrom(const Arguments& args, const std::string& suffix,
                                  const DesignValues& current, std::string& problem) {
    const std::string name = args.value("--field" + suffix);
    SweepAxis axis;
    axis.field = findExploreField(name);
    if (!axis.field || !isOffered(*axis.field, current)) {
        problem = "--field" + suffix + " '" + name +
                  "' is not a field of this design's sheet; offered: " + offeredNames(current);
        return std::nullopt;
    }
    const std::optional<double> from = commandLineNumber(args.value("--from" + suffix));
    const std::optional<double> to = commandLineNumber(args.value("--to" + suffix));
    const std::optional<int> steps = commandLineInteger(args.value("--steps" + suffix));
    if (!from || !to || !steps) {
        problem = "--from" + suffix + " and --to" + suffix + " must be numbers and --steps" + suffix +
                  " a whole number";
        return std::nullopt;
    }
    axis.from = *from;
    axis.to = *to;
    axis.steps = *steps;
    return axis;
}

std::string jsonRow(const SweepColumns& columns, const std::vector<std::string_view>& held,
                    const SweepPoint& point) {
    const VariantResult& r = point.result;
    JsonWriter json;
    json.beginObject();
    json.key("point");
    json.value(static_cast<long long>(point.index));
    for (std::size_t i = 0; i < columns.inputs.size(); ++i) {
        json.key(columns.inputs[i]->name());
        json.value(point.inputs[i]);
    }
    json.key("status");
    json.value(statusWord(r.status));
    if (r.status == VariantStatus::Computed) {
        for (const ExploreOutput* o : columns.outputs) {
            json.key(o->name);
            json.value(o->read(r.values));
        }
        if (columns.puffs) {
            json.key("puff_number");
            json.value(static_cast<long long>(r.puffNumber));
            json.key("puff_size");
            json.beginArray();
            for (std::int32_t s : r.puffSize) json.value(static_cast<long long>(s));
            json.endArray();
            for (std::size_t k = 0; k < r.puffSeries.size(); ++k) {
                json.key(puffArrays()[k].name);
                json.beginArray();
                for (double v : r.puffSeries[k]) json.value(v);
                json.endArray();
            }
        }
    }
    if (!held.empty()) {
        json.key("held");
        json.beginArray();
        for (std::string_view name : held) json.value(name);
        json.endArray();
    }
    json.errors(r.errors);
    json.key("messages");
    json.beginArray();
    for (int n : r.errors) json.value(errorMessage(n).value_or(""));
    json.endArray();
    json.endObject();
    return json.text() + '\n';
}

}  // namespace

int runSweep(const Arguments& args, StandardOutput& out, int, char**) {
    for (const char* option : {"--from2", "--to2", "--steps2"})
        if (args.has(option) && !args.has("--field2"))
            return usageError(std::string(option) + " belongs to a second field: --field2 is missing");
    const std::string format = args.value("--format", "csv");
    if (format != "csv" && format != "jsonl") return usageError("--format must be csv or jsonl");
    int shard = 0, shardCount = 1;
    if (args.has("--shard") && !shardFrom(args.value("--shard"), shard, shardCount))
        return usageError("--shard must be I/N with 0 <= I < N");
    std::string problem;
    const std::optional<std::vector<const ExploreOutput*>> outputs = outputsFrom(args, problem);
    if (!outputs) return usageError(problem);

    DesignSet designs;
    ModelParameters mp;
    StderrErrorReporter errors;
    const std::optional<std::string> modelsPath = openForExploring(args, designs, mp, errors);
    if (!modelsPath) return kFileError;
    const DesignValues& current = designs.currentDesign;

    SweepGrid grid;
    const std::optional<SweepAxis> first = axisFrom(args, "", current, problem);
    if (!first) return usageError(problem);
    grid.first = *first;
    if (args.has("--field2")) {
        grid.second = axisFrom(args, "2", current, problem);
        if (!grid.second) return usageError(problem);
    }
    grid.coupleDiffusion = args.has("--couple-diffusion");
    if (const std::optional<std::string> gridProblem = checkSweepGrid(grid, current, mp))
        return usageError(*gridProblem);
    if (grid.coupleDiffusion && !holdsKnownDiffusion(current))
        std::fprintf(stderr, "veltrano-cli sweep: %s, so --couple-diffusion changes nothing\n",
                     std::string(kDiffusionPredictedAnyway).c_str());
    const std::vector<std::string_view> held = heldKnownValues(grid.fields(), current, grid.coupleDiffusion);
    if (!held.empty())
        std::fprintf(stderr, "veltrano-cli sweep: %s (--couple-diffusion lets the diffusion follow)\n",
                     heldText(held).c_str());

    const bool puffs = args.has("--puffs");
    const SweepColumns columns = sweepColumns(grid, *outputs, puffs);
    const bool csv = format == "csv";
    if (csv && shard == 0) out.write(sweepCsvHeader(columns));
    const std::vector<int> points = shardPoints(grid.pointCount(), shard, shardCount);
    const ExploreBasis basis{designs.referenceDesign, designs.workingReference, mp};
    int computed = 0;
    std::vector<bool> notNumbers(columns.outputs.size());
    SweepCallbacks callbacks;
    callbacks.pointDone = [&](SweepPoint&& point) {
        out.write(csv ? sweepCsvRow(columns, point) : jsonRow(columns, held, point));
        if (point.result.status != VariantStatus::Computed) return;
        ++computed;
        for (std::size_t i = 0; i < columns.outputs.size(); ++i)
            if (!std::isfinite(columns.outputs[i]->read(point.result.values))) notNumbers[i] = true;
    };
    // Output that cannot be written ends the sweep: no one would read the points still to come.
    callbacks.cancelRequested = [&] { return out.failed(); };
    runSweep(grid, points, current, basis, puffs, callbacks);
    if (out.failed()) return kFileError;
    if (const std::string names = nonFiniteOutputs(columns.outputs, notNumbers); !names.empty())
        warnOfResultsThatAreNotNumbers(args.command(), names, *modelsPath);
    if (!points.empty() && computed == 0) {
        std::fprintf(stderr, "veltrano-cli sweep: the sheet's checks refused every point; no outputs\n");
        return kFileError;
    }
    return 0;
}

}  // namespace veltrano::cli
