#pragma once

#include <QString>

#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"
#include "render/print/ReportPdf.h"

class QWidget;

namespace veltrano {

class Dialogs;

// Where the page goes: the print dialog, or (where the system's dialog cannot open) a PDF file.
enum class PrintRoute { PrintDialog, PdfFile };

// Qt's own print dialog (Linux) always opens and can print to a PDF file. Windows' own needs a printer:
// with none installed it returns at once, as if cancelled, and it prints to no PDF file; there the page
// goes to a PDF file the user names.
PrintRoute availablePrintRoute();

// File > "Print ...": the print dialog (page range and selection off; printing to a PDF file stays
// available, as many desktops have no printer, and proposes the design file's name with ".pdf"),
// then both designs on one page. Cancelling prints and shows nothing; a printer that is not valid
// gives 064 and ends the job; 066 and 069 come from printReport. Printing to a PDF file goes through
// savePdfReport. By the PdfFile route a save dialog asks for the PDF file instead, proposing the same
// name. The designs are only read.
void printDesign(Dialogs& dialogs, QWidget* owner, ErrorReporter& errors, const DesignSet& designs,
                 bool puffByPuffValid, const QString& designFileName = {},
                 PrintRoute route = availablePrintRoute());

}  // namespace veltrano
