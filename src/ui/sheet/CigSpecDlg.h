#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QDialog>

#include "core/design/CigaretteDesign.h"

class QTabWidget;

namespace veltrano {

class Dialogs;
class ErrorReporter;
class FieldTableWidget;
class DesignSheet;
struct ModelParameters;

// A strip of the sheet's window below its pages, made for each showing (the current design's live
// results); it may watch the window's controls.
using SheetStrip = std::function<QWidget*(const DesignSheet& sheet, QDialog& window)>;

// One showing of the design sheet: a tab for each page of `sheet`, OK and Cancel. A page shows
// its state from `sheet` whenever its tab becomes active (loaded first when it is the page's first
// display in this showing).
class CigSpecDlg : public QDialog {
    Q_OBJECT

public:
    CigSpecDlg(DesignSheet& sheet, Dialogs& dialogs, ErrorReporter& reporter, QWidget* owner,
               const SheetStrip& strip = {});

    // The showing opens with `page` active; the sheet has displayed it already.
    void openAt(int page);
    QTabWidget* tabs() const { return tabs_; }

private:
    void pageActivated(int page);

    DesignSheet& sheet_;
    QTabWidget* tabs_;
    std::vector<FieldTableWidget*> pages_;
};

// Edits `design` (the reference when `isReference`) in the design sheet, run modally through
// `dialogs`; numbered errors go to `reporter`. A failed check reopens the sheet at the failing page.
// Returns the values the user confirmed, nothing after Cancel.
std::optional<DesignValues> runDesignSheet(Dialogs& dialogs, QWidget* owner, ErrorReporter& reporter,
                                           const DesignValues& design, bool isReference,
                                           const ModelParameters& mp, const SheetStrip& strip = {});

}  // namespace veltrano
