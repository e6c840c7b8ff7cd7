// veltrano-cli print: the one-page report as PDF, without a display.
#include <cstdio>

#include "CliCommands.h"
#include "CliSupport.h"
#include "HeadlessGui.h"
#include "render/print/ReportPdf.h"

namespace veltrano::cli {

int runPrint(const Arguments& args, StandardOutput&, int argc, char** argv) {
    Session session;
    if (!openDocument(args, session)) return kFileError;
    const bool puffs = analysePuffsIfAsked(args, session.document);
    const HeadlessGui gui(argc, argv);
    const PdfWriting pdf =
        writeReportPdf(QString::fromStdString(args.positional(1)), session.designs(), puffs, session.errors);
    // The specified error says only which step failed; the system's reason follows on a line of its own.
    if (!pdf.failureReason.empty())
        std::fprintf(stderr, "%s: %s\n", args.positional(1).c_str(), pdf.failureReason.c_str());
    return pdf.written ? 0 : kFileError;
}

}  // namespace veltrano::cli
