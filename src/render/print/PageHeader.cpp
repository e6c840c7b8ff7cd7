#include <QPainter>
#include <QPainterPath>

#include "core/design/ProgramName.h"
#include "render/print/PrintBlocks.h"
#include "render/print/SheetFonts.h"
#include "render/resources/Palette.h"
#include "render/views/ChartText.h"
#include "render/views/PainterScopes.h"

namespace veltrano {

namespace {

// The maker's second colour.
inline constexpr QColor kMakerGrey{170, 170, 170};
constexpr int kBaseline = 175;

void drawRun(QPainter& painter, int x, std::string_view text, const QColor& colour) {
    painter.setPen(colour);
    drawText(painter, x, kBaseline, text, Anchor::Baseline);
}

// The maker's emblem: a black tile with a white "k" cut from a stem and two arms, over a grey base
// stripe.
void drawMakerEmblem(QPainter& painter, const QRect& area) {
    PainterScope scope(painter);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    const QRectF tile(area.left(), area.top(), area.width(), area.height() * 0.82);
    const QRectF base(area.left(), area.top() + area.height() * 0.88, area.width(), area.height() * 0.12);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(tile, tile.height() * 0.18, tile.height() * 0.18);
    painter.setBrush(kMakerGrey);
    painter.drawRect(base);

    const double h = tile.height(), stemX = tile.left() + tile.width() * 0.36, weight = h * 0.16;
    const double top = tile.top() + h * 0.16, bottom = tile.bottom() - h * 0.16, waist = tile.center().y();
    QPainterPath k;
    k.addRect(QRectF(stemX, top, weight, bottom - top));
    QPolygonF arms;
    arms << QPointF(stemX + weight, waist - weight * 0.5) << QPointF(stemX + weight + h * 0.34, top)
         << QPointF(stemX + weight + h * 0.34 + weight * 1.2, top)
         << QPointF(stemX + weight + weight * 0.9, waist)
         << QPointF(stemX + weight + h * 0.34 + weight * 1.2, bottom)
         << QPointF(stemX + weight + h * 0.34, bottom) << QPointF(stemX + weight, waist + weight * 0.5);
    k.addPolygon(arms);
    k.setFillRule(Qt::WindingFill);
    painter.setBrush(Qt::white);
    painter.drawPath(k.simplified());
}

}  // namespace

void printHeader(QPainter& painter) {
    PainterScope scope(painter);
    painter.setBackgroundMode(Qt::TransparentMode);
    // The product mark: the name in black, the version in grey.
    painter.setFont(sheetFont(80));
    drawRun(painter, 150, kProgramName, Qt::black);
    drawRun(painter, 560, kProgramVersion, palette::noteGrey);
    // The maker's name fills the room of the black run on its own; the maker's grey is the
    // emblem's stripe.
    painter.setFont(sheetFont(40));
    drawRun(painter, 1520, "korbinel", Qt::black);
    drawMakerEmblem(painter, QRect(1820, 75, 150, 100));
}

}  // namespace veltrano
