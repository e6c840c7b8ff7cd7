// The commands that only read the designs: print and the about box.
#include "design/StartupFile.h"
#include "dialogs/Dialogs.h"
#include "print/PrintJob.h"
#include "shell/AboutDlg.h"
#include "shell/MainWin.h"

namespace veltrano {

void MainWin::printDesigns() {
    printDesign(dialogs_, this, errors_, document_.designs(), document_.puffDataValid());
}

void MainWin::about() {
    AboutDlg::Gestures gestures;
    gestures.saveStartupDesigns = [this] {
        return saveStartupDesignsToFirst(startupFileTargets_, document_.designs()).has_value();
    };
    gestures.toggleRawListing = [this] { toggleRawListing(); };
    AboutDlg dialog(resources_.logo, dialogs_, std::move(gestures), this);
    dialogs_.exec(dialog);
}

}  // namespace veltrano
