#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "core/design/NumberText.h"
#include "render/resources/Noise.h"
#include "render/resources/Palette.h"
#include "render/resources/Pictures.h"

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

// One pixel of a texture: its top-left corner (x, y) and its size in logical pixels of the texture,
// and its place (px, py) in the image. The shading and the coarse noise follow the logical place, so
// every ratio shows the same picture; the finest grain is one image pixel.
struct TexturePixel {
    double x, y, size;
    int px, py;
};

// A horizontal cylinder seen from the side, lit from above and in front: how much light the row
// whose middle lies at logical y receives, and the strength of the highlight there.
struct Light {
    double diffuse, highlight;
};
Light cylinderLight(double middleY) {
    const double t = middleY / kTextureHeight * 2.0 - 1.0;  // -1 at the top edge, +1 at the bottom edge
    const double facing = std::sqrt(std::max(0.0, 1.0 - t * t));
    const double lit = std::max(0.0, -0.45 * t + 0.89 * facing);
    return {0.42 + 0.58 * lit, std::pow(lit, 24.0)};
}

Rgb lightUp(Rgb base, const TexturePixel& pixel, double shine) {
    const Light light = cylinderLight(pixel.y + pixel.size / 2);
    return mixColour(scaled(base, light.diffuse), Rgb{255, 255, 255}, shine * light.highlight);
}

// Calls `visit` for every pixel of a texture made for the ratio.
template <typename Visit>
void forEachPixel(const QImage& image, Visit visit) {
    const double ratio = image.devicePixelRatio();
    for (int py = 0; py < image.height(); ++py)
        for (int px = 0; px < image.width(); ++px)
            visit(TexturePixel{px / ratio, py / ratio, 1.0 / ratio, px, py});
}

// Fills a texture pixel by pixel from a colour function of the pixel.
template <typename ColourAt>
QImage paintTexture(double devicePixelRatio, ColourAt colourAt) {
    QImage image = makePicture(kTextureWidth, kTextureHeight, devicePixelRatio, QImage::Format_RGB32);
    forEachPixel(image, [&](const TexturePixel& p) { image.setPixel(p.px, p.py, toQRgb(colourAt(p))); });
    return image;
}

// How much of a pixel lies inside the rounded mouth end of the filter (sampled 4 × 4).
double mouthEndCoverage(const TexturePixel& pixel) {
    constexpr double radius = 7.0;
    if (pixel.x >= radius) return 1.0;
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
            const double px = pixel.x + (sx + 0.5) / 4.0 * pixel.size,
                         py = pixel.y + (sy + 0.5) / 4.0 * pixel.size;
            const double dx = (radius - px) / radius, dy = py / kTextureHeight * 2.0 - 1.0;
            if (dx * dx + dy * dy <= 1.0) ++inside;
        }
    return inside / 16.0;
}

}  // namespace

QImage makePicture(int width, int height, double devicePixelRatio, QImage::Format format) {
    QImage image(checkedToInt(std::ceil(width * devicePixelRatio)),
                 checkedToInt(std::ceil(height * devicePixelRatio)), format);
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

QImage makeFilterTexture(double devicePixelRatio) {
    const Rgb cream{246, 240, 222};
    return paintTexture(devicePixelRatio, [&](const TexturePixel& p) {
        const double fibre = (noise::smooth(p.x, p.y, 9.0, 1.5, 11) - 0.5) * 0.10 +
                             (noise::lattice(p.px, p.py, 12) - 0.5) * 0.07;
        const Rgb body = lightUp(scaled(cream, 1.0 + fibre), p, 0.35);
        return mixColour(Rgb{255, 255, 255}, body, mouthEndCoverage(p));
    });
}

QImage makePaperTexture(double devicePixelRatio) {
    const Rgb greyBlue{194, 203, 220};
    return paintTexture(devicePixelRatio, [&](const TexturePixel& p) {
        const double grain = (noise::smooth(p.x, p.y, 60.0, 1.0, 21) - 0.5) * 0.08 +
                             (noise::smooth(p.x, p.y, 7.0, 1.0, 22) - 0.5) * 0.05 +
                             (noise::lattice(p.px, p.py, 23) - 0.5) * 0.03;
        return lightUp(scaled(greyBlue, 1.0 + grain), p, 0.45);
    });
}

QImage makeTippingTexture(double devicePixelRatio) {
    const Rgb dark{140, 84, 40}, light{214, 160, 98};
    return paintTexture(devicePixelRatio, [&](const TexturePixel& p) {
        const double cork = 0.55 * noise::smooth(p.x, p.y, 7.0, 5.0, 31) +
                            0.30 * noise::smooth(p.x, p.y, 2.5, 2.5, 32) +
                            0.15 * noise::lattice(p.px, p.py, 33);
        Rgb base = mixColour(dark, light, cork);
        if (noise::lattice(p.px, p.py, 34) < 0.05) base = scaled(base, 0.72);  // pores
        return lightUp(base, p, 0.25);
    });
}

QImage makeTobaccoTexture(double devicePixelRatio) {
    QImage image = makePicture(kTextureWidth, kTextureHeight, devicePixelRatio, QImage::Format_RGB32);
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
    forEachPixel(image, [&](const TexturePixel& p) {
        image.setPixel(p.px, p.py, toQRgb(lightUp(fromQRgb(image.pixel(p.px, p.py)), p, 0.15)));
    });
    return image;
}

QImage makeBarTexture(double devicePixelRatio) {
    QImage image =
        makePicture(3 * kBarStripeWidth, kBarTextureHeight, devicePixelRatio, QImage::Format_RGB32);
    QPainter painter(&image);
    const QColor stripes[] = {palette::barLightGreen, palette::barDarkGreen, palette::barBlue};
    for (int i = 0; i < 3; ++i)
        painter.fillRect(QRect(i * kBarStripeWidth, 0, kBarStripeWidth, kBarTextureHeight), stripes[i]);
    return image;
}

}  // namespace veltrano
