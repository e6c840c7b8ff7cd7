#pragma once

#include <QString>

#include "design/DesignSet.h"
#include "design/ErrorMessages.h"

class QPageLayout;
class QWidget;

namespace veltrano {

class Dialogs;

// The document name of every printout.
inline constexpr char kPrintDocumentName[] = "veltrano 4.1";

// File > "Print ...": the print dialog (page range and selection off; printing to a PDF file stays
// available, as many desktops have no printer), then both designs on one page. Cancelling prints
// and shows nothing; a printer that is not valid gives 064 and ends the job; 066 and 069 come from
// printReport. Printing to a PDF file goes through savePdfReport. The designs are only read.
void printDesign(Dialogs& dialogs, QWidget* owner, ErrorReporter& errors, const DesignSet& designs,
                 bool puffByPuffValid);

// The page as a PDF file of the given page layout and resolution. The document is made in memory and
// saved whole through the safe save: a target that cannot be opened for writing gives 066, a write
// that fails (a full disk, a file size limit) 053, and neither leaves a partial file or harms an old
// one. Needs only a QGuiApplication. True when the file was written.
bool savePdfReport(const QString& path, const QPageLayout& layout, int resolution, const DesignSet& designs,
                   bool puffByPuffValid, ErrorReporter& errors);

// The same page as a PDF file (A4 portrait, 300 dpi), without any dialog: what the command-line
// tool writes.
bool writeReportPdf(const QString& path, const DesignSet& designs, bool puffByPuffValid,
                    ErrorReporter& errors);

}  // namespace veltrano
