// Open, Save, Save as and Import: the designs between memory and disk.
#include <QMessageBox>

#include "dialogs/Dialogs.h"
#include "dialogs/FileDialogs.h"
#include "dialogs/FilePaths.h"
#include "shell/MainWin.h"
#include "shell/UndoableDocument.h"

namespace veltrano {

namespace {

const char* const kCigaretteFilter = "Cigarette Files (*.cig)|*.cig|All Files (*.*)|*.*||";
const char* const kLegacyFilter = "Cigarette Files 3.xx (*.cig)|*.cig|All Files (*.*)|*.*||";

}  // namespace

void MainWin::openFile() {
    if (!confirmDiscardChanges()) return;
    const QString path = askFileName(dialogs_, this, {QFileDialog::AcceptOpen, kCigaretteFilter, {}});
    if (path.isEmpty()) return;
    if (document_.open(toFilePath(path), errors_) == 0) undoable_->opened();
}

bool MainWin::save() {
    if (document_.fileName().empty()) return saveAs();
    if (document_.save(errors_) != 0) return false;
    undoable_->saved();
    return true;
}

bool MainWin::saveAs() {
    const QString path =
        askFileName(dialogs_, this, {QFileDialog::AcceptSave, kCigaretteFilter, QStringLiteral("cig")});
    if (path.isEmpty()) return false;
    if (document_.saveAs(toFilePath(path), errors_) != 0) return false;
    undoable_->saved();
    return true;
}

void MainWin::saveFile() {
    save();
}

void MainWin::saveFileAs() {
    saveAs();
}

void MainWin::importFile() {
    if (!confirmDiscardChanges()) return;
    const QString path = askFileName(dialogs_, this, {QFileDialog::AcceptOpen, kLegacyFilter, {}});
    if (path.isEmpty()) return;
    if (document_.importLegacy(toFilePath(path), errors_) == 0) undoable_->imported();
}

bool MainWin::confirmDiscardChanges() {
    if (!document_.modified()) return true;
    QMessageBox box(QMessageBox::Question, QStringLiteral("veltrano 4.1"),
                    QStringLiteral("Save changes to the cigarette designs?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Save);
    switch (dialogs_.exec(box)) {
        case QMessageBox::Save:
            return save();
        case QMessageBox::Discard:
            return true;
        default:
            return false;
    }
}

}  // namespace veltrano
