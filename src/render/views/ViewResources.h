#pragma once

#include <QFont>
#include <QImage>

namespace veltrano {

// The fonts and pictures the views draw with; made with the main window, and again for the device
// pixel ratio of the screen it is shown on.
struct ViewResources {
    QFont listingFont, labelFont, labelBoldFont, titleFont;
    QImage filterTexture, paperTexture, tippingTexture, tobaccoTexture, barTexture, logo;
    double devicePixelRatio = 1.0;  // the pictures' ratio
};

// The faces the views and the printed page ask for, mapped to the metric twins installed with the
// program: "MS Sans Serif" and "Arial" to Liberation Sans, "Courier New" to Liberation Mono.
void installFontSubstitutes();

// Fonts in pixel sizes as at 96 dpi, so the pixel layout holds on any display: labels "MS Sans
// Serif" 8 pt (11 px), bold labels the same at weight 700, titles 10 pt (13 px) bold, the listing
// "Courier New" 10 pt; and the generated pictures, made for `devicePixelRatio`. Installs the font
// substitutes first.
ViewResources makeViewResources(double devicePixelRatio = 1.0);

}  // namespace veltrano
