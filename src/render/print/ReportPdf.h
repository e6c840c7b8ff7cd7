#pragma once

#include <string>

#include <QString>

class QPageLayout;

#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"

namespace veltrano {

// What became of writing the page as a PDF file: whether it was written and, when the file could not
// be, the system's words for why (empty when the page itself failed or when the system said nothing).
struct PdfWriting {
    bool written = false;
    std::string failureReason;
};

// The page as a PDF file of the given page layout and resolution. The document is made in memory and
// saved whole through the safe save: a target that cannot be opened for writing gives 066, a write
// that fails (a full disk, a file size limit) 053, and neither leaves a partial file or harms an old
// one. Needs only a QGuiApplication.
PdfWriting savePdfReport(const QString& path, const QPageLayout& layout, int resolution,
                         const DesignSet& designs, bool puffByPuffValid, ErrorReporter& errors);

// The same page as a PDF file (A4 portrait, 300 dpi), without any dialog: what the command-line
// tool writes.
PdfWriting writeReportPdf(const QString& path, const DesignSet& designs, bool puffByPuffValid,
                          ErrorReporter& errors);

}  // namespace veltrano
