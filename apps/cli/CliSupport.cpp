#include "CliSupport.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "core/design/CigaretteFile.h"
#include "core/design/DataFileSearch.h"
#include "core/design/FilePath.h"
#include "core/design/PlatformFiles.h"
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

bool loadModels(const Arguments& args, ModelParameters& mp) {
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
        return false;
    }
    if (const auto warning = nonFiniteParametersWarning(mp, utf8Path(*search.found)))
        std::fprintf(stderr, "%s\n", warning->c_str());
    return true;
}

bool openDocument(const Arguments& args, Session& session) {
    return loadModels(args, session.mp) && session.document.open(args.positional(0), session.errors) == 0;
}

bool analysePuffsIfAsked(const Arguments& args, DesignDocument& document, bool always) {
    if (!always && !args.has("--puffs")) return false;
    TerminalProgress progress;
    document.runPuffByPuffAnalysis(progress);
    return true;
}

bool openForExploring(const Arguments& args, DesignSet& designs, ModelParameters& mp,
                      StderrErrorReporter& errors) {
    if (readCigaretteFile(args.positional(0), designs, errors) != 0) return false;
    if (!loadModels(args, mp)) return false;
    recalculateWorkingReference(designs.referenceDesign, designs.workingReference, mp, errors);
    return true;
}

std::optional<double> commandLineNumber(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int> commandLineInteger(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

CigaretteDesign* designByName(DesignSet& designs, const std::string& name) {
    return const_cast<CigaretteDesign*>(designByName(std::as_const(designs), name));
}

const CigaretteDesign* designByName(const DesignSet& designs, const std::string& name) {
    if (name == "reference") return &designs.referenceDesign;
    if (name == "workingReference") return &designs.workingReference;
    if (name == "current") return &designs.currentDesign;
    return nullptr;
}

}  // namespace veltrano::cli
