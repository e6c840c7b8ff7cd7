#pragma once

#include <QString>

class QSettings;

namespace veltrano {

// Where the file dialogs start: the folder of the file last chosen in any of them, kept in the settings
// so that the next run starts there too.
class LastFolder {
public:
    explicit LastFolder(QSettings& settings) : settings_(settings) {}

    // The folder, when one was kept and it is still there; empty otherwise (the dialog's own default).
    QString folder() const;
    // `chosenFile` was chosen in a file dialog: its folder is where the next dialog starts.
    void remember(const QString& chosenFile);

private:
    QSettings& settings_;
};

}  // namespace veltrano
