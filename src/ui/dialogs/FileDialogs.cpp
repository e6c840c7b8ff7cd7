#include "ui/dialogs/FileDialogs.h"

#include <QDir>
#include <QFileInfo>

#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/LastFolder.h"
#include "ui/dialogs/MessageBoxes.h"

namespace veltrano {

QStringList nameFilters(const char* filterList) {
    const QStringList parts = QString::fromLatin1(filterList).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const QString pattern = parts[i + 1] == QLatin1String("*.*") ? QStringLiteral("*") : parts[i + 1];
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0) description = description.left(open);
        filters << description.trimmed() + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return filters;
}

namespace {

QString nearestExistingFolder(QString folder) {
    while (!QDir(folder).exists()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder) break;
        folder = parent;
    }
    return folder;
}

}  // namespace

QString askFileName(Dialogs& dialogs, QWidget* owner, const FileDialogRequest& request) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(request.mode);
    dialog.setFileMode(request.mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                               : QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters(request.filterList));
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.title.isEmpty()) dialog.setWindowTitle(request.title);
    // The folder last used wins over the folder of a proposed path; the proposed name is kept.
    const QString lastFolder = request.lastFolder ? request.lastFolder->folder() : QString();
    if (!lastFolder.isEmpty()) dialog.setDirectory(lastFolder);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(lastFolder.isEmpty() ? request.proposedName
                                               : QFileInfo(request.proposedName).fileName());
    if (request.suffixFollowsFilter) {
        const auto followFilter = [&dialog](const QString& filter) {
            const qsizetype dot = filter.lastIndexOf(QLatin1String("*."));
            const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
            if (dot >= 0 && close > dot) dialog.setDefaultSuffix(filter.mid(dot + 2, close - dot - 2));
        };
        followFilter(dialog.selectedNameFilter());
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    for (;;) {
        if (dialogs.exec(dialog) != QDialog::Accepted) return {};
        if (request.chosenFilter) *request.chosenFilter = dialog.selectedNameFilter();
        const QStringList files = dialog.selectedFiles();
        if (files.isEmpty()) return {};
        // A file can only be saved into a folder that exists: say so and ask again.
        const QFileInfo chosen(files.first());
        if (request.mode == QFileDialog::AcceptOpen || chosen.absoluteDir().exists()) {
            if (request.lastFolder) request.lastFolder->remember(files.first());
            return files.first();
        }
        showMessage(dialogs, owner,
                    QStringLiteral("The folder %1 does not exist.")
                        .arg(QDir::toNativeSeparators(chosen.absolutePath())),
                    dialog.windowTitle(), QMessageBox::Warning);
        dialog.setDirectory(nearestExistingFolder(chosen.absolutePath()));
        dialog.selectFile(chosen.fileName());
    }
}

}  // namespace veltrano
