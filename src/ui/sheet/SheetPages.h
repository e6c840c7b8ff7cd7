#pragma once

class QWidget;

namespace veltrano {

class Dialogs;
class ErrorReporter;
class FieldTableWidget;
class DesignSheet;

// What the pages need beyond their own state: the sheet (other pages' texts, the model parameters),
// the seam for the estimator and the file dialog, and the reporter of the puff shape file's errors.
struct SheetPageContext {
    DesignSheet& sheet;
    Dialogs& dialogs;
    ErrorReporter& reporter;
};

// The widget of page `page` (a SheetPage) of the sheet, bound to that page's state in `context.sheet`.
FieldTableWidget* makeSheetPage(int page, const SheetPageContext& context);

}  // namespace veltrano
