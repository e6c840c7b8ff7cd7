// veltrano-cli print: the one-page report as PDF, without a display.
#include <cstdio>

#include "CliCommands.h"
#include "CliSupport.h"
#include "HeadlessGui.h"
#include "render/print/ReportPdf.h"

namespace veltrano::cli {

int runPrint(const Arguments& args, int argc, char** argv) {
    Session session;
    if (!openDocument(args, session)) return kFileError;
    const DesignSet& designs = session.designs();
    StderrErrorReporter& errors = session.errors;
    const bool puffs = analysePuffsIfAsked(args, session.document);
    const HeadlessGui gui(argc, argv);
    return writeReportPdf(QString::fromStdString(args.positional(1)), designs, puffs, errors) ? 0
                                                                                              : kFileError;
}

}  // namespace veltrano::cli
