#include "render/views/ChartText.h"

#include <QPainter>

namespace veltrano {

QRect textCell(const QFontMetrics& metrics, int x, int y, const QString& text, Anchor anchor) {
    const int width = metrics.horizontalAdvance(text);
    int left = x;
    if (hasAnchor(anchor, Anchor::Right))
        left = x - width;
    else if (hasAnchor(anchor, Anchor::Centre))
        left = x - width / 2;
    int top = y;
    if (hasAnchor(anchor, Anchor::Bottom))
        top = y - metrics.ascent() - metrics.descent();
    else if (hasAnchor(anchor, Anchor::Baseline))
        top = y - metrics.ascent();
    return QRect(left, top, width, metrics.ascent() + metrics.descent());
}

QRect drawText(QPainter& painter, int x, int y, const QString& text, Anchor anchor) {
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect cell = textCell(metrics, x, y, text, anchor);
    const Qt::BGMode mode = painter.backgroundMode();
    if (mode == Qt::OpaqueMode) {
        painter.fillRect(cell, painter.background());
        painter.setBackgroundMode(Qt::TransparentMode);
    }
    painter.drawText(QPoint(cell.left(), cell.top() + metrics.ascent()), text);
    painter.setBackgroundMode(mode);
    return cell;
}

QRect drawText(QPainter& painter, int x, int y, std::string_view utf8, Anchor anchor) {
    return drawText(painter, x, y, QString::fromUtf8(utf8.data(), qsizetype(utf8.size())), anchor);
}

}  // namespace veltrano
