#pragma once

#include <memory>

#include <QSettings>
#include <QString>

namespace veltrano {

// What the program keeps between runs (the recent files, the folder last used), in this user's settings
// file where QSettings keeps an application's settings. QSettings reads the file as it is made and
// would wait for ever on a pipe put in its place: a path that is neither a regular file nor free is
// not opened. The program then runs on the defaults, keeps nothing, and says why (`problem`).
struct SettingsFile {
    std::unique_ptr<QSettings> settings;
    QString problem;
};
SettingsFile openSettingsFile(const QString& path);

// Where QSettings keeps this application's settings for the user (organisation and application name
// as set); empty where they are not kept in a file of that form (the Windows registry, macOS).
QString userSettingsPath();

}  // namespace veltrano
