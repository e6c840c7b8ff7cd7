#include <QPainter>
#include <vector>

#include "design/NumberText.h"
#include "views/ChartText.h"
#include "views/PainterScopes.h"
#include "views/Palette.h"
#include "views/PuffTable.h"
#include "views/SummaryTables.h"
#include "views/TableDrawing.h"
#include "views/Views.h"

namespace veltrano {

namespace {

constexpr int kPanelWidth = 320, kPanelHeight = 600;
constexpr int kTitleRule = 25, kHeadingRule = 45;
constexpr int kRowHeight = 15, kFirstRowBelowHeading = 20, kHeadingBelowRule = 5;

// A panel of one summary table: its title and the rules above its second and later sections.
struct PanelLayout {
    const char* title;
    int titleCentre;
    std::vector<int> sectionRules;
};

void drawSummaryPanel(QPainter& painter, const ViewResources& resources, const PanelLayout& layout,
                      const std::vector<SummarySection>& sections) {
    const QRect box(0, 0, kPanelWidth, kPanelHeight);
    drawPanel(painter, box, palette::panelGrey, palette::frameGrey);
    painter.setPen(QPen(palette::frameGrey, 0));
    drawHorizontalRule(painter, kTitleRule, 0, box.right());
    drawHorizontalRule(painter, kHeadingRule, 0, box.right());
    for (int y : layout.sectionRules) drawHorizontalRule(painter, y, 0, box.right());
    for (int x : {200, 260}) drawVerticalRule(painter, x, kTitleRule, box.bottom());

    painter.setFont(resources.titleFont);
    painter.setPen(palette::titleGrey);
    drawText(painter, layout.titleCentre, 5, layout.title, Anchor::Centre);
    painter.setFont(resources.labelFont);
    painter.setPen(palette::frameGrey);
    drawText(painter, 230, 30, "Current", Anchor::Centre);
    drawText(painter, 290, 30, "Reference", Anchor::Centre);

    for (std::size_t s = 0; s < sections.size(); ++s) {
        const int sectionTop = s == 0 ? kHeadingRule : layout.sectionRules.at(s - 1);
        const int heading = sectionTop + kHeadingBelowRule;
        painter.setFont(resources.titleFont);
        painter.setPen(palette::frameGrey);
        drawText(painter, 5, heading, sections[s].heading);
        painter.setFont(resources.labelFont);
        painter.setPen(palette::textGrey);
        int y = heading + kFirstRowBelowHeading;
        for (const SummaryRow& row : sections[s].rows) {
            drawText(painter, 5, y, row.label);
            drawText(painter, 150, y, row.unit);
            drawText(painter, 250, y, row.current, Anchor::Right);
            drawText(painter, 310, y, row.reference, Anchor::Right);
            y += kRowHeight;
        }
    }
}

void drawPuffTable(QPainter& painter, const ViewResources& resources, const CigaretteDesign& d, bool filled) {
    constexpr int columns = 10, columnWidth = 60, firstColumn = 200, firstRow = 30;
    const QRect box(0, 0, 800, 135);
    drawPanel(painter, box, palette::panelGrey, palette::frameGrey);
    painter.setPen(QPen(palette::frameGrey, 0));
    drawHorizontalRule(painter, 25, 0, box.right());
    for (int x = firstColumn; x < box.width(); x += columnWidth)
        drawVerticalRule(painter, x, 0, box.bottom());

    painter.setFont(resources.titleFont);
    drawText(painter, 5, 5, "Puff-by-Puff Analysis");
    painter.setFont(resources.labelFont);
    painter.setPen(palette::textGrey);
    const auto& rows = puffTableRows(Medium::Screen);
    for (int r = 0; r < kPuffTableRows; ++r) {
        drawText(painter, 5, firstRow + kRowHeight * r, rows[r].label);
        drawText(painter, 150, firstRow + kRowHeight * r, rows[r].unit);
    }
    if (!filled) return;

    const std::vector<int> shown = puffTableColumns(puffCount(d), columns);
    for (std::size_t j = 0; j < shown.size(); ++j) {
        const int centre = firstColumn + columnWidth / 2 + columnWidth * static_cast<int>(j);
        const int right = centre + 20;
        const bool dots = shown[j] == kDotsColumn;
        painter.setPen(palette::frameGrey);
        drawText(painter, centre, 7, dots ? kDots : formatText("%i", {static_cast<long long>(shown[j] + 1)}),
                 Anchor::Centre);
        painter.setPen(palette::textGrey);
        for (int r = 0; r < kPuffTableRows; ++r) {
            const int y = firstRow + kRowHeight * r;
            if (dots)
                drawText(painter, centre, y, kDots, Anchor::Centre);
            else
                drawText(painter, right, y, puffCellText(d, r, shown[j]), Anchor::Right);
        }
    }
}

}  // namespace

void drawSummaryView(QPainter& painter, const ViewResources& resources, const DesignSet& designs,
                     bool puffByPuffValid) {
    PainterScope scope(painter);
    beginView(painter, resources.labelFont);
    {
        BlockScope block(painter, 20, 10);
        drawSummaryPanel(painter, resources, {"Cigarette Parameters", 165, {165, 225, 390, 510}},
                         parameterSummary(designs, Medium::Screen));
    }
    {
        BlockScope block(painter, 500, 10);
        drawSummaryPanel(painter, resources, {"Results", 155, {165, 345}},
                         resultSummary(designs, Medium::Screen));
    }
    BlockScope block(painter, 20, 620);
    drawPuffTable(painter, resources, designs.currentDesign,
                  puffTableFilled(designs.currentDesign, puffByPuffValid));
}

}  // namespace veltrano
