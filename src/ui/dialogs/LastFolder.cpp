#include "ui/dialogs/LastFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace veltrano {

namespace {

const char* const kLastFolderKey = "lastFolder";

}  // namespace

QString LastFolder::folder() const {
    // The settings file may have been edited by hand: only an absolute path of a folder that exists counts.
    const QString kept = settings_.value(QLatin1String(kLastFolderKey)).toString();
    const QFileInfo info(kept);
    return !kept.isEmpty() && info.isAbsolute() && info.isDir() ? QDir::cleanPath(kept) : QString();
}

void LastFolder::remember(const QString& chosenFile) {
    settings_.setValue(QLatin1String(kLastFolderKey), QFileInfo(chosenFile).absolutePath());
}

}  // namespace veltrano
