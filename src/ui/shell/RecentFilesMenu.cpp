#include "ui/shell/RecentFilesMenu.h"

#include <QDir>
#include <QFileInfo>

#include "ui/shell/RecentFiles.h"

namespace veltrano {

RecentFilesMenu::RecentFilesMenu(RecentFiles& files, std::function<void(const QString&)> open,
                                 QWidget* parent)
    : QMenu(parent), files_(files), open_(std::move(open)) {
    setObjectName(QStringLiteral("recentFilesMenu"));
    setToolTipsVisible(true);
    refresh();
}

void RecentFilesMenu::refresh() {
    clear();
    files_.reread();
    const QStringList files = files_.files();
    for (qsizetype i = 0; i < files.size(); ++i) {
        // "&" in a file name is no mnemonic.
        const QString name = QFileInfo(files[i]).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        entry->setToolTip(QDir::toNativeSeparators(files[i]));
        entry->setStatusTip(entry->toolTip());
        connect(entry, &QAction::triggered, this, [this, path = files[i]] { open_(path); });
    }
    addSeparator();
    QAction* clearList = addAction(QStringLiteral("Clear Recent Files"));
    connect(clearList, &QAction::triggered, this, [this] { files_.clear(); });
    menuAction()->setEnabled(!files.isEmpty());
}

}  // namespace veltrano
