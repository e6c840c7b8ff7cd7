#pragma once

#include <exception>
#include <memory>

#include <QPainter>

namespace veltrano {

// Keeps a painter's state for one scope: whatever a painter changes (pen, font, origin, hints) is
// undone when the scope ends. A document writer may run out of memory in the restore; that passes on
// to whoever can say so, unless an exception is on its way already (which then tells, as a destructor
// may not throw while one is).
class PainterScope {
public:
    explicit PainterScope(QPainter& painter) : painter_(painter) { painter_.save(); }
    ~PainterScope() noexcept(false) {
        if (std::uncaught_exceptions() == exceptions_) {
            painter_.restore();
            return;
        }
        try {
            painter_.restore();
        } catch (...) {
        }
    }
    PainterScope(const PainterScope&) = delete;
    PainterScope& operator=(const PainterScope&) = delete;

private:
    QPainter& painter_;
    int exceptions_ = std::uncaught_exceptions();
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

// The painter of one document (a PDF, an SVG drawing), begun and ended on its device. A writer may run
// out of memory while end() writes the document, or while drawing; the painter is then still active,
// and QPainter's destructor would end it again and throw inside a destructor, which ends the program.
// So a painter that an exception leaves active is let go without its destructor, and the exception
// passes on to whoever can say so.
class DocumentPainter {
public:
    DocumentPainter() = default;
    DocumentPainter(const DocumentPainter&) = delete;
    DocumentPainter& operator=(const DocumentPainter&) = delete;
    ~DocumentPainter() {
        if (std::uncaught_exceptions() > exceptions_ && painter_->isActive())
            static_cast<void>(painter_.release());
    }

    bool begin(QPaintDevice* device) { return painter_->begin(device); }
    bool end() { return painter_->end(); }
    QPainter& operator*() { return *painter_; }

private:
    std::unique_ptr<QPainter> painter_ = std::make_unique<QPainter>();
    int exceptions_ = std::uncaught_exceptions();
};

// A block drawn in local coordinates: the origin moves to the block's position for the scope.
class BlockScope : public PainterScope {
public:
    BlockScope(QPainter& painter, int x, int y) : PainterScope(painter) { painter.translate(x, y); }
};

}  // namespace veltrano
