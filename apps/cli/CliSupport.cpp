#include "CliSupport.h"

#include "design/CigaretteFile.h"
#include "model/PuffByPuff.h"
#include "model/Recalculation.h"
#include "views/ViewResources.h"

#include <charconv>
#include <cmath>
#include <cstdio>

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

bool loadModels(const Arguments& args, ModelParameters& mp) {
    const std::string path = args.value("--models", "models.dat");
    if (loadModelParameters(path, mp) != kModelParametersOk) {
        std::fprintf(stderr, "Failed to load model parameters. (%s)\n", path.c_str());
        return false;
    }
    return true;
}

bool openAndRecalculate(const Arguments& args, DesignSet& designs, ModelParameters& mp,
                        StderrErrorReporter& errors) {
    if (readCigaretteFile(args.positional(0), designs, errors) != 0) return false;
    if (!loadModels(args, mp)) return false;
    recalculate(designs, mp, errors);
    return true;
}

bool analysePuffsIfAsked(const Arguments& args, DesignSet& designs, const ModelParameters& mp, bool always) {
    if (!always && !args.has("--puffs")) return false;
    TerminalProgress progress;
    runPuffByPuff(designs.currentDesign, mp, progress);
    return true;
}

HeadlessGui::HeadlessGui(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QGuiApplication>(argc, argv);
    installFontSubstitutes();
}

std::optional<double> optionNumber(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

CigaretteDesign* designByName(DesignSet& designs, const std::string& name) {
    if (name == "reference") return &designs.referenceDesign;
    if (name == "workingReference") return &designs.workingReference;
    if (name == "current") return &designs.currentDesign;
    return nullptr;
}

}  // namespace veltrano::cli
