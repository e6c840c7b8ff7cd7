// The exploration commands: a sweep or map of the current design, and the search for the values that
// reach targets. Both dialogs work on copies; what the user applies or accepts becomes one undoable
// change of the current design when the dialog closes.
#include "ui/dialogs/Dialogs.h"
#include "ui/explore/SweepDlg.h"
#include "ui/shell/MainWin.h"
#include "ui/shell/UndoableDocument.h"
#ifdef VELTRANO_HAVE_NLOPT
#include "ui/explore/TargetDesignDlg.h"
#endif

namespace veltrano {

void MainWin::sensitivity() {
    SweepDlg dialog(document_.designs(), document_.modelParameters(), resources_, dialogs_, errors_,
                    titlePath_, &lastFolder_, this);
    if (dialogs_.exec(dialog) != QDialog::Accepted || !dialog.appliedDesign()) return;
    undoable_->perform(tr("Apply Sweep Point"), [&](DesignDocument& doc) {
        return doc.acceptCurrentDesign(*dialog.appliedDesign(), errors_);
    });
}

#ifdef VELTRANO_HAVE_NLOPT
void MainWin::designToTargets() {
    TargetDesignDlg dialog(document_.designs(), document_.modelParameters(), this);
    if (dialogs_.exec(dialog) != QDialog::Accepted || !dialog.acceptedDesign()) return;
    undoable_->perform(tr("Design to Targets"), [&](DesignDocument& doc) {
        return doc.acceptCurrentDesign(*dialog.acceptedDesign(), errors_);
    });
}
#endif

}  // namespace veltrano
