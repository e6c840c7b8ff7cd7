#include "render/print/ReportPdf.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "core/design/SafeSave.h"
#include "render/print/PrintedPage.h"
#include "render/resources/ProgramTitle.h"
#include "render/views/ViewResources.h"

namespace veltrano {

bool savePdfReport(const QString& path, const QPageLayout& layout, int resolution, const DesignSet& designs,
                   bool puffByPuffValid, ErrorReporter& errors) {
    installFontSubstitutes();
    // Qt's PDF writer does not tell of a failed write: the document is made in memory and saved whole.
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        // Every printout is named after the program.
        writer.setTitle(programTitle());
        writer.setCreator(programTitle());
        writer.setResolution(resolution);
        writer.setPageLayout(layout);
        if (!printReport(writer, errors, designs, puffByPuffValid)) return false;
    }
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(pdf.constData()),
                                              static_cast<std::size_t>(pdf.size()));
    return saveBytes(path.toStdString(), bytes, kErrorStartDocFailed, errors) == 0;
}

bool writeReportPdf(const QString& path, const DesignSet& designs, bool puffByPuffValid,
                    ErrorReporter& errors) {
    // A printer's margins, so the file prints as the page would.
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                         QPageLayout::Millimeter);
    return savePdfReport(path, a4, 300, designs, puffByPuffValid, errors);
}

}  // namespace veltrano
