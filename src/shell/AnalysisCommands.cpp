// The commands that run an analysis instead of editing a design, and the about box.
#include "design/DesignSet.h"
#include "design/StartupFile.h"
#include "print/PrintJob.h"
#include "shell/AboutDlg.h"
#include "shell/Dialogs.h"
#include "shell/MainWin.h"

namespace veltrano {

void MainWin::puffByPuffCommand() {
    runPuffByPuffAnalysis();
    puffByPuffValid_ = true;
    repaintClient();
}

void MainWin::printDesigns() {
    printDesign(dialogs_, this, errors_, state_.designs, puffByPuffValid_);
}

void MainWin::about() {
    AboutDlg::Gestures gestures;
    gestures.saveStartupDesigns = [this] {
        return saveStartupDesignsToFirst(startupFileTargets_, state_.designs).has_value();
    };
    gestures.toggleRawListing = [this] { toggleRawListing(); };
    AboutDlg dialog(resources_.logo, dialogs_, std::move(gestures), this);
    dialogs_.exec(dialog);
}

}  // namespace veltrano
