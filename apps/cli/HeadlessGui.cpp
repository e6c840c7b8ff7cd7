#include "HeadlessGui.h"

#include <cstdio>
#include <cstdlib>

#include "CliCommands.h"
#include "render/resources/ShippedFonts.h"
#include "render/views/ViewResources.h"

namespace veltrano::cli {

namespace {

// The toolkit's own notes ("QStandardPaths: XDG_RUNTIME_DIR not set, ..." of the offscreen platform,
// font fallbacks) are not the tool's to pass on: its stderr carries its own messages only. A failure it
// cannot go on from (no memory for its event dispatcher, say) ends the tool with a message of its own
// rather than a silent abort.
void keepToolkitMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) return;
    std::fprintf(stderr, "veltrano-cli: the drawing toolkit failed: %s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(kFileError);
}

}  // namespace

HeadlessGui::HeadlessGui(int& argc, char** argv) {
    qInstallMessageHandler(keepToolkitMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    useFontsBesideProgram();
    app_ = std::make_unique<QGuiApplication>(argc, argv);
    installFontSubstitutes();
}

}  // namespace veltrano::cli
