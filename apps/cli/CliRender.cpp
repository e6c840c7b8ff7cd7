// veltrano-cli render: a result view as a PNG picture, an SVG drawing or a PDF page, without a display.
#include <cstdio>
#include <iterator>
#include <string>

#include "CliCommands.h"
#include "CliSupport.h"
#include "HeadlessGui.h"
#include "core/report/ReportFile.h"
#include "render/views/ViewExport.h"

namespace veltrano::cli {

namespace {

// ".png, .svg or .pdf": the extensions of the formats this build writes.
std::string writtenExtensions() {
    std::string text;
    for (std::size_t i = 0; i < std::size(kExportFormats); ++i) {
        if (i > 0) text += i + 1 == std::size(kExportFormats) ? " or " : ", ";
        text += exportExtension(kExportFormats[i]);
    }
    return text;
}

}  // namespace

int runRender(const Arguments& args, StandardOutput&, int argc, char** argv) {
    // The raw listing is drawn in the place of a view, as the program draws it.
    const std::string name = args.value("--view");
    const bool listing = name == "listing";
    const std::optional<View> view = listing ? View::StationaryFlow : viewNamed(name);
    if (!view) {
        std::fprintf(stderr,
                     "veltrano-cli render: --view must be stationary, yields, puffs, summary or listing\n");
        return kUsageError;
    }
    const std::string& target = args.positional(1);
    const std::optional<ExportFormat> format = exportFormatOf(target);
    if (!format) {
        std::fprintf(stderr, "veltrano-cli render: %s must end in %s\n", target.c_str(),
                     writtenExtensions().c_str());
        return kUsageError;
    }
    const std::optional<double> scale = args.has("--scale") ? commandLineNumber(args.value("--scale")) : 1.0;
    if (!scale || !validExportScale(*scale)) {
        std::fprintf(stderr, "veltrano-cli render: --scale must be a number from %g to %g\n", kMinExportScale,
                     kMaxExportScale);
        return kUsageError;
    }
    Session session;
    if (!openDocument(args, session)) return kFileError;
    const DesignSet& designs = session.designs();
    // The program runs the analysis before it shows the puff-by-puff view; so does this.
    const bool puffs = analysePuffsIfAsked(args, session.document, !listing && *view == View::PuffByPuff);

    const HeadlessGui gui(argc, argv);
    const QByteArray bytes =
        renderViewFile(makeViewResources(), {designs, *view, puffs, -1, listing}, *format, *scale);
    const std::optional<std::string> failure =
        bytes.isEmpty() ? exportNotMadeMessage(target)
                        : writeReportFile(target, std::string_view(bytes.constData(),
                                                                   static_cast<std::size_t>(bytes.size())));
    if (!failure) return 0;
    std::fprintf(stderr, "veltrano-cli render: %s\n", failure->c_str());
    return kFileError;
}

}  // namespace veltrano::cli
