// The commands that only read the designs: print, export, copy and the about box.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "core/design/StartupFile.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/print/PrintJob.h"
#include "ui/shell/AboutDlg.h"
#include "ui/shell/ExportCommands.h"
#include "ui/shell/MainWin.h"

namespace veltrano {

void MainWin::printDesigns() {
    printDesign(dialogs_, this, errors_, document_.designs(), document_.puffDataValid(), titlePath_);
}

void MainWin::exportViewCommand() {
    exportView(dialogs_, this, errors_,
               {resources_, viewScene(), titlePath_, devicePixelRatioF(), &lastFolder_});
}

void MainWin::exportDataCommand() {
    exportData(dialogs_, this, errors_, document_.designs(), document_.puffDataValid(), titlePath_,
               &lastFolder_);
}

void MainWin::copyView() {
    QGuiApplication::clipboard()->setMimeData(
        viewMimeData(resources_, viewScene(), devicePixelRatioF()).release());
}

bool MainWin::writeStartupDesigns() {
    // Per-puff data are written only where they belong to the design: stale ones are made anew first,
    // and where the analysis cannot run (no measured puff number) the design goes without them.
    if (!document_.puffDataValid()) runPuffByPuffAnalysis();
    // The file goes where it was read from, else into the user's data folder (see startupFileTargets).
    const auto save = [this](const DesignSet& designs) {
        return saveStartupDesignsToFirst(startupFileTargets_, designs).has_value();
    };
    const DesignSet& designs = document_.designs();
    if (document_.puffDataValid() && designs.currentDesign.isKnown(KnownBit::IsoPuffNumber))
        return save(designs);
    DesignSet withoutPuffData = designs.clone();
    withoutPuffData.currentDesign.freePuffData();
    return save(withoutPuffData);
}

void MainWin::about() {
    AboutDlg::Gestures gestures;
    gestures.saveStartupDesigns = [this] { return writeStartupDesigns(); };
    gestures.toggleRawListing = [this] { toggleRawListing(); };
    AboutDlg dialog(resources_.logo, dialogs_, std::move(gestures), this);
    dialogs_.exec(dialog);
}

}  // namespace veltrano
