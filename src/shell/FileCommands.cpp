// Open, Save, Save as and Import: the designs between memory and disk.
#include <QMessageBox>

#include "design/CigaretteFile.h"
#include "design/LegacyImport.h"
#include "model/Recalculation.h"
#include "shell/Dialogs.h"
#include "shell/FileDialogs.h"
#include "shell/MainWin.h"

namespace veltrano {

namespace {

const char* const kCigaretteFilter = "Cigarette Files (*.cig)|*.cig|All Files (*.*)|*.*||";
const char* const kLegacyFilter = "Cigarette Files 3.xx (*.cig)|*.cig|All Files (*.*)|*.*||";

}  // namespace

void MainWin::setFileName(const QString& path) {
    currentFileName_ = path;
    setWindowTitle(QStringLiteral("veltrano 4.1 - ") + path);
}

void MainWin::openFile() {
    if (!confirmDiscardChanges()) return;
    const QString path = askFileName(dialogs_, this, {QFileDialog::AcceptOpen, kCigaretteFilter, {}});
    if (path.isEmpty()) return;
    if (readCigaretteFile(path.toStdString(), state_.designs, errors_) != 0) return;
    setFileName(path);
    designsChanged_ = false;
    recalculate(state_.designs, state_.modelParameters, errors_);
    syncPuffByPuffAvailability();
}

bool MainWin::save() {
    if (currentFileName_.isEmpty()) return saveAs();
    if (saveCigaretteFile(currentFileName_.toStdString(), state_.designs, errors_) != 0) {
        currentFileName_.clear();  // the next Save asks for a name again; the title keeps the old one
        return false;
    }
    designsChanged_ = false;
    return true;
}

bool MainWin::saveAs() {
    const QString path =
        askFileName(dialogs_, this, {QFileDialog::AcceptSave, kCigaretteFilter, QStringLiteral("cig")});
    if (path.isEmpty()) return false;
    setFileName(path);
    return save();
}

void MainWin::saveFile() {
    save();
}

void MainWin::saveFileAs() {
    saveAs();
}

void MainWin::importFile() {
    if (!confirmDiscardChanges()) return;
    const QString path =
        askFileName(dialogs_, this, {QFileDialog::AcceptOpen, kLegacyFilter, {}, QStringLiteral("Import")});
    if (path.isEmpty()) return;
    if (importLegacyFile(path.toStdString(), state_.designs, errors_) != 0) return;
    setFileName(path);
    markChanged();  // the designs are not yet in this program's format on disk
    recalculate(state_.designs, state_.modelParameters, errors_);
    syncPuffByPuffAvailability();
}

bool MainWin::confirmDiscardChanges() {
    if (!designsChanged_) return true;
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
