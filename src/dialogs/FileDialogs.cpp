#include "dialogs/FileDialogs.h"

#include "dialogs/Dialogs.h"

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

QString askFileName(Dialogs& dialogs, QWidget* owner, const FileDialogRequest& request) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(request.mode);
    dialog.setFileMode(request.mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                               : QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters(request.filterList));
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialogs.exec(dialog) != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

}  // namespace veltrano
