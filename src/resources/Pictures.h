#pragma once

#include <QIcon>
#include <QImage>

namespace veltrano {

// The pictures the views draw, generated in code at start-up (no binary assets). Every picture is
// the same on every run: the noise in them is seeded.

inline constexpr int kTextureWidth = 600, kTextureHeight = 30;
QImage makeFilterTexture();   // cream-white shaded cylinder, rounded at its left (mouth) end
QImage makePaperTexture();    // grey-blue shaded cylinder with a fine lengthwise grain
QImage makeTippingTexture();  // brown, cork-like shaded cylinder
QImage makeTobaccoTexture();  // loose cut tobacco in light and dark browns

// Three vertical stripes of 25 pixels: light green, dark green, blue. A bar of height h is the
// lowest h rows of one stripe.
inline constexpr int kBarStripeWidth = 25, kBarTextureHeight = 200;
enum class BarStripe { LightGreen = 0, DarkGreen = 1, Blue = 2 };
QImage makeBarTexture();

inline constexpr int kLogoWidth = 92, kLogoHeight = 75;
QImage makeLogo();  // the program's own mark above the word "veltrano"

// The application icon: the same mark at several sizes.
QIcon makeApplicationIcon();

}  // namespace veltrano
