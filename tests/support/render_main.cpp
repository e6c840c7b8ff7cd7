#include <QGuiApplication>

#include <gtest/gtest.h>

#include "render/resources/ShippedFonts.h"

int main(int argc, char** argv) {
    // The painters need a Gui application and fonts, never a display or widgets.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    veltrano::useFontsBesideProgram();
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
