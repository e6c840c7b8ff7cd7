#pragma once

#include <QIcon>
#include <QImage>

class QPainter;

namespace veltrano {

// The pictures the views draw, generated in code at start-up (no binary assets). Every picture is
// the same on every run: the noise in them is seeded.
//
// Each is made for a device pixel ratio (2 on a screen at 200 %): it has that many pixels per
// logical pixel and carries the ratio, so a painter places it by its logical size and a
// high-resolution screen shows every one of its pixels. Sizes below are logical pixels.

inline constexpr int kTextureWidth = 600, kTextureHeight = 30;
// A cream-white shaded cylinder, rounded at its left (mouth) end.
QImage makeFilterTexture(double devicePixelRatio = 1.0);
// A grey-blue shaded cylinder with a fine lengthwise grain.
QImage makePaperTexture(double devicePixelRatio = 1.0);
// A brown, cork-like shaded cylinder.
QImage makeTippingTexture(double devicePixelRatio = 1.0);
// Loose cut tobacco in light and dark browns.
QImage makeTobaccoTexture(double devicePixelRatio = 1.0);

// Three vertical stripes of 25 pixels: light green, dark green, blue. A bar of height h is the
// lowest h rows of one stripe.
inline constexpr int kBarStripeWidth = 25, kBarTextureHeight = 200;
enum class BarStripe { LightGreen = 0, DarkGreen = 1, Blue = 2 };
QImage makeBarTexture(double devicePixelRatio = 1.0);

inline constexpr int kLogoWidth = 92, kLogoHeight = 75;
QImage makeLogo(double devicePixelRatio = 1.0);  // the program's own mark above the word "veltrano"

// An empty picture of `width` × `height` logical pixels for the ratio (its pixel size rounded up).
QImage makePicture(int width, int height, double devicePixelRatio, QImage::Format format);

// The application icon: the mark on a white rounded tile, drawn into a square of `size` logical
// pixels. The installed icons (PNG and SVG) and the window icon are all drawn by this.
void paintApplicationIcon(QPainter& painter, double size);
// The icon as a square picture of `size` pixels on a transparent background.
QImage makeApplicationIconImage(int size);
// The sizes the icon is made in: the window icon holds all of them, and so do the installed icons.
inline constexpr int kApplicationIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
QIcon makeApplicationIcon();

}  // namespace veltrano
