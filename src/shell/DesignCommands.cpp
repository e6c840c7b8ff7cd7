// The commands that change the designs from the menu or the panel: edit either design, copy the
// reference to the current design, edit the information text.
#include <QMessageBox>

#include "editor/CigSpecDlg.h"
#include "model/Recalculation.h"
#include "shell/AddInfoDlg.h"
#include "shell/Dialogs.h"
#include "shell/MainWin.h"

namespace veltrano {

bool MainWin::runSheet(bool reference) {
    DesignSet& d = state_.designs;
    CigaretteDesign& target = reference ? d.referenceDesign : d.currentDesign;
    if (!runDesignSheet(dialogs_, this, errors_, target, reference, state_.modelParameters)) return false;
    // After an accepted edit of either design all three known words are the reference's.
    d.currentDesign.known = d.referenceDesign.known;
    d.workingReference.known = d.referenceDesign.known;
    markChanged();
    return true;
}

void MainWin::editReference() {
    if (!runSheet(true)) return;
    recalculate(state_.designs, state_.modelParameters, errors_);
    syncPuffByPuffAvailability();
}

void MainWin::editCurrent() {
    if (runSheet(false)) refreshAfterChange();
}

void MainWin::copyToCurrent() {
    state_.designs.currentDesign.assign(state_.designs.referenceDesign);
    markChanged();
    refreshAfterChange();
}

void MainWin::addInformation() {
    const InformationText before = state_.designs.informationText;
    AddInfoDlg dialog(state_.designs.informationText, this);
    dialogs_.exec(dialog);
    if (informationTextString(before) != informationTextString(state_.designs.informationText)) markChanged();
}

}  // namespace veltrano
