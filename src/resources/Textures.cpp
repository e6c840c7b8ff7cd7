#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "design/NumberText.h"
#include "resources/Noise.h"
#include "resources/Palette.h"
#include "resources/Pictures.h"

namespace veltrano {

namespace {

struct Rgb {
    double r, g, b;
};

Rgb mixColour(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb scaled(Rgb c, double f) {
    return {c.r * f, c.g * f, c.b * f};
}

int channel(double v) {
    return std::clamp(checkedToInt(std::round(v)), 0, 255);
}
QRgb toQRgb(Rgb c) {
    return qRgb(channel(c.r), channel(c.g), channel(c.b));
}
Rgb fromQRgb(QRgb c) {
    return {double(qRed(c)), double(qGreen(c)), double(qBlue(c))};
}

// A horizontal cylinder seen from the side, lit from above and in front: how much light row y of a
// picture `height` rows high receives, and the strength of the highlight there.
struct Light {
    double diffuse, highlight;
};
Light cylinderLight(int y, int height) {
    const double t = (y + 0.5) / height * 2.0 - 1.0;  // -1 at the top edge, +1 at the bottom edge
    const double facing = std::sqrt(std::max(0.0, 1.0 - t * t));
    const double lit = std::max(0.0, -0.45 * t + 0.89 * facing);
    return {0.42 + 0.58 * lit, std::pow(lit, 24.0)};
}

Rgb lightUp(Rgb base, int y, double shine) {
    const Light light = cylinderLight(y, kTextureHeight);
    return mixColour(scaled(base, light.diffuse), Rgb{255, 255, 255}, shine * light.highlight);
}

// Fills a texture pixel by pixel from a colour function of (x, y).
template <typename ColourAt>
QImage paintTexture(ColourAt colourAt) {
    QImage image(kTextureWidth, kTextureHeight, QImage::Format_RGB32);
    for (int y = 0; y < kTextureHeight; ++y)
        for (int x = 0; x < kTextureWidth; ++x) image.setPixel(x, y, toQRgb(colourAt(x, y)));
    return image;
}

// How much of pixel (x, y) lies inside the rounded mouth end of the filter (sampled 4 × 4).
double mouthEndCoverage(int x, int y) {
    constexpr double radius = 7.0;
    if (x >= radius) return 1.0;
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
            const double px = x + (sx + 0.5) / 4.0, py = y + (sy + 0.5) / 4.0;
            const double dx = (radius - px) / radius, dy = py / kTextureHeight * 2.0 - 1.0;
            if (dx * dx + dy * dy <= 1.0) ++inside;
        }
    return inside / 16.0;
}

}  // namespace

QImage makeFilterTexture() {
    const Rgb cream{246, 240, 222};
    return paintTexture([&](int x, int y) {
        const double fibre =
            (noise::smooth(x, y, 9.0, 1.5, 11) - 0.5) * 0.10 + (noise::lattice(x, y, 12) - 0.5) * 0.07;
        const Rgb body = lightUp(scaled(cream, 1.0 + fibre), y, 0.35);
        return mixColour(Rgb{255, 255, 255}, body, mouthEndCoverage(x, y));
    });
}

QImage makePaperTexture() {
    const Rgb greyBlue{194, 203, 220};
    return paintTexture([&](int x, int y) {
        const double grain = (noise::smooth(x, y, 60.0, 1.0, 21) - 0.5) * 0.08 +
                             (noise::smooth(x, y, 7.0, 1.0, 22) - 0.5) * 0.05 +
                             (noise::lattice(x, y, 23) - 0.5) * 0.03;
        return lightUp(scaled(greyBlue, 1.0 + grain), y, 0.45);
    });
}

QImage makeTippingTexture() {
    const Rgb dark{140, 84, 40}, light{214, 160, 98};
    return paintTexture([&](int x, int y) {
        const double cork = 0.55 * noise::smooth(x, y, 7.0, 5.0, 31) +
                            0.30 * noise::smooth(x, y, 2.5, 2.5, 32) + 0.15 * noise::lattice(x, y, 33);
        Rgb base = mixColour(dark, light, cork);
        if (noise::lattice(x, y, 34) < 0.05) base = scaled(base, 0.72);  // pores
        return lightUp(base, y, 0.25);
    });
}

QImage makeTobaccoTexture() {
    QImage image(kTextureWidth, kTextureHeight, QImage::Format_RGB32);
    image.fill(QColor(92, 56, 27));
    {
        static constexpr QColor browns[] = {{201, 150, 82}, {176, 118, 56},  {140, 88, 40},
                                            {112, 68, 31},  {216, 172, 102}, {80, 47, 21}};
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        noise::Random random(0x7ab0cc0);
        for (int i = 0; i < 3200; ++i) {
            const double x = random.between(-6.0, kTextureWidth + 6.0),
                         y = random.between(-3.0, kTextureHeight + 3.0);
            const double angle = random.between(0.0, 6.283185307), length = random.between(3.0, 11.0);
            const double bend = random.between(-2.0, 2.0);
            const QPointF from(x, y), to(x + std::cos(angle) * length, y + std::sin(angle) * length);
            const QPointF middle =
                (from + to) / 2.0 + QPointF(-std::sin(angle) * bend, std::cos(angle) * bend);
            QPainterPath strand(from);
            strand.quadTo(middle, to);
            painter.setPen(
                QPen(browns[random.below(6)], random.between(0.9, 1.7), Qt::SolidLine, Qt::RoundCap));
            painter.drawPath(strand);
        }
    }
    for (int y = 0; y < kTextureHeight; ++y)
        for (int x = 0; x < kTextureWidth; ++x)
            image.setPixel(x, y, toQRgb(lightUp(fromQRgb(image.pixel(x, y)), y, 0.15)));
    return image;
}

QImage makeBarTexture() {
    QImage image(3 * kBarStripeWidth, kBarTextureHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    const QColor stripes[] = {palette::barLightGreen, palette::barDarkGreen, palette::barBlue};
    for (int i = 0; i < 3; ++i)
        painter.fillRect(QRect(i * kBarStripeWidth, 0, kBarStripeWidth, kBarTextureHeight), stripes[i]);
    return image;
}

}  // namespace veltrano
