#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

namespace veltrano {

class Dialogs;
class LastFolder;

// Qt name filters from a filter list in the "Description (*.ext)|*.ext|...||" form. "*.*" becomes "*",
// so that names without a dot show.
QStringList nameFilters(const char* filterList);

struct FileDialogRequest {
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    const char* filterList = "";
    QString defaultSuffix = {};        // added by the dialog before it asks about overwriting
    QString title = {};                // empty: the toolkit's title for the kind ("Open", "Save As")
    QString proposedName = {};         // the file name the dialog starts with (a path's folder is used
                                       // only when no last folder is known); empty: none
    bool suffixFollowsFilter = false;  // the default suffix is the chosen filter's ("*.svg": "svg")
    bool confirmOverwrite = true;      // a save dialog asks before it names an existing file
    QString* chosenFilter = nullptr;   // receives the name filter chosen, when given
    LastFolder* lastFolder = nullptr;  // where the dialog starts, and keeps the folder chosen; none: the
                                       // toolkit's default folder (or the proposed path's)
};

// Runs a file dialog through the seam; the chosen path, or an empty string when cancelled. A save dialog
// takes only a path whose folder exists: otherwise it says so and asks again.
QString askFileName(Dialogs& dialogs, QWidget* owner, const FileDialogRequest& request);

}  // namespace veltrano
