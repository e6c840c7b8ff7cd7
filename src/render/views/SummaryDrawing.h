#pragma once

#include <QColor>
#include <QFont>
#include <vector>

#include "core/design/CigaretteDesign.h"
#include "render/views/ChartText.h"
#include "render/views/SummaryTables.h"

class QPainter;

namespace veltrano {

// The summary tables as the screen and the paper draw them: the same cells, each medium with its
// own geometry, fonts and colours. Frames and rules are the caller's.

struct TextStyle {
    QFont font;
    QColor colour;
};

// Where the rows of the parameter and result tables go. Section s starts at sectionTops[s]; its
// heading stands `headingInset` below that, its first row `firstRowBelowHeading` below the heading
// and the following rows `rowHeight` apart. Labels and units are left-aligned at their x, the two
// values right-aligned at theirs.
struct SummaryLayout {
    std::vector<int> sectionTops;
    int headingInset;
    int firstRowBelowHeading;
    int rowHeight;
    int labelX, unitX, currentRight, referenceRight;
};
void drawSummarySections(QPainter& painter, const std::vector<SummarySection>& sections,
                         const SummaryLayout& layout, const TextStyle& heading, const TextStyle& rows);

// Where the puff columns of the per-puff table go: column j is centred at
// firstColumn + columnWidth / 2 + columnWidth × j; its puff number (or the dots) stands at that
// centre, its height at `headingY` by the vertical `headingAnchor`; its values are right-aligned
// `valueRightOfCentre` right of the centre (the dots centred), at firstRow + rowHeight × r.
struct PuffColumnsLayout {
    int columns;
    int firstColumn, columnWidth;
    int headingY;
    Anchor headingAnchor;
    int valueRightOfCentre;
    int firstRow, rowHeight;
};
// The labels and units of the seven rows, left-aligned at labelX and unitX, in the painter's font
// and pen.
void drawPuffRowLabels(QPainter& painter, Medium medium, const PuffColumnsLayout& layout, int labelX,
                       int unitX);
// Fills the puff columns of `design` in the painter's font.
void drawPuffColumns(QPainter& painter, const CigaretteDesign& design, const PuffColumnsLayout& layout,
                     const QColor& headingColour, const QColor& valueColour);

}  // namespace veltrano
