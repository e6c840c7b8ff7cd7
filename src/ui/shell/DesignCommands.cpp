// The commands that change the designs from the menu or the panel: edit either design, copy the
// reference to the current design, edit the information text. Each is one undoable step.
#include "ui/dialogs/Dialogs.h"
#include "ui/explore/PreviewStrip.h"
#include "ui/sheet/CigSpecDlg.h"
#include "ui/shell/AddInfoDlg.h"
#include "ui/shell/MainWin.h"
#include "ui/shell/UndoableDocument.h"

namespace veltrano {

void MainWin::editDesign(DesignRole role) {
    const bool reference = role == DesignRole::Reference;
    const DesignSet& d = document_.designs();
    // The current design's sheet shows what OK would give as the user types.
    SheetStrip preview;
    if (!reference)
        preview = [this](const DesignSheet& sheet, QDialog& window) {
            return new PreviewStrip(sheet, window, document_.designs(), document_.modelParameters());
        };
    // The sheet edits a copy; the document takes it only when every page's checks pass.
    const std::optional<DesignValues> edited =
        runDesignSheet(dialogs_, this, errors_, reference ? d.referenceDesign : d.currentDesign, reference,
                       document_.modelParameters(), preview);
    if (!edited) return;
    undoable_->perform(reference ? tr("Edit Reference Cigarette") : tr("Edit Current Cigarette"),
                       [&](DesignDocument& doc) { return doc.replaceDesign(role, *edited, errors_); });
}

void MainWin::editReference() {
    editDesign(DesignRole::Reference);
}

void MainWin::editCurrent() {
    editDesign(DesignRole::Current);
}

void MainWin::copyToCurrent() {
    undoable_->perform(tr("Copy to Current"),
                       [this](DesignDocument& doc) { return doc.copyReferenceToCurrent(errors_); });
}

void MainWin::addInformation() {
    InformationText text = document_.designs().informationText;
    AddInfoDlg dialog(text, this);
    dialogs_.exec(dialog);
    undoable_->perform(tr("Add Information"), [&](DesignDocument& doc) { return doc.setInformation(text); });
}

}  // namespace veltrano
