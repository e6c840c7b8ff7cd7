// veltrano-cli design: the inputs of the current design that bring it closest to targets.
#include <cmath>
#include <cstdio>

#include "CliCommands.h"
#include "CliSupport.h"
#include "JsonWriter.h"
#include "StandardOutput.h"
#include "WordList.h"
#include "core/design/CigaretteFile.h"
#include "core/design/NumberText.h"
#include "core/explore/DiffusionCoupling.h"
#include "core/explore/TargetDesign.h"
#include "core/model/Recalculation.h"

namespace veltrano::cli {

namespace {

// An answer that misses a target: printed and written all the same, but not a success.
constexpr int kCompromise = 3;

void tell(const std::string& message) {
    std::fprintf(stderr, "veltrano-cli design: %s\n", message.c_str());
}

int usageError(const std::string& message) {
    tell(message);
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

std::string_view sideWord(BoundSide side) {
    return side == BoundSide::Low ? "low" : "high";
}

void writeAnswer(JsonWriter& json, const DesignQuestion& question, const TargetDesignResult& result) {
    const std::vector<DesignVariable>& variables = question.variables;
    json.key("found");
    json.value(result.found);
    json.key("variables");
    json.beginObject();
    for (std::size_t i = 0; i < result.variables.size(); ++i) {
        json.key(variables[i].field->name());
        json.value(result.variables[i]);
    }
    json.endObject();
    bool clipped = false;
    for (bool c : result.clipped) clipped = clipped || c;
    if (clipped) {
        json.key("clipped");
        json.beginObject();
        for (std::size_t i = 0; i < result.clipped.size(); ++i) {
            if (!result.clipped[i]) continue;
            json.key(variables[i].field->name());
            json.beginArray();
            json.value(result.bounds[i].lo);
            json.value(result.bounds[i].hi);
            json.endArray();
        }
        json.endObject();
    }
    json.key("atBound");
    json.beginObject();
    for (std::size_t i = 0; i < result.atBound.size(); ++i) {
        json.key(variables[i].field->name());
        if (result.atBound[i] == BoundSide::None)
            json.null();
        else
            json.value(sideWord(result.atBound[i]));
    }
    json.endObject();
    json.key("targets");
    json.beginArray();
    for (std::size_t i = 0; i < result.targets.size(); ++i) {
        const DesignTarget& t = question.targets[i];
        const TargetReached& r = result.targets[i];
        json.beginObject();
        json.key("name");
        json.value(t.output->name);
        json.key("relation");
        json.value(relationText(t.kind));
        json.key("target");
        json.value(t.value);
        json.key("weight");
        json.value(t.weight);
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
    json.key("heldBackBy");
    json.beginArray();
    for (std::size_t i : result.heldBack()) json.value(variables[i].field->name());
    json.endArray();
    json.key("held");
    json.beginArray();
    for (std::string_view name : result.held) json.value(name);
    json.endArray();
    json.key("evaluations");
    json.value(static_cast<long long>(result.evaluations));
    json.errors(result.errors);
}

// The lines on stderr that say what the JSON says about bounds and held values, for a reader of the
// terminal.
void tellAbout(const DesignQuestion& question, const TargetDesignResult& result) {
    for (std::size_t i = 0; i < result.clipped.size(); ++i)
        if (result.clipped[i])
            tell("the bounds of " + std::string(question.variables[i].field->name()) +
                 " are narrowed to what the sheet accepts: " + shortestText(result.bounds[i].lo) + " to " +
                 shortestText(result.bounds[i].hi));
    if (!result.held.empty()) tell(heldText(result.held) + " (--couple-diffusion lets the diffusion follow)");
    if (!result.found || result.allMet) return;
    std::string why = "not every target is met: the answer is a compromise";
    const std::vector<std::size_t> heldBack = result.heldBack();
    for (std::size_t i : heldBack)
        why += std::string(i == heldBack.front() ? "; held back by " : ", ") +
               std::string(question.variables[i].field->name()) + " at its " +
               (result.atBound[i] == BoundSide::Low ? "lower" : "upper") + " bound " +
               shortestText(result.variables[i]);
    tell(why);
}

// The targets whose reached values are not finite numbers.
std::string nonFiniteTargets(const std::vector<DesignTarget>& targets, const TargetDesignResult& result) {
    std::string names;
    for (std::size_t i = 0; i < result.targets.size(); ++i)
        if (!std::isfinite(result.targets[i].reached)) appendWord(names, targets[i].output->name, ", ");
    return names;
}

}  // namespace

int runDesign(const Arguments& args, StandardOutput& out, int, char**) {
    const std::optional<double> percent = commandLineNumber(args.value("--tolerance", "1"));
    if (!percent) return usageError("--tolerance must be a number (percent)");

    DesignSet designs;
    ModelParameters mp;
    StderrErrorReporter errors;
    const std::optional<std::string> modelsPath = openForExploring(args, designs, mp, errors);
    if (!modelsPath) return kFileError;
    const DesignValues& current = designs.currentDesign;

    DesignQuestion question;
    question.coupleDiffusion = args.has("--couple-diffusion");
    for (const std::string& text : args.values("--vary")) {
        const std::optional<DesignVariable> v = variableFrom(text, current);
        if (!v)
            return usageError("--vary " + text + ": expected NAME or NAME:LO:HI with a field of the sheet");
        question.variables.push_back(*v);
    }
    for (const std::string& text : args.values("--target")) {
        std::string problem;
        std::optional<DesignTarget> t = parseTarget(text, problem);
        if (!t) return usageError("--target " + problem);
        t->tolerance = *percent / 100;
        question.targets.push_back(*t);
    }
    if (const std::optional<std::string> problem = checkTargetDesign(question, current, mp))
        return usageError(*problem);
    if (question.coupleDiffusion && !holdsKnownDiffusion(current))
        tell(std::string(kDiffusionPredictedAnyway) + ", so --couple-diffusion changes nothing");

    const ExploreBasis basis{designs.referenceDesign, designs.workingReference, mp};
    const TargetDesignResult result = designToTargets(question, current, basis);

    JsonWriter json;
    json.beginObject();
    writeAnswer(json, question, result);
    json.endObject();
    out.write(json.text() + '\n');
    if (const std::string names = nonFiniteTargets(question.targets, result); !names.empty())
        warnOfResultsThatAreNotNumbers(args.command(), names, *modelsPath);
    tellAbout(question, result);

    if (!result.found) {
        tell("no values within the bounds pass the sheet's checks" +
             std::string(args.has("--out") ? "; nothing written" : ""));
        return kFileError;
    }
    const int status = result.allMet ? 0 : kCompromise;
    if (!args.has("--out")) return status;
    // Accept: the answer goes into the current design, which the file then holds recalculated.
    designs.currentDesign.assign(result.design);
    recalculate(designs, mp, errors);
    return saveCigaretteFile(args.value("--out"), designs, errors) == 0 ? status : kFileError;
}

}  // namespace veltrano::cli
