#include "CliSupport.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

#include "core/design/CigaretteFile.h"
#include "core/design/DataFileSearch.h"
#include "core/design/FilePath.h"
#include "core/design/NumberText.h"
#include "core/design/PlatformFiles.h"
#include "core/design/ValueChecks.h"
#include "core/model/Recalculation.h"

namespace veltrano::cli {

void StderrErrorReporter::report(int number, const std::string& text) {
    RecordingErrorReporter::report(number, text);
    std::fprintf(stderr, "%s\n", text.c_str());
}

TerminalProgress::TerminalProgress() : terminal_(platform::standardErrorIsTerminal()) {}

void TerminalProgress::setPosition(int position) {
    if (!terminal_ || max_ <= 0) return;
    const int width = 40;
    const int done = position * width / max_;
    std::fprintf(stderr, "\r[%.*s%*s] puff %d/%d", done, "########################################",
                 width - done, "", position + 1, max_);
    std::fflush(stderr);
}

void TerminalProgress::hide() {
    if (terminal_ && max_ > 0) std::fprintf(stderr, "\r%*s\r", 60, "");
}

std::filesystem::path executableFolder() {
    return pathFromUtf8(platform::executablePath()).parent_path();
}

std::optional<std::string> loadModels(const Arguments& args, ModelParameters& mp) {
    DataFileSearch search;
    if (args.has("--models")) {
        search.found = pathFromUtf8(args.value("--models"));
        search.tried = {*search.found};
    } else {
        search = findDataFile(kModelParameterFileName, dataPlacesOfThisProcess(executableFolder()));
    }
    if (!search.found || loadModelParameters(utf8Path(*search.found), mp) != kModelParametersOk) {
        std::fprintf(stderr, "Failed to load model parameters. Paths tried:\n%s\n",
                     listOfPaths(search.tried).c_str());
        return std::nullopt;
    }
    const std::string path = utf8Path(*search.found);
    if (const auto warning = nonFiniteParametersWarning(mp, path))
        std::fprintf(stderr, "%s\n", warning->c_str());
    return path;
}

bool openDocument(const Arguments& args, Session& session) {
    std::optional<std::string> modelsPath = loadModels(args, session.mp);
    if (!modelsPath || session.document.open(args.positional(0), session.errors) != 0) return false;
    session.modelsPath = std::move(*modelsPath);
    warnOfValuesThatAreNotNumbers(args.command(), session.designs(), {"workingReference", "current"},
                                  session.modelsPath);
    return true;
}

namespace {

void warn(const std::string& command, const std::string& text) {
    std::fprintf(stderr, "veltrano-cli %s: warning: %s\n", command.c_str(), text.c_str());
}

std::vector<std::string_view> nonFiniteInputs(const DesignValues& values) {
    std::vector<std::string_view> names;
    for (const InputProblem& problem : impossibleInputs(values))
        if (!problem.negative) names.push_back(problem.field);
    return names;
}

// "reference cp_perm, fi_len; current cp_perm": the fields `pick` finds in each design named, those
// without any left out.
std::string fieldsByDesign(const DesignSet& designs, std::initializer_list<const char*> names,
                           std::vector<std::string_view> (*pick)(const DesignValues&)) {
    std::string text;
    for (const char* name : names) {
        const std::vector<std::string_view> fields = pick(designByName(designs, name)->values());
        if (fields.empty()) continue;
        if (!text.empty()) text += "; ";
        text += name;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            text += i == 0 ? " " : ", ";
            text += fields[i];
        }
    }
    return text;
}

}  // namespace

void warnOfValuesThatAreNotNumbers(const std::string& command, const DesignSet& designs,
                                   std::initializer_list<const char*> computed,
                                   const std::string& modelsPath) {
    const std::string inputs = fieldsByDesign(designs, {"reference", "current"}, nonFiniteInputs);
    if (!inputs.empty()) warn(command, "inputs that are not finite numbers: " + inputs);
    const std::string results = fieldsByDesign(designs, computed, nonFiniteResults);
    if (!results.empty()) warnOfResultsThatAreNotNumbers(command, results, modelsPath);
}

void warnOfResultsThatAreNotNumbers(const std::string& command, const std::string& what,
                                    const std::string& modelsPath) {
    warn(command, "results that are not finite numbers: " + what +
                      "; computed with the model coefficients of \"" + modelsPath + "\"");
}

bool analysePuffsIfAsked(const Arguments& args, DesignDocument& document, bool always) {
    if (!always && !args.has("--puffs")) return false;
    TerminalProgress progress;
    document.runPuffByPuffAnalysis(progress);
    return true;
}

std::optional<std::string> openForExploring(const Arguments& args, DesignSet& designs, ModelParameters& mp,
                                            StderrErrorReporter& errors) {
    if (readCigaretteFile(args.positional(0), designs, errors) != 0) return std::nullopt;
    std::optional<std::string> modelsPath = loadModels(args, mp);
    if (!modelsPath) return std::nullopt;
    recalculateWorkingReference(designs.referenceDesign, designs.workingReference, mp, errors);
    warnOfValuesThatAreNotNumbers(args.command(), designs, {"workingReference"}, *modelsPath);
    return modelsPath;
}

std::optional<double> commandLineNumber(const std::string& text) {
    return finiteNumber(text);
}

std::optional<int> commandLineInteger(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

}  // namespace veltrano::cli
