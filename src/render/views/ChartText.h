#pragma once

#include <QFontMetrics>
#include <QRect>
#include <QString>
#include <string_view>

class QPainter;

namespace veltrano {

// Where the point (x, y) lies on the text cell: by default its top-left corner. The horizontal and
// the vertical choice combine: Anchor::Right | Anchor::Bottom.
enum class Anchor : unsigned {
    TopLeft = 0,
    Right = 1,     // x is the right edge
    Centre = 2,    // x is the horizontal centre
    Bottom = 4,    // y is the bottom of the cell (below the descent)
    Baseline = 8,  // y is the baseline
};
constexpr Anchor operator|(Anchor a, Anchor b) {
    return Anchor(unsigned(a) | unsigned(b));
}
constexpr bool hasAnchor(Anchor a, Anchor flag) {
    return (unsigned(a) & unsigned(flag)) != 0;
}

// The cell that text placed at (x, y) by `anchor` occupies: advance width × (ascent + descent).
QRect textCell(const QFontMetrics& metrics, int x, int y, const QString& text, Anchor anchor);

// Draws text in the painter's font and pen colour, placed at (x, y) by `anchor`. With an opaque
// background mode the cell is filled with the painter's background first. Returns the cell.
// Every text of the views and the printed page goes through here.
QRect drawText(QPainter& painter, int x, int y, const QString& text, Anchor anchor = Anchor::TopLeft);
// The same for UTF-8 text (what formatText gives and what the literals hold).
QRect drawText(QPainter& painter, int x, int y, std::string_view utf8, Anchor anchor = Anchor::TopLeft);
inline QRect drawText(QPainter& painter, int x, int y, const char* utf8, Anchor anchor = Anchor::TopLeft) {
    return drawText(painter, x, y, std::string_view(utf8), anchor);
}

}  // namespace veltrano
