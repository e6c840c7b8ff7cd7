#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Tests never need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nothing a test does reaches the user's own state, data or settings folders.
    const QTemporaryDir home;
    for (const char* variable : {"XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
        qputenv(variable, (home.path() + QLatin1Char('/') + QLatin1String(variable)).toLocal8Bit());
    QApplication app(argc, argv);
    // Settings need an organisation's name; they land in the temporary config folder above.
    QCoreApplication::setOrganizationName(QStringLiteral("korbinel"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
