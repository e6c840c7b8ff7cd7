#pragma once

#include <QString>

#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"
#include "render/print/ReportPdf.h"

class QWidget;

namespace veltrano {

class Dialogs;

// File > "Print ...": the print dialog (page range and selection off; printing to a PDF file stays
// available, as many desktops have no printer, and proposes the design file's name with ".pdf"),
// then both designs on one page. Cancelling prints and shows nothing; a printer that is not valid
// gives 064 and ends the job; 066 and 069 come from printReport. Printing to a PDF file goes through
// savePdfReport. The designs are only read.
void printDesign(Dialogs& dialogs, QWidget* owner, ErrorReporter& errors, const DesignSet& designs,
                 bool puffByPuffValid, const QString& designFileName = {});

}  // namespace veltrano
