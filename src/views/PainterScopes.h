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

// A view's defaults: aliased 1-pixel lines, black pen, text on a transparent background in `font`.
inline void beginView(QPainter& painter, const QFont& font) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(font);
}

// Draws the piece `source` of a picture with its top-left corner at `at`. The piece is copied out
// first: the SVG writer embeds a whole picture and would squeeze all of it into the piece's place.
inline void drawImagePiece(QPainter& painter, QPoint at, const QImage& image, const QRect& source) {
    painter.drawImage(at, image.copy(source));
}

// A block drawn in local coordinates: the origin moves to the block's position for the scope.
class BlockScope : public PainterScope {
public:
    BlockScope(QPainter& painter, int x, int y) : PainterScope(painter) { painter.translate(x, y); }
};

}  // namespace veltrano
