#pragma once

#include <QString>

#include "design/DesignSet.h"
#include "design/ErrorMessages.h"

class QWidget;

namespace veltrano {

class Dialogs;

// The document name of every printout.
inline constexpr char kPrintDocumentName[] = "veltrano 4.1";

// File > "Print ...": the print dialog (page range and selection off; printing to a PDF file stays
// available, as many desktops have no printer, and proposes the design file's name with ".pdf"),
// then both designs on one page. Cancelling prints and shows nothing; a printer that is not valid
// gives 064 and ends the job; 066 and 069 come from printReport. The designs are only read.
void printDesign(Dialogs& dialogs, QWidget* owner, ErrorReporter& errors, const DesignSet& designs,
                 bool puffByPuffValid, const QString& designFileName = {});

// The same page as a PDF file (A4 portrait, 300 dpi), without any dialog: what the command-line
// tool writes. Needs only a QGuiApplication. A target that cannot be written gives 066. True when
// the file was written.
bool writeReportPdf(const QString& path, const DesignSet& designs, bool puffByPuffValid,
                    ErrorReporter& errors);

}  // namespace veltrano
