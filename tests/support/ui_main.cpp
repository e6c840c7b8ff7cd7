#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "render/resources/ShippedFonts.h"

int main(int argc, char** argv) {
    // Tests never need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    veltrano::useFontsBesideProgram();
    // Nothing a test does reaches the user's own state, data or settings folders.
    const QTemporaryDir home;
    for (const char* variable : {"XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
        qputenv(variable, (home.path() + QLatin1Char('/') + QLatin1String(variable)).toLocal8Bit());
#ifdef Q_OS_WIN
    // Windows keeps settings in the registry, which no variable moves: a file in the folder above instead.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path() + QStringLiteral("/settings"));
#endif
    QApplication app(argc, argv);
    // Settings need an organisation's name; they land in the temporary config folder above.
    QCoreApplication::setOrganizationName(QStringLiteral("korbinel"));
#ifdef Q_OS_WIN
    // Windows' local application data (the recovery files) is a folder no variable moves either: a name
    // of this run's own gives it a folder nobody else uses, removed at the end.
    QCoreApplication::setApplicationName(QStringLiteral("test-") + QFileInfo(home.path()).fileName());
    const QString localData = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    const int failed = RUN_ALL_TESTS();
#ifdef Q_OS_WIN
    QDir(localData).removeRecursively();
#endif
    return failed;
}
