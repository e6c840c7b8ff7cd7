#include "print/ReportPdf.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "print/PrintedPage.h"
#include "views/ViewResources.h"

namespace veltrano {

bool writeReportPdf(const QString& path, const DesignSet& designs, bool puffByPuffValid,
                    ErrorReporter& errors) {
    installFontSubstitutes();
    QPdfWriter writer(path);
    writer.setTitle(QString::fromLatin1(kPrintDocumentName));
    writer.setCreator(QString::fromLatin1(kPrintDocumentName));
    writer.setResolution(300);
    // A printer's margins, so the file prints as the page would.
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    return printReport(writer, errors, designs, puffByPuffValid);
}

}  // namespace veltrano
