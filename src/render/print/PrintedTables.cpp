#include <QPainter>
#include <vector>

#include "core/design/Windows1252.h"
#include "render/print/PaperBlock.h"
#include "render/print/PrintBlocks.h"
#include "render/print/SheetFonts.h"
#include "render/print/TextWrap.h"
#include "render/views/ChartText.h"
#include "render/views/PuffTable.h"
#include "render/views/SummaryDrawing.h"
#include "render/views/SummaryTables.h"
#include "render/views/TableDrawing.h"

namespace veltrano {

namespace {

// The common table form: a frame, a title band of 80 units with the title in 30 units, its
// bottom at 65.
constexpr int kTitleBand = 80, kTitleBottom = 65, kTextLeft = 20;

void drawTableForm(QPainter& painter, const QRect& box, const char* title) {
    drawFrame(painter, box, Qt::black, kThinPen);
    drawHorizontalRule(painter, kTitleBand, box.left(), box.right());
    PainterScope scope(painter);
    painter.setFont(sheetFont(kTitleFontSize));
    drawText(painter, kTextLeft, kTitleBottom, title, Anchor::Bottom);
}

// The parameter and result tables: two value columns, sections in bands of 40 units between two
// rules, rows of 30 starting 5 below their band.
constexpr int kSummaryWidth = 885, kSummaryHeight = 1140, kBand = 40;

void printSummaryTable(QPainter& painter, QPoint origin, const char* title, const std::vector<int>& bandTops,
                       const std::vector<SummarySection>& sections) {
    PaperBlock block(painter, origin);
    const QFont page = painter.font();
    const QRect box(0, 0, kSummaryWidth, kSummaryHeight);
    drawTableForm(painter, box, title);
    for (int x : {505, 695}) drawVerticalRule(painter, x, kTitleBand, box.bottom());
    for (int top : bandTops) {
        drawHorizontalRule(painter, top, box.left(), box.right());
        drawHorizontalRule(painter, top + kBand, box.left(), box.right());
    }
    drawText(painter, 600, kTitleBottom, "Current", Anchor::Centre | Anchor::Bottom);
    drawText(painter, 790, kTitleBottom, "Reference", Anchor::Centre | Anchor::Bottom);

    QFont bold = page;
    bold.setWeight(QFont::Bold);
    constexpr int headingInset = 5;
    drawSummarySections(painter, sections, {bandTops, headingInset, kBand, 30, kTextLeft, 380, 640, 830},
                        {bold, Qt::black}, {page, Qt::black});
}

}  // namespace

void printParameterTable(QPainter& painter, QPoint origin, const DesignSet& designs) {
    printSummaryTable(painter, origin, "Cigarette Parameters", {80, 310, 420, 740, 970},
                      parameterSummary(designs, Medium::Paper));
}

void printResultTable(QPainter& painter, QPoint origin, const DesignSet& designs) {
    printSummaryTable(painter, origin, "Simulation Results", {80, 310, 660},
                      resultSummary(designs, Medium::Paper));
}

void printInformation(QPainter& painter, QPoint origin, const InformationText& text) {
    PaperBlock block(painter, origin);
    drawTableForm(painter, QRect(0, 0, 740, 420), "Information");

    // Windows-1252 bytes up to the first zero; "&" is an ordinary character here.
    const std::u32string decoded = decodeWindows1252(informationTextString(text));
    const QString information = QString::fromUcs4(decoded.data(), qsizetype(decoded.size()));
    // The lines that fit whole into the area; the rest is cut off.
    const QRect area(QPoint(kTextLeft, 85), QPoint(720, 405));
    const QFontMetrics metrics = painter.fontMetrics();
    painter.setClipRect(area, Qt::IntersectClip);
    int y = area.top();
    for (const QString& line : wrapText(information, metrics, area.width())) {
        if (y + metrics.height() > area.bottom() + 1) break;
        drawText(painter, area.left(), y, line);
        y += metrics.height();
    }
}

void printPuffTable(QPainter& painter, QPoint origin, const CigaretteDesign& current, bool puffByPuffValid) {
    PaperBlock block(painter, origin);
    const QRect box(0, 0, 1820, 300);
    drawTableForm(painter, box, "Puff-by-Puff Analysis");
    constexpr int columns = 11, firstColumn = 500, columnWidth = 120;
    constexpr int lastRule = firstColumn + columnWidth * (columns - 1);
    for (int x = firstColumn; x <= lastRule; x += columnWidth)
        drawVerticalRule(painter, x, box.top(), box.bottom());

    const PuffColumnsLayout layout{columns,        firstColumn, columnWidth, kTitleBottom,
                                   Anchor::Bottom, 40,          85,          30};
    drawPuffRowLabels(painter, Medium::Paper, layout, kTextLeft, 380);
    if (puffTableFilled(current, puffByPuffValid))
        drawPuffColumns(painter, current, layout, Qt::black, Qt::black);
}

}  // namespace veltrano
