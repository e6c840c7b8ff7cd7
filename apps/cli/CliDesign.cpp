// veltrano-cli design: the inputs of the current design that bring it closest to targets.
#include <cstdio>
#include <iostream>

#include "CliCommands.h"
#include "CliSupport.h"
#include "JsonWriter.h"
#include "WordList.h"
#include "core/design/CigaretteFile.h"
#include "core/explore/TargetDesign.h"
#include "core/model/Recalculation.h"

namespace veltrano::cli {

namespace {

int usageError(const std::string& message) {
    std::fprintf(stderr, "veltrano-cli design: %s\n", message.c_str());
    return kUsageError;
}

// Splits "a:b:c" at every `separator`.
std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts{""};
    for (char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

// NAME or NAME:LO:HI; without bounds the values the sheet's rules accept.
std::optional<DesignVariable> variableFrom(const std::string& text, const DesignValues& current) {
    const std::vector<std::string> parts = split(text, ':');
    if (parts.size() != 1 && parts.size() != 3) return std::nullopt;
    DesignVariable v;
    v.field = findExploreField(parts[0]);
    if (!v.field) return std::nullopt;
    v.bounds = validRange(*v.field, current);
    if (parts.size() == 3) {
        const std::optional<double> lo = commandLineNumber(parts[1]), hi = commandLineNumber(parts[2]);
        if (!lo || !hi) return std::nullopt;
        v.bounds = {*lo, *hi};
    }
    return v;
}

// NAME=VALUE or NAME=VALUE:WEIGHT.
std::optional<DesignTarget> targetFrom(const std::string& text, double tolerance) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) return std::nullopt;
    const std::vector<std::string> parts = split(text.substr(equals + 1), ':');
    if (parts.size() > 2) return std::nullopt;
    DesignTarget t;
    t.output = findExploreOutput(text.substr(0, equals));
    const std::optional<double> value = commandLineNumber(parts[0]);
    const std::optional<double> weight = parts.size() == 2 ? commandLineNumber(parts[1]) : std::optional(1.0);
    if (!t.output || !value || !weight) return std::nullopt;
    t.value = *value;
    t.weight = *weight;
    t.tolerance = tolerance;
    return t;
}

std::string targetNames() {
    std::string names;
    for (const ExploreOutput& o : exploreOutputs())
        if (o.targetable) appendWord(names, o.name);
    return names;
}

}  // namespace

int runDesign(const Arguments& args, int, char**) {
    const std::optional<double> percent = commandLineNumber(args.value("--tolerance", "1"));
    if (!percent) return usageError("--tolerance must be a number (percent)");

    DesignSet designs;
    ModelParameters mp;
    StderrErrorReporter errors;
    if (!openForExploring(args, designs, mp, errors)) return kFileError;
    const DesignValues& current = designs.currentDesign;

    std::vector<DesignVariable> variables;
    for (const std::string& text : args.values("--vary")) {
        const std::optional<DesignVariable> v = variableFrom(text, current);
        if (!v)
            return usageError("--vary " + text + ": expected NAME or NAME:LO:HI with a field of the sheet");
        variables.push_back(*v);
    }
    std::vector<DesignTarget> targets;
    for (const std::string& text : args.values("--target")) {
        const std::optional<DesignTarget> t = targetFrom(text, *percent / 100);
        if (!t)
            return usageError("--target " + text + ": expected NAME=VALUE[:WEIGHT] with NAME one of " +
                              targetNames());
        targets.push_back(*t);
    }
    if (const std::optional<std::string> problem = checkTargetDesign(variables, targets, current))
        return usageError(*problem);

    const ExploreBasis basis{designs.referenceDesign, designs.workingReference, mp};
    const TargetDesignResult result = designToTargets(variables, targets, current, basis);

    JsonWriter json;
    json.beginObject();
    json.key("found");
    json.value(result.found);
    json.key("variables");
    json.beginObject();
    for (std::size_t i = 0; i < result.variables.size(); ++i) {
        json.key(variables[i].field->name());
        json.value(result.variables[i]);
    }
    json.endObject();
    json.key("targets");
    json.beginArray();
    for (std::size_t i = 0; i < result.targets.size(); ++i) {
        const TargetReached& r = result.targets[i];
        json.beginObject();
        json.key("name");
        json.value(targets[i].output->name);
        json.key("target");
        json.value(targets[i].value);
        json.key("weight");
        json.value(targets[i].weight);
        json.key("reached");
        json.value(r.reached);
        json.key("deviation");
        json.value(r.deviation);
        json.key("met");
        json.value(r.met);
        json.endObject();
    }
    json.endArray();
    json.key("met");
    json.value(result.allMet);
    json.key("evaluations");
    json.value(static_cast<long long>(result.evaluations));
    json.errors(result.errors);
    json.endObject();
    std::cout << json.text() << '\n';

    if (!args.has("--out")) return 0;
    if (!result.found)
        return usageError("no values within the bounds pass the sheet's checks; nothing written");
    // Accept: the variables go into the current design, which the file then holds recalculated.
    designs.currentDesign.assign(designWithVariables(current, variables, result.variables));
    recalculate(designs, mp, errors);
    return saveCigaretteFile(args.value("--out"), designs, errors) == 0 ? 0 : kFileError;
}

}  // namespace veltrano::cli
