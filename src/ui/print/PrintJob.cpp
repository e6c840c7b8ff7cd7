#include "ui/print/PrintJob.h"

#include <QPrintDialog>
#include <QPrinter>

#include "core/report/ReportFile.h"
#include "render/print/PrintedPage.h"
#include "render/resources/ProgramTitle.h"
#include "render/views/ViewResources.h"
#include "ui/dialogs/Dialogs.h"

namespace veltrano {

void printDesign(Dialogs& dialogs, QWidget* owner, ErrorReporter& errors, const DesignSet& designs,
                 bool puffByPuffValid, const QString& designFileName) {
    installFontSubstitutes();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(programTitle());
    printer.setCreator(programTitle());
    // The dialog would take the file name for printing to PDF from the document name, whose ".1" it
    // reads as an extension. A file name set here goes to the dialog as it is; the real printer stays
    // chosen where there is one.
    printer.setOutputFileName(
        QString::fromStdString(reportFileName(designFileName.toStdString(), ".pdf", kProgramTitle)));
    printer.setOutputFormat(QPrinter::NativeFormat);
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
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        savePdfReport(printer.outputFileName(), printer.pageLayout(), printer.resolution(), designs,
                      puffByPuffValid, errors);
        return;
    }
    printReport(printer, errors, designs, puffByPuffValid);
}

}  // namespace veltrano
