#pragma once

#include <QPainter>

namespace veltrano {

// Keeps a painter's state for one scope: whatever a painter changes (pen, font, origin, hints) is
// undone when the scope ends.
class PainterScope {
public:
    explicit PainterScope(QPainter& painter) : painter_(painter) { painter_.save(); }
    ~PainterScope() { painter_.restore(); }
    PainterScope(const PainterScope&) = delete;
    PainterScope& operator=(const PainterScope&) = delete;

private:
    QPainter& painter_;
};

// A line pen of the screen: one logical pixel wide, so one device pixel at 100 % and two at 200 %
// (a cosmetic 0-width pen would stay one device pixel, a hairline on a high-resolution screen).
inline QPen screenPen(const QColor& colour, Qt::PenStyle style = Qt::SolidLine) {
    return QPen(QBrush(colour), 1, style);
}

// A view's defaults: aliased 1-pixel lines, black pen, text on a transparent background in `font`.
inline void beginView(QPainter& painter, const QFont& font) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(screenPen(Qt::black));
    painter.setBrush(Qt::NoBrush);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(font);
}

// Draws the piece `source` of a picture with its top-left corner at `at`. `source` is in logical pixels
// of a picture made for any device pixel ratio. The piece is copied out first: the SVG writer embeds a
// whole picture and would squeeze all of it into the piece's place.
inline void drawImagePiece(QPainter& painter, QPoint at, const QImage& image, const QRect& source) {
    const double ratio = image.devicePixelRatio();
    const QRect pixels(qRound(source.x() * ratio), qRound(source.y() * ratio), qRound(source.width() * ratio),
                       qRound(source.height() * ratio));
    painter.drawImage(at, image.copy(pixels));
}

// A block drawn in local coordinates: the origin moves to the block's position for the scope.
class BlockScope : public PainterScope {
public:
    BlockScope(QPainter& painter, int x, int y) : PainterScope(painter) { painter.translate(x, y); }
};

}  // namespace veltrano
