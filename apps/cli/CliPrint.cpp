// veltrano-cli print: the one-page report as PDF, without a display.
#include <cstdio>

#include "CliCommands.h"
#include "CliSupport.h"
#include "print/PrintJob.h"

namespace veltrano::cli {

int runPrint(const Arguments& args, int argc, char** argv) {
    DesignSet designs;
    ModelParameters mp;
    StderrErrorReporter errors;
    if (!openAndRecalculate(args, designs, mp, errors)) return kFileError;
    const bool puffs = analysePuffsIfAsked(args, designs, mp);
    const HeadlessGui gui(argc, argv);
    return writeReportPdf(QString::fromStdString(args.positional(1)), designs, puffs, errors) ? 0
                                                                                              : kFileError;
}

}  // namespace veltrano::cli
