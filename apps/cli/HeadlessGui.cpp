#include "HeadlessGui.h"

#include "render/resources/ShippedFonts.h"
#include "render/views/ViewResources.h"

namespace veltrano::cli {

HeadlessGui::HeadlessGui(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    useFontsBesideProgram();
    app_ = std::make_unique<QGuiApplication>(argc, argv);
    installFontSubstitutes();
}

}  // namespace veltrano::cli
