// veltrano-cli sweep: one or two inputs of the current design stepped over a range, a row per point.
#include <cstdio>
#include <iostream>
#include <sstream>

#include "CliCommands.h"
#include "CliSupport.h"
#include "JsonWriter.h"
#include "WordList.h"
#include "core/explore/Sweep.h"
#include "core/explore/SweepTable.h"

namespace veltrano::cli {

namespace {

int usageError(const std::string& message) {
    std::fprintf(stderr, "veltrano-cli sweep: %s\n", message.c_str());
    return kUsageError;
}

std::string offeredNames(const DesignValues& current) {
    std::string names;
    for (const ExploreField& f : exploreFields())
        if (isOffered(f, current)) appendWord(names, f.name());
    return names;
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

std::optional<std::vector<const ExploreOutput*>> outputsFrom(const Arguments& args, std::string& problem) {
    std::vector<const ExploreOutput*> outputs;
    if (!args.has("--outputs")) {
        for (const ExploreOutput& o : exploreOutputs()) outputs.push_back(&o);
        return outputs;
    }
    std::stringstream list(args.value("--outputs"));
    for (std::string name; std::getline(list, name, ',');) {
        const ExploreOutput* o = findExploreOutput(name);
        if (!o) {
            problem = "unknown output '" + name + "'";
            return std::nullopt;
        }
        outputs.push_back(o);
    }
    if (outputs.empty()) problem = "--outputs names no output";
    return outputs.empty() ? std::nullopt : std::optional(outputs);
}

// --shard I/N, I counted from 0.
bool shardFrom(const std::string& text, int& shard, int& count) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) return false;
    const std::optional<int> i = commandLineInteger(text.substr(0, slash));
    const std::optional<int> n = commandLineInteger(text.substr(slash + 1));
    if (!i || !n || *n < 1 || *i < 0 || *i >= *n) return false;
    shard = *i;
    count = *n;
    return true;
}

std::string jsonRow(const SweepColumns& columns, const SweepPoint& point) {
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
    json.errors(r.errors);
    json.key("messages");
    json.beginArray();
    for (int n : r.errors) json.value(errorMessage(n).value_or(""));
    json.endArray();
    json.endObject();
    return json.text() + '\n';
}

}  // namespace

int runSweep(const Arguments& args, int, char**) {
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
    if (!openForExploring(args, designs, mp, errors)) return kFileError;
    const DesignValues& current = designs.currentDesign;

    SweepGrid grid;
    const std::optional<SweepAxis> first = axisFrom(args, "", current, problem);
    if (!first) return usageError(problem);
    grid.first = *first;
    if (args.has("--field2")) {
        grid.second = axisFrom(args, "2", current, problem);
        if (!grid.second) return usageError(problem);
    }
    if (const std::optional<std::string> gridProblem = checkSweepGrid(grid, current))
        return usageError(*gridProblem);

    const bool puffs = args.has("--puffs");
    const SweepColumns columns = sweepColumns(grid, *outputs, puffs);
    const bool csv = format == "csv";
    if (csv && shard == 0) std::cout << sweepCsvHeader(columns);
    const std::vector<int> points = shardPoints(grid.pointCount(), shard, shardCount);
    const ExploreBasis basis{designs.referenceDesign, designs.workingReference, mp};
    SweepCallbacks callbacks;
    callbacks.pointDone = [&](SweepPoint&& point) {
        std::cout << (csv ? sweepCsvRow(columns, point) : jsonRow(columns, point)) << std::flush;
    };
    runSweep(grid, points, current, basis, puffs, callbacks);
    return 0;
}

}  // namespace veltrano::cli
