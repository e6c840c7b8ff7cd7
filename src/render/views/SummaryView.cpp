#include <QPainter>
#include <vector>

#include "render/resources/Palette.h"
#include "render/views/ChartText.h"
#include "render/views/PainterScopes.h"
#include "render/views/PuffTable.h"
#include "render/views/SummaryDrawing.h"
#include "render/views/SummaryTables.h"
#include "render/views/TableDrawing.h"
#include "render/views/Views.h"

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
    painter.setPen(screenPen(palette::frameGrey));
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

    std::vector<int> sectionTops{kHeadingRule};
    sectionTops.insert(sectionTops.end(), layout.sectionRules.begin(), layout.sectionRules.end());
    drawSummarySections(painter, sections,
                        {sectionTops, kHeadingBelowRule, kFirstRowBelowHeading, kRowHeight, 5, 150, 250, 310},
                        {resources.titleFont, palette::frameGrey}, {resources.labelFont, palette::textGrey});
}

void drawPuffTable(QPainter& painter, const ViewResources& resources, const CigaretteDesign& d, bool filled) {
    constexpr int columns = 10, columnWidth = 60, firstColumn = 200, firstRow = 30;
    const QRect box(0, 0, 800, 135);
    drawPanel(painter, box, palette::panelGrey, palette::frameGrey);
    painter.setPen(screenPen(palette::frameGrey));
    drawHorizontalRule(painter, 25, 0, box.right());
    for (int x = firstColumn; x < box.width(); x += columnWidth)
        drawVerticalRule(painter, x, 0, box.bottom());

    painter.setFont(resources.titleFont);
    drawText(painter, 5, 5, "Puff-by-Puff Analysis");
    painter.setFont(resources.labelFont);
    painter.setPen(palette::textGrey);
    const PuffColumnsLayout layout{columns,         firstColumn, columnWidth, 7,
                                   Anchor::TopLeft, 20,          firstRow,    kRowHeight};
    drawPuffRowLabels(painter, Medium::Screen, layout, 5, 150);
    if (filled) drawPuffColumns(painter, d, layout, palette::frameGrey, palette::textGrey);
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
