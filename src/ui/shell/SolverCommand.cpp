// The problem solver command: searches run on up-to-date results; what the user accepted becomes one
// undoable change of the current design when the dialog closes.
#include "ui/dialogs/Dialogs.h"
#include "ui/shell/MainWin.h"
#include "ui/shell/UndoableDocument.h"
#include "ui/solver/SolverDlg.h"

namespace veltrano {

void MainWin::problemSolver() {
    // The dialog sets itself up from the recalculated design (its perforation type, its known bits).
    undoable_->update([this](DesignDocument& doc) { doc.recalculate(errors_); });
    DesignSet working = document_.designs().clone();
    SolverDlg dialog(working, document_.modelParameters(), dialogs_, errors_, this);
    dialogs_.exec(dialog);
    if (!dialog.anythingAccepted()) {
        undoable_->update([this](DesignDocument& doc) { doc.refresh(errors_); });
        return;
    }
    undoable_->perform(tr("Accept Solver Result"), [&](DesignDocument& doc) {
        return doc.acceptCurrentDesign(working.currentDesign, errors_);
    });
}

}  // namespace veltrano
