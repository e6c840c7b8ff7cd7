#pragma once

#include <QString>

class QPageLayout;

#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"

namespace veltrano {

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
