#include "render/views/SummaryDrawing.h"

#include <QPainter>

#include "core/design/NumberText.h"
#include "render/views/PuffTable.h"

namespace veltrano {

void drawSummarySections(QPainter& painter, const std::vector<SummarySection>& sections,
                         const SummaryLayout& layout, const TextStyle& heading, const TextStyle& rows) {
    for (std::size_t s = 0; s < sections.size() && s < layout.sectionTops.size(); ++s) {
        const int headingY = layout.sectionTops[s] + layout.headingInset;
        painter.setFont(heading.font);
        painter.setPen(heading.colour);
        drawText(painter, layout.labelX, headingY, sections[s].heading);
        painter.setFont(rows.font);
        painter.setPen(rows.colour);
        int y = headingY + layout.firstRowBelowHeading;
        for (const SummaryRow& row : sections[s].rows) {
            drawText(painter, layout.labelX, y, row.label);
            drawText(painter, layout.unitX, y, row.unit);
            drawText(painter, layout.currentRight, y, row.current, Anchor::Right);
            drawText(painter, layout.referenceRight, y, row.reference, Anchor::Right);
            y += layout.rowHeight;
        }
    }
}

void drawPuffRowLabels(QPainter& painter, Medium medium, const PuffColumnsLayout& layout, int labelX,
                       int unitX) {
    const auto& rows = puffTableRows(medium);
    for (int r = 0; r < kPuffTableRows; ++r) {
        drawText(painter, labelX, layout.firstRow + layout.rowHeight * r, rows[r].label);
        drawText(painter, unitX, layout.firstRow + layout.rowHeight * r, rows[r].unit);
    }
}

void drawPuffColumns(QPainter& painter, const CigaretteDesign& design, const PuffColumnsLayout& layout,
                     const QColor& headingColour, const QColor& valueColour) {
    const std::vector<int> shown = puffTableColumns(puffCount(design), layout.columns);
    for (std::size_t j = 0; j < shown.size(); ++j) {
        const int centre =
            layout.firstColumn + layout.columnWidth / 2 + layout.columnWidth * static_cast<int>(j);
        const bool dots = shown[j] == kDotsColumn;
        painter.setPen(headingColour);
        drawText(painter, centre, layout.headingY,
                 dots ? kDots : formatText("%i", {static_cast<long long>(shown[j] + 1)}),
                 layout.headingAnchor | Anchor::Centre);
        painter.setPen(valueColour);
        for (int r = 0; r < kPuffTableRows; ++r) {
            const int y = layout.firstRow + layout.rowHeight * r;
            if (dots)
                drawText(painter, centre, y, kDots, Anchor::Centre);
            else
                drawText(painter, centre + layout.valueRightOfCentre, y, puffCellText(design, r, shown[j]),
                         Anchor::Right);
        }
    }
}

}  // namespace veltrano
