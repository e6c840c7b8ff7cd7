#include "render/views/Axis.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "core/design/NumberText.h"
#include "render/views/ChartText.h"

namespace veltrano {

namespace {

// Far beyond any client area or sheet, yet far from the int range.
constexpr int kFarAway = 1 << 20;
// A minimum that is a whole number of steps gives its first tick one step above it, even when the
// division rounds just below; tick numbers stay far inside the int range.
constexpr double kWholeStepSlack = 1e-9, kFarthestTick = 1e9;

int sign(int v) {
    return (v > 0) - (v < 0);
}

}  // namespace

void drawAxisLine(QPainter& painter, QPoint start, QPoint tip, const ArrowStyle& arrow) {
    painter.drawLine(start, tip);
    // Unit vector pointing back from the tip along the axis, and one across it.
    const QPoint back(sign(start.x() - tip.x()), sign(start.y() - tip.y()));
    const QPoint across(back.y(), back.x());
    const QPoint head = tip + back * arrow.inset;
    const QPoint base = head + back * arrow.length;
    const QPoint left = base + across * arrow.halfWidth, right = base - across * arrow.halfWidth;
    if (arrow.filled) {
        painter.save();
        painter.setBrush(painter.pen().color());
        painter.drawPolygon(QPolygon({head, left, right}));
        painter.restore();
    } else {
        painter.drawLine(head, left);
        painter.drawLine(head, right);
    }
}

int toPixels(double length) {
    return std::clamp(checkedToInt(length), -kFarAway, kFarAway);
}

int axisPosition(const TickAxis& axis, double value) {
    const int offset = axisOffset(value - axis.range.minimum, axisScale(axis.plotLength, axis.range));
    return axis.direction == AxisDirection::Up ? axis.origin - offset : axis.origin + offset;
}

std::vector<Tick> axisTicks(const TickAxis& axis) {
    std::vector<Tick> ticks;
    if (!hasScale(axis.range)) return ticks;
    const int cap = std::max(axis.plotLength, 0) + 1;
    const double below = std::floor(axis.range.minimum / axis.range.step + kWholeStepSlack);
    if (std::fabs(below) > kFarthestTick) return ticks;
    for (int k = static_cast<int>(below) + 1, n = 0; n < cap; ++k, ++n) {
        const int position = axisPosition(axis, k * axis.range.step);
        const bool inside =
            axis.direction == AxisDirection::Up ? position > axis.limit : position < axis.limit;
        if (!inside) break;
        ticks.push_back({k, position});
    }
    return ticks;
}

int drawTicks(QPainter& painter, const TickAxis& axis, const TickStyle& style) {
    const std::vector<Tick> ticks = axisTicks(axis);
    for (const Tick& tick : ticks) {
        const bool labelled = style.labelEvery > 0 && tick.k % style.labelEvery == 0;
        const int length = labelled ? style.longLength : style.shortLength;
        if (axis.direction == AxisDirection::Up) {
            painter.drawLine(axis.axis - length, tick.position, axis.axis, tick.position);
        } else {
            painter.drawLine(tick.position, axis.axis, tick.position, axis.axis + length);
        }
        if (!labelled) continue;
        const std::string label =
            formatText(style.labelFormat, {tick.k * axis.range.step / style.labelDivisor});
        if (axis.direction == AxisDirection::Up) {
            drawText(painter, axis.axis - style.labelGap, tick.position - style.labelRaise, label,
                     Anchor::Right);
        } else {
            drawText(painter, tick.position, axis.axis + style.labelGap, label, Anchor::Centre);
        }
    }
    return static_cast<int>(ticks.size());
}

}  // namespace veltrano
