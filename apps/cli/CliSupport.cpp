#include "CliSupport.h"

#include "design/CigaretteFile.h"
#include "design/DataFileSearch.h"
#include "model/Recalculation.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace veltrano::cli {

void StderrErrorReporter::report(int number, const std::string& text) {
    RecordingErrorReporter::report(number, text);
    std::fprintf(stderr, "%s\n", text.c_str());
}

TerminalProgress::TerminalProgress() : terminal_(isatty(fileno(stderr)) != 0) {}

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
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

bool loadModels(const Arguments& args, ModelParameters& mp) {
    DataFileSearch search;
    if (args.has("--models")) {
        search.found = args.value("--models");
        search.tried = {*search.found};
    } else {
        search = findDataFile(kModelParameterFileName, dataPlacesOfThisProcess(executableFolder()));
    }
    if (search.found && loadModelParameters(search.found->string(), mp) == kModelParametersOk) return true;
    std::fprintf(stderr, "Failed to load model parameters. Paths tried:\n%s\n",
                 listOfPaths(search.tried).c_str());
    return false;
}

bool openAndRecalculate(const Arguments& args, DesignSet& designs, ModelParameters& mp,
                        StderrErrorReporter& errors) {
    if (readCigaretteFile(args.positional(0), designs, errors) != 0) return false;
    if (!loadModels(args, mp)) return false;
    recalculate(designs, mp, errors);
    return true;
}

CigaretteDesign* designByName(DesignSet& designs, const std::string& name) {
    if (name == "reference") return &designs.referenceDesign;
    if (name == "workingReference") return &designs.workingReference;
    if (name == "current") return &designs.currentDesign;
    return nullptr;
}

}  // namespace veltrano::cli
