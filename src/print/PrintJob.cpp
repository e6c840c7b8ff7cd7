#include "print/PrintJob.h"

#include <QPrintDialog>
#include <QPrinter>

#include "dialogs/Dialogs.h"
#include "print/PrintedPage.h"
#include "views/ViewResources.h"

namespace veltrano {

void printDesign(Dialogs& dialogs, QWidget* owner, ErrorReporter& errors, const DesignSet& designs,
                 bool puffByPuffValid) {
    installFontSubstitutes();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(kPrintDocumentName));
    printer.setCreator(QString::fromLatin1(kPrintDocumentName));
    QPrintDialog dialog(&printer, owner);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialogs.exec(dialog) != QDialog::Accepted) return;
    if (!printer.isValid()) {
        ReportError(errors, kErrorPrinterNotObtained);
        return;
    }
    printReport(printer, errors, designs, puffByPuffValid);
}

}  // namespace veltrano
