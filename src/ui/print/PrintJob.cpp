#include "ui/print/PrintJob.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "core/report/ReportFile.h"
#include "render/print/PrintedPage.h"
#include "render/resources/ProgramTitle.h"
#include "render/views/ViewResources.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/FileDialogs.h"

namespace veltrano {

PrintRoute availablePrintRoute() {
#ifdef Q_OS_WIN
    if (QPrinterInfo::availablePrinters().isEmpty()) return PrintRoute::PdfFile;
#endif
    return PrintRoute::PrintDialog;
}

void printDesign(Dialogs& dialogs, QWidget* owner, ErrorReporter& errors, const DesignSet& designs,
                 bool puffByPuffValid, const QString& designFileName, PrintRoute route) {
    installFontSubstitutes();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(programTitle());
    printer.setCreator(programTitle());
    const QString proposedPdf =
        QString::fromStdString(reportFileName(designFileName.toStdString(), ".pdf", kProgramTitle));
    if (route == PrintRoute::PdfFile) {
        const QString path =
            askFileName(dialogs, owner,
                        {QFileDialog::AcceptSave, "PDF Document (*.pdf)|*.pdf||", QStringLiteral("pdf"),
                         QStringLiteral("No printer is installed: print to a PDF file"), proposedPdf});
        if (!path.isEmpty())
            savePdfReport(path, printer.pageLayout(), printer.resolution(), designs, puffByPuffValid, errors);
        return;
    }
    // The dialog would take the file name for printing to PDF from the document name, whose ".1" it
    // reads as an extension. A file name set here goes to the dialog as it is; the real printer stays
    // chosen where there is one.
    printer.setOutputFileName(proposedPdf);
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
