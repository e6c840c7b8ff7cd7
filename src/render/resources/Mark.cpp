#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "render/resources/Palette.h"
#include "render/resources/Pictures.h"

namespace veltrano {

namespace {

// The program's mark: three rising rounded bars in the colours of the result charts, standing on a
// short base line.
void paintMark(QPainter& painter, const QRectF& area) {
    const QColor colours[] = {palette::barLightGreen, palette::barDarkGreen, palette::barBlue};
    const double heights[] = {0.48, 0.74, 1.0};
    const double barWidth = area.width() * 0.25, gap = area.width() * 0.125;
    const double base = area.bottom() - area.height() * 0.08;
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        const double height = (base - area.top()) * heights[i];
        const QRectF bar(area.left() + i * (barWidth + gap), base - height, barWidth, height);
        painter.setBrush(colours[i]);
        painter.drawRoundedRect(bar, barWidth * 0.3, barWidth * 0.3);
    }
    painter.setBrush(palette::darkBlue);
    painter.drawRect(QRectF(area.left(), base + area.height() * 0.03, area.width(), area.height() * 0.05));
}

}  // namespace

QImage makeLogo(double devicePixelRatio) {
    QImage image = makePicture(kLogoWidth, kLogoHeight, devicePixelRatio, QImage::Format_RGB32);
    image.fill(palette::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    paintMark(painter, QRectF(28, 5, 36, 42));
    QFont font("Liberation Sans");
    font.setPixelSize(17);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(palette::textGrey);
    painter.drawText(QRect(0, 50, kLogoWidth, 22), Qt::AlignHCenter | Qt::AlignVCenter,
                     QStringLiteral("veltrano"));
    return image;
}

void paintApplicationIcon(QPainter& painter, double size) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double frame = std::max(1.0, size / 24.0);
    painter.setPen(QPen(palette::darkBlue, frame));
    painter.setBrush(palette::white);
    const QRectF tile(frame / 2, frame / 2, size - frame, size - frame);
    painter.drawRoundedRect(tile, size * 0.18, size * 0.18);
    paintMark(painter, tile.adjusted(size * 0.2, size * 0.18, -size * 0.2, -size * 0.16));
}

QImage makeApplicationIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintApplicationIcon(painter, size);
    return image;
}

QIcon makeApplicationIcon() {
    // A window icon shown at 16 logical pixels on a screen at 200 % takes the 32-pixel picture.
    QIcon icon;
    for (int size : kApplicationIconSizes) icon.addPixmap(QPixmap::fromImage(makeApplicationIconImage(size)));
    return icon;
}

}  // namespace veltrano
