#pragma once

#include <QPoint>
#include <vector>

#include "render/views/AxisRules.h"

class QPainter;

namespace veltrano {

// How an axis ends: screen axes carry a narrow open arrowhead (two strokes), paper axes a filled
// triangle. `length` runs back along the axis from `inset` inside its end; the head spreads
// `halfWidth` to either side.
struct ArrowStyle {
    bool filled;
    int length;
    int halfWidth;
    int inset;
};
inline constexpr ArrowStyle kScreenArrow{false, 4, 1, 1};
inline constexpr ArrowStyle kPaperArrow{true, 30, 5, 0};

// An axis line from `start` to `tip` (horizontal or vertical) in the painter's pen, with the
// arrowhead at `tip`; a filled head takes the pen's colour.
void drawAxisLine(QPainter& painter, QPoint start, QPoint tip, const ArrowStyle& arrow);

// A scaled axis: vertical axes grow upward from `origin`, horizontal ones to the right.
enum class AxisDirection { Up, Right };
struct TickAxis {
    AxisDirection direction;
    int axis;        // x of a vertical axis, y of a horizontal one
    int origin;      // where the range's minimum (the value 0 of the result views) lies along the axis
    int limit;       // ticks lie strictly before this position
    int plotLength;  // the length the range spans
    AxisRange range;
};

// A length in pixels (or sheet units): truncated toward zero, NaN as 0, and bounded far beyond any
// client area or sheet so that positions computed from it can never overflow.
int toPixels(double length);
// Offset along an axis of a value at `scale`: toPixels(value × scale).
inline int axisOffset(double value, double scale) {
    return toPixels(value * scale);
}
// The position of a value on the axis.
int axisPosition(const TickAxis& axis, double value);

// The ticks at the values k × step above the range's minimum (k = 1, 2, ... from 0), as long as they
// lie strictly inside the limit; none for an axis without a scale, and never more than plotLength + 1.
struct Tick {
    int k;
    int position;
};
std::vector<Tick> axisTicks(const TickAxis& axis);

// How the ticks look. Ticks of vertical axes reach to the left, those of horizontal axes downward.
// Every `labelEvery`-th tick is long and labelled with `labelFormat` of k × step / labelDivisor
// ("%i" truncates). A vertical axis's label is right-aligned `labelGap` left of the axis with its
// top `labelRaise` above the tick; a horizontal axis's label is centred with its top `labelGap`
// below the axis.
struct TickStyle {
    int shortLength;
    int longLength;
    int labelEvery;
    const char* labelFormat;
    int labelGap;
    int labelRaise = 7;
    double labelDivisor = 1.0;
};

// Draws the ticks and labels in the painter's pen and font; returns how many ticks it drew.
int drawTicks(QPainter& painter, const TickAxis& axis, const TickStyle& style);

}  // namespace veltrano
