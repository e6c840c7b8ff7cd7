#include "ui/shell/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace veltrano {

SettingsFile openSettingsFile(const QString& path) {
    if (path.isEmpty()) return {std::make_unique<QSettings>(), {}};
    const QFileInfo file(path);
    if (!file.exists() || file.isFile()) return {std::make_unique<QSettings>(path, QSettings::IniFormat), {}};
    // Without a file name the settings live in memory for this run only.
    return {std::make_unique<QSettings>(QString(), QSettings::IniFormat),
            QStringLiteral("The settings file %1 is not a regular file; the program starts with its "
                           "defaults and keeps no settings, such as the recent files, this time.")
                .arg(QDir::toNativeSeparators(path))};
}

QString userSettingsPath() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
           QCoreApplication::organizationName() + QLatin1Char('/') + QCoreApplication::applicationName() +
           QStringLiteral(".conf");
#else
    return {};
#endif
}

}  // namespace veltrano
