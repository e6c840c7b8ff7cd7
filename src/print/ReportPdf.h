#pragma once

#include <QString>

#include "design/DesignSet.h"
#include "design/ErrorMessages.h"

namespace veltrano {

// The document name of every printout.
inline constexpr char kPrintDocumentName[] = "veltrano 4.1";

// The printed page as a PDF file (A4 portrait, 300 dpi), without any dialog: what the command-line
// tool writes. Needs only a QGuiApplication. A target that cannot be written gives 066. True when
// the file was written.
bool writeReportPdf(const QString& path, const DesignSet& designs, bool puffByPuffValid,
                    ErrorReporter& errors);

}  // namespace veltrano
