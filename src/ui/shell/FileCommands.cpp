// Open, Save, Save as and Import: the designs between memory and disk.
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include "render/resources/ProgramTitle.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/FileDialogs.h"
#include "ui/dialogs/FilePaths.h"
#include "ui/shell/MainWin.h"
#include "ui/shell/UndoableDocument.h"

namespace veltrano {

namespace {

const char* const kCigaretteFilter = "Cigarette Files (*.cig)|*.cig|All Files (*.*)|*.*||";
const char* const kLegacyFilter = "Cigarette Files 3.xx (*.cig)|*.cig|All Files (*.*)|*.*||";

}  // namespace

void MainWin::openFile() {
    if (!confirmDiscardChanges()) return;
    const QString path = askFileName(
        dialogs_, this,
        {.mode = QFileDialog::AcceptOpen, .filterList = kCigaretteFilter, .lastFolder = &lastFolder_});
    if (!path.isEmpty()) readFile(path);
}

bool MainWin::openPath(const QString& path) {
    // Nothing opens in the middle of the analysis (a drop is opened once it is back in the event loop).
    if (analysisRunning_) return false;
    return confirmDiscardChanges() && readFile(path);
}

bool MainWin::readFile(const QString& path) {
    // The file name is always a full path: the title shows it, Save writes it.
    const QString file = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (undoable_->load(UndoableDocument::History::Saved,
                        [&](DesignDocument& doc) { return doc.open(toFilePath(file), errors_); }) != 0)
        return false;
    recentFiles_.add(file);
    return true;
}

bool MainWin::save() {
    if (document_.fileName().empty()) return saveAs();
    // An imported file keeps its name, but its 3.xx original is never overwritten without a word.
    if (document_.isLegacyFile() && !confirmReplaceLegacyFile()) return saveAs();
    if (undoable_->save([this](DesignDocument& doc) { return doc.save(errors_); }) != 0) return false;
    recentFiles_.add(currentFileName());
    return true;
}

bool MainWin::saveAs() {
    const QString path = askFileName(dialogs_, this,
                                     {.mode = QFileDialog::AcceptSave,
                                      .filterList = kCigaretteFilter,
                                      .defaultSuffix = QStringLiteral("cig"),
                                      .lastFolder = &lastFolder_});
    if (path.isEmpty()) return false;
    if (undoable_->save([&](DesignDocument& doc) { return doc.saveAs(toFilePath(path), errors_); }) != 0)
        return false;
    recentFiles_.add(path);
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
    const QString path = askFileName(dialogs_, this,
                                     {.mode = QFileDialog::AcceptOpen,
                                      .filterList = kLegacyFilter,
                                      .title = QStringLiteral("Import"),
                                      .lastFolder = &lastFolder_});
    if (path.isEmpty()) return;
    // Not in this program's format on disk yet: no step of the new history is the saved state.
    if (undoable_->load(UndoableDocument::History::Unsaved, [&](DesignDocument& doc) {
            return doc.importLegacy(toFilePath(path), errors_);
        }) != 0)
        return;
    recentFiles_.add(path);
}

bool MainWin::confirmReplaceLegacyFile() {
    QMessageBox box(
        QMessageBox::Question, programTitle(),
        QStringLiteral("The file %1 is in the old 3.xx format. Replace it with a file in the 4.1 format?")
            .arg(shownFileName()),
        QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    return dialogs_.exec(box) == QMessageBox::Yes;
}

bool MainWin::confirmDiscardChanges() {
    if (!designsChanged()) return true;
    QMessageBox box(QMessageBox::Question, programTitle(),
                    QStringLiteral("Save changes to the cigarette designs?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Save);
    // Which file Save would write (or that it asks for a name first).
    box.setInformativeText(document_.fileName().empty()
                               ? QStringLiteral("Save asks for a file name.")
                               : QStringLiteral("Save writes %1.").arg(shownFileName()));
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
