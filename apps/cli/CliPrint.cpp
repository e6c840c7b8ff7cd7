// veltrano-cli print: the one-page report as PDF, without a display.
#include <cstdio>

#include <QGuiApplication>

#include "CliCommands.h"
#include "CliSupport.h"
#include "model/PuffByPuff.h"
#include "print/ReportPdf.h"
#include "views/ViewResources.h"

namespace veltrano::cli {

int runPrint(const Arguments& args, int argc, char** argv) {
    DesignSet designs;
    ModelParameters mp;
    StderrErrorReporter errors;
    if (!openAndRecalculate(args, designs, mp, errors)) return kFileError;
    const bool puffs = args.has("--puffs");
    if (puffs) {
        TerminalProgress progress;
        runPuffByPuff(designs.currentDesign, mp, progress);
    }
    // Fonts need a GUI application; without a display the offscreen platform serves.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontSubstitutes();
    return writeReportPdf(QString::fromStdString(args.positional(1)), designs, puffs, errors) ? 0
                                                                                              : kFileError;
}

}  // namespace veltrano::cli
