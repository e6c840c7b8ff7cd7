#include "render/charts/ChartParts.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QPainter>

#include "core/design/NumberText.h"
#include "render/resources/Palette.h"
#include "render/views/ChartText.h"
#include "render/views/PainterScopes.h"
#include "render/views/TableDrawing.h"

namespace veltrano {

namespace {

constexpr std::array<QColor, 8> kSeriesColours{palette::lightBlue,   palette::darkGreen,  QColor(230, 120, 0),
                                               palette::darkBlue,    QColor(200, 40, 60), palette::lightGreen,
                                               QColor(130, 70, 170), QColor(140, 90, 40)};

constexpr int kTickLabelGap = 9, kHeaderGap = 14, kArrowRoom = 8, kAxisStart = 5;
// The keys under an axis's header: a short line per curve it scales.
constexpr int kKeyGap = 7, kKeyWidth = 9;
constexpr int kBoxPadding = 5, kBoxLineGap = 2, kBoxOffset = 12;

std::string tickLabel(const ChartScale& scale, double value) {
    return formatText(scale.labelFormat, {value});
}

}  // namespace

void Extent::add(double value) {
    if (!std::isfinite(value)) return;
    lo = std::min(lo, value);
    hi = std::max(hi, value);
}

QPen seriesPen(int k) {
    const std::size_t n = kSeriesColours.size();
    QPen pen(kSeriesColours[static_cast<std::size_t>(k) % n], 2);
    if (static_cast<std::size_t>(k) >= n) pen.setStyle(Qt::DashLine);
    return pen;
}

int valueAxisWidth(const QFontMetrics& m, const ChartScale& scale, const std::string& header) {
    int labels = 0;
    for (double v : {scale.range.minimum, scale.range.maximum})
        labels = std::max(labels, m.horizontalAdvance(QString::fromStdString(tickLabel(scale, v))));
    return std::max(labels + kTickLabelGap + 8, m.horizontalAdvance(QString::fromStdString(header)) / 2 + 12);
}

int inputAxisHeight(const QFontMetrics& metrics) {
    return kAxisStart + 2 * metrics.height() + 10;
}

void drawValueAxis(QPainter& painter, const ChartScale& scale, int x, int start, int length, int top,
                   const std::string& header, const std::vector<QColor>& keys) {
    PainterScope scope(painter);
    painter.setPen(QPen(palette::black, 0));
    drawAxisLine(painter, QPoint(x, start + kAxisStart), QPoint(x, top), kScreenArrow);
    drawTicks(painter, scale.axis(AxisDirection::Up, x, start, length), scale.tickStyle(kTickLabelGap));
    const int keysTop = top - kKeyGap;
    drawText(painter, x, keys.empty() ? top - kHeaderGap : keysTop - kHeaderGap, header, Anchor::Centre);
    const int width = static_cast<int>(keys.size()) * kKeyWidth;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const int left = x - width / 2 + static_cast<int>(k) * kKeyWidth;
        painter.fillRect(QRect(left + 1, keysTop, kKeyWidth - 2, 3), keys[k]);
    }
}

void drawInputAxis(QPainter& painter, const ChartScale& scale, int y, int start, int length, int left,
                   int right, const std::string& title) {
    PainterScope scope(painter);
    painter.setPen(QPen(palette::black, 0));
    drawAxisLine(painter, QPoint(left - kAxisStart, y), QPoint(right + kArrowRoom, y), kScreenArrow);
    drawTicks(painter, scale.axis(AxisDirection::Right, y, start, length), scale.tickStyle(kTickLabelGap));
    drawText(painter, start + length / 2, y + kTickLabelGap + painter.fontMetrics().height() + 4, title,
             Anchor::Centre);
}

void drawInfoBox(QPainter& painter, QPoint anchor, const std::vector<InfoLine>& lines, const QRect& bounds) {
    if (lines.empty()) return;
    PainterScope scope(painter);
    const QFontMetrics m = painter.fontMetrics();
    int width = 0;
    for (const InfoLine& line : lines)
        width = std::max(width, m.horizontalAdvance(QString::fromStdString(line.text)));
    const int lineHeight = m.height() + kBoxLineGap;
    QRect box(0, 0, width + 2 * kBoxPadding, static_cast<int>(lines.size()) * lineHeight + 2 * kBoxPadding);
    box.moveTopLeft(anchor + QPoint(kBoxOffset, kBoxOffset));
    if (box.right() > bounds.right()) box.moveRight(anchor.x() - kBoxOffset);
    if (box.bottom() > bounds.bottom()) box.moveBottom(anchor.y() - kBoxOffset);
    box.moveLeft(std::max(box.left(), bounds.left()));
    box.moveTop(std::max(box.top(), bounds.top()));
    drawPanel(painter, box, palette::white, palette::frameGrey);
    int y = box.top() + kBoxPadding;
    for (const InfoLine& line : lines) {
        painter.setPen(line.colour);
        drawText(painter, box.left() + kBoxPadding, y, line.text);
        y += lineHeight;
    }
}

void drawChartTitle(QPainter& painter, const QFont& font, const std::string& title) {
    PainterScope scope(painter);
    painter.setFont(font);
    painter.setPen(palette::textGrey);
    drawText(painter, kChartMargin, kChartMargin, title);
}

}  // namespace veltrano
