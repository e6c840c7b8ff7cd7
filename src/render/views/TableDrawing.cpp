#include "render/views/TableDrawing.h"

#include <QPainter>

#include "render/views/ChartText.h"

namespace veltrano {

void drawFrame(QPainter& painter, const QRect& box, const QColor& colour, int penWidth) {
    painter.save();
    painter.setPen(QPen(colour, penWidth));
    drawHorizontalRule(painter, box.top(), box.left(), box.right());
    drawHorizontalRule(painter, box.bottom(), box.left(), box.right());
    drawVerticalRule(painter, box.left(), box.top(), box.bottom());
    drawVerticalRule(painter, box.right(), box.top(), box.bottom());
    painter.restore();
}

void fillPanel(QPainter& painter, const QRect& box, const QColor& fill) {
    painter.fillRect(box.adjusted(0, 0, -1, -1), fill);
}

void drawPanel(QPainter& painter, const QRect& box, const QColor& fill, const QColor& frame) {
    fillPanel(painter, box, fill);
    drawFrame(painter, box, frame);
}

void drawHorizontalRule(QPainter& painter, int y, int fromX, int toX) {
    painter.drawLine(fromX, y, toX, y);
}

void drawVerticalRule(QPainter& painter, int x, int fromY, int toY) {
    painter.drawLine(x, fromY, x, toY);
}

void drawValueWithUnit(QPainter& painter, int numberRight, int y, std::string_view number,
                       std::string_view unit) {
    drawText(painter, numberRight, y, number, Anchor::Right);
    if (!unit.empty()) drawText(painter, numberRight + kUnitGap, y, unit);
}

void drawLegendLine(QPainter& painter, const QPen& pen, int x1, int x2, int lineY, int textX, int textTop,
                    std::string_view name) {
    painter.save();
    painter.setPen(pen);
    painter.drawLine(x1, lineY, x2, lineY);
    painter.setPen(pen.color());
    drawText(painter, textX, textTop, name);
    painter.restore();
}

void drawLegendSwatch(QPainter& painter, const QColor& colour, const QRect& swatch, int textX, int textTop,
                      std::string_view name) {
    painter.save();
    painter.fillRect(swatch, colour);
    painter.setPen(colour);
    drawText(painter, textX, textTop, name);
    painter.restore();
}

}  // namespace veltrano
