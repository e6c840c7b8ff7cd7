#pragma once

#include <QColor>
#include <QRect>
#include <string_view>

class QPainter;
class QPen;

namespace veltrano {

// Result tables and legends, on screen and on paper.

// A frame on the outermost pixels of `box` (its right and bottom edges at right() and bottom()), in
// lines of `penWidth` (one logical pixel, as on screen; paper gives sheet units).
void drawFrame(QPainter& painter, const QRect& box, const QColor& colour, int penWidth = 1);
// The fill of a box whose frame lies on its outermost pixels. The frame's line is centred on those
// pixels, so on a high-density screen it reaches half a pixel beyond them: the fill stops short of the
// right and bottom edges to end under the frame there too, never outside it.
void fillPanel(QPainter& painter, const QRect& box, const QColor& fill);
// A filled box with a 1-pixel frame: the result boxes and tables of the views.
void drawPanel(QPainter& painter, const QRect& box, const QColor& fill, const QColor& frame);
// Rules in the painter's pen, both ends included.
void drawHorizontalRule(QPainter& painter, int y, int fromX, int toX);
void drawVerticalRule(QPainter& painter, int x, int fromY, int toY);

// A value cell: the number right-aligned at `numberRight`, its unit from `unitGap` to the right of it.
inline constexpr int kUnitGap = 10;
void drawValueWithUnit(QPainter& painter, int numberRight, int y, std::string_view number,
                       std::string_view unit);

// A legend entry: a sample line from x1 to x2 at lineY in `pen`, and the name in the pen's colour
// with its top-left corner at (textX, textTop).
void drawLegendLine(QPainter& painter, const QPen& pen, int x1, int x2, int lineY, int textX, int textTop,
                    std::string_view name);
// A legend entry of a bar chart: a solid swatch and the name in the swatch colour.
void drawLegendSwatch(QPainter& painter, const QColor& colour, const QRect& swatch, int textX, int textTop,
                      std::string_view name);

}  // namespace veltrano
