// The problem solver command: searches run on up-to-date results, and accepted values take effect at once.
#include "model/Recalculation.h"
#include "shell/Dialogs.h"
#include "shell/MainWin.h"
#include "solver/SolverDlg.h"

namespace veltrano {

void MainWin::problemSolver() {
    // The dialog sets itself up from the recalculated design (its perforation type, its known bits).
    recalculate(state_.designs, state_.modelParameters, errors_);
    SolverDlg dialog(state_.designs, state_.modelParameters, dialogs_, errors_, this);
    dialogs_.exec(dialog);
    if (dialog.anythingAccepted()) markChanged();
    refreshAfterChange();
}

}  // namespace veltrano
