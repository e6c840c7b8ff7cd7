#pragma once

#include <QPainter>
#include <QPen>
#include <QPoint>

#include "render/print/PrintBlocks.h"
#include "render/views/PainterScopes.h"

namespace veltrano {

// A pen of the sheet: black, `width` sheet units wide. Thick curves get round ends and joins.
inline QPen paperPen(int width) {
    QPen pen(Qt::black, width);
    if (width > kThinPen) {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    return pen;
}

// A block of the sheet for one scope: the origin moved to the block, the thin pen, text in the
// page font (the painter's font on entry) on a transparent background, no fill.
class PaperBlock : public BlockScope {
public:
    PaperBlock(QPainter& painter, QPoint origin) : BlockScope(painter, origin.x(), origin.y()) {
        beginView(painter, painter.font());
        painter.setPen(paperPen(kThinPen));
    }
};

}  // namespace veltrano
