#pragma once

#include <limits>
#include <string>
#include <vector>

#include <QColor>
#include <QPen>
#include <QRect>

#include "render/charts/ChartScale.h"

class QFontMetrics;
class QPainter;

namespace veltrano {

// What the sweep chart and the design map draw alike: series pens, scaled axes with their titles, the
// marks of today's design, and the box of numbers that follows the pointer.

// The pen of the k-th curve of a chart: eight colours (the views' four first), then the same dashed.
QPen seriesPen(int k);

// A vertical axis at x from `start` (where the minimum lies) up to `top` (where its arrow ends), scaled
// over `length` pixels, its ticks and labels to the left and `header` centred above it; with `keys`,
// a short line in each of those colours between header and arrow tells which curves it scales.
void drawValueAxis(QPainter& painter, const ChartScale& scale, int x, int start, int length, int top,
                   const std::string& header, const std::vector<QColor>& keys = {});
// The room above an axis's arrow that its header (and keys) take.
inline constexpr int kAxisHeaderRoom = 24;
// A horizontal axis at y from `left` to `right` (its arrow), scaled from `start` over `length`, its
// labels below and `title` centred under the labels.
void drawInputAxis(QPainter& painter, const ChartScale& scale, int y, int start, int length, int left,
                   int right, const std::string& title);
// The room a vertical axis of this scale needs left of its line for its labels, and the room under a
// horizontal axis for its labels and title.
int valueAxisWidth(const QFontMetrics& metrics, const ChartScale& scale, const std::string& header);
int inputAxisHeight(const QFontMetrics& metrics);

// The lowest and highest of the values added that are numbers (lo above hi while there are none).
struct Extent {
    double lo = std::numeric_limits<double>::infinity(), hi = -std::numeric_limits<double>::infinity();
    void add(double value);
};

// A line of the pointer's box, in its colour.
struct InfoLine {
    std::string text;
    QColor colour;
};
// The box of lines beside `anchor`: to its lower right, or where it fits inside `bounds`.
void drawInfoBox(QPainter& painter, QPoint anchor, const std::vector<InfoLine>& lines, const QRect& bounds);

// The pixels an axis spans over a plot: from the plot's left (bottom) edge pixel to its right (top) one.
inline int spanAcross(const QRect& plot) {
    return plot.width() - 1;
}
inline int spanUp(const QRect& plot) {
    return plot.height() - 1;
}

// The chart's title at its top left.
void drawChartTitle(QPainter& painter, const QFont& font, const std::string& title);
inline constexpr int kChartMargin = 10, kTitleHeight = 24;

}  // namespace veltrano
