#pragma once

#include <QFont>
#include <QImage>

namespace veltrano {

// The fonts and pictures the views draw with; made once with the main window.
struct ViewResources {
    QFont listingFont, labelFont, labelBoldFont, titleFont;
    QImage filterTexture, paperTexture, tippingTexture, tobaccoTexture, barTexture, logo;
};

// The faces the views and the printed page ask for, mapped to the metric twins installed with the
// program: "MS Sans Serif" and "Arial" to Liberation Sans, "Courier New" to Liberation Mono.
void installFontSubstitutes();

// Fonts in pixel sizes as at 96 dpi, so the pixel layout holds on any display: labels "MS Sans
// Serif" 8 pt (11 px), bold labels the same at weight 700, titles 10 pt (13 px) bold, the listing
// "Courier New" 10 pt; and the generated pictures. Installs the font substitutes first.
ViewResources makeViewResources();

}  // namespace veltrano
