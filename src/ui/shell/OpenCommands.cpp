// The ways a file opens besides the Open dialog: the recent files and a drop on the window (the
// command line is the application's). Each ends in openPath, as Open does.
#include <optional>

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>

#include "render/resources/ProgramTitle.h"
#include "ui/dialogs/ControlIds.h"
#include "ui/shell/MainWin.h"
#include "ui/shell/RecentFilesMenu.h"

namespace veltrano {

namespace {

// The one local file a drag carries (any name: the reader decides whether it holds cigarette data);
// nothing for anything else: several files, a folder, a web address, text.
std::optional<QString> draggedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return std::nullopt;
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) return std::nullopt;
    const QString path = urls.first().toLocalFile();
    if (path.isEmpty() || QFileInfo(path).isDir()) return std::nullopt;
    return path;
}

// The file stays where it is: a drop only reads it, so it is taken as a copy. False when the source
// offers no copy.
bool acceptAsCopy(QDropEvent& event) {
    if (!(event.possibleActions() & Qt::CopyAction)) return false;
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return true;
}

}  // namespace

void MainWin::addRecentFilesMenu(QMenu* fileMenu, const MenuRow& row) {
    recentMenu_ = new RecentFilesMenu(
        recentFiles_, [this](const QString& path) { openRecentFile(path); }, this);
    QAction* item = fileMenu->addMenu(recentMenu_);
    item->setText(QString::fromLatin1(row.text));
    item->setObjectName(QString::fromLatin1(row.objectName));
    setControlId(item, row.id);
    connect(fileMenu, &QMenu::aboutToShow, recentMenu_, &RecentFilesMenu::refresh);
}

void MainWin::openRecentFile(const QString& path) {
    if (!QFileInfo::exists(path)) {
        recentFiles_.remove(path);
        showMessage(dialogs_, this,
                    QStringLiteral("The file %1 no longer exists.").arg(QDir::toNativeSeparators(path)),
                    programTitle(), QMessageBox::Warning,
                    QStringLiteral("It has been removed from the recent files."));
        return;
    }
    openPath(path);
}

void MainWin::dragEnterEvent(QDragEnterEvent* event) {
    if (!analysisRunning_ && draggedFile(event->mimeData())) acceptAsCopy(*event);
}

void MainWin::dropEvent(QDropEvent* event) {
    const std::optional<QString> path = draggedFile(event->mimeData());
    if (!path || !acceptAsCopy(*event)) return;
    // Opened once the drop is over, so that the program the file came from does not wait for the
    // unsaved-changes question.
    QMetaObject::invokeMethod(
        this, [this, file = *path] { openPath(file); }, Qt::QueuedConnection);
}

}  // namespace veltrano
