#include "ui/shell/RecentFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace veltrano {

namespace {

const char* const kRecentFilesKey = "recentFiles";

QString absolutePath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

QStringList RecentFiles::files() const {
    QStringList files;
    for (const QString& kept : settings_.value(QLatin1String(kRecentFilesKey)).toStringList()) {
        if (files.size() == kMaxFiles) break;
        if (kept.isEmpty() || !QFileInfo(kept).isAbsolute()) continue;
        const QString path = QDir::cleanPath(kept);
        if (!files.contains(path)) files << path;
    }
    return files;
}

void RecentFiles::add(const QString& path) {
    const QString file = absolutePath(path);
    QStringList list = files();
    list.removeAll(file);
    list.prepend(file);
    store(list.mid(0, kMaxFiles));
}

void RecentFiles::remove(const QString& path) {
    QStringList list = files();
    list.removeAll(absolutePath(path));
    store(list);
}

void RecentFiles::clear() {
    store({});
}

void RecentFiles::reread() {
    settings_.sync();
}

void RecentFiles::store(const QStringList& files) {
    settings_.setValue(QLatin1String(kRecentFilesKey), files);
}

}  // namespace veltrano
