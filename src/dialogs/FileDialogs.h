#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

namespace veltrano {

class Dialogs;

// Qt name filters from a filter list in the "Description (*.ext)|*.ext|...||" form. "*.*" becomes "*",
// so that names without a dot show.
QStringList nameFilters(const char* filterList);

struct FileDialogRequest {
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    const char* filterList = "";
    QString defaultSuffix;  // added by the dialog before it asks about overwriting
};

// Runs a file dialog through the seam; the chosen path, or an empty string when cancelled.
QString askFileName(Dialogs& dialogs, QWidget* owner, const FileDialogRequest& request);

}  // namespace veltrano
