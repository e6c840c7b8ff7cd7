#include "render/print/PrintedPage.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

#include "render/print/PrintBlocks.h"
#include "render/print/SheetFonts.h"
#include "render/views/PainterScopes.h"

namespace veltrano {

QRect sheetViewport(QSize printable) {
    const double scale =
        std::min(double(printable.width()) / kSheetWidth, double(printable.height()) / kSheetHeight);
    if (!(scale > 0)) return {};
    return QRect(0, 0, qRound(kSheetWidth * scale), qRound(kSheetHeight * scale));
}

void drawSheet(QPainter& painter, const DesignSet& designs, bool puffByPuffValid) {
    const CigaretteDesign& current = designs.currentDesign;
    printParameterTable(painter, {150, 220}, designs);
    printResultTable(painter, {1085, 220}, designs);
    printStationaryChart(painter, {150, 1390}, current);
    printPuffCharts(painter, {940, 1390}, current);
    printChartLegend(painter, {150, 1990}, current);
    printInformation(painter, {150, 2140}, designs.informationText);
    printPuffTable(painter, {150, 2590}, current, puffByPuffValid);
    printHeader(painter);
}

void renderReport(QPainter& painter, QSize printable, const DesignSet& designs, bool puffByPuffValid) {
    PainterScope scope(painter);
    painter.setWindow(0, 0, kSheetWidth, kSheetHeight);
    painter.setViewport(sheetViewport(printable));
    painter.setFont(sheetFont(kPageFontSize));
    drawSheet(painter, designs, puffByPuffValid);
}

// The device-context steps of a print job in Qt: QPainter::begin starts the document and its page,
// QPainter::end ends both. Obtaining the device context and attaching it (064, 065) are the dialog's
// printer being valid (checked by the caller), and starting and ending the page (067, 068) have no
// step of their own in Qt, so 065, 067 and 068 are never reported.
bool printReport(QPaintDevice& device, ErrorReporter& errors, const DesignSet& designs,
                 bool puffByPuffValid) {
    QPainter painter;
    if (!painter.begin(&device)) {
        ReportError(errors, kErrorStartDocFailed);
        return false;
    }
    renderReport(painter, QSize(device.width(), device.height()), designs, puffByPuffValid);
    if (!painter.end()) {
        ReportError(errors, kErrorEndDocFailed);
        return false;
    }
    return true;
}

}  // namespace veltrano
