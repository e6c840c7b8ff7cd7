#include "render/views/ViewResources.h"

#include <QPainter>

#include "render/resources/Pictures.h"
#include "render/views/Views.h"

namespace veltrano {

namespace {

QFont pixelFont(const char* family, int pixelSize, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

}  // namespace

void installFontSubstitutes() {
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}

ViewResources makeViewResources(double devicePixelRatio) {
    installFontSubstitutes();
    ViewResources r;
    r.devicePixelRatio = devicePixelRatio;
    r.listingFont = pixelFont("Courier New", 13, false);
    r.labelFont = pixelFont("MS Sans Serif", 11, false);
    r.labelBoldFont = pixelFont("MS Sans Serif", 11, true);
    r.titleFont = pixelFont("MS Sans Serif", 13, true);
    r.filterTexture = makeFilterTexture(devicePixelRatio);
    r.paperTexture = makePaperTexture(devicePixelRatio);
    r.tippingTexture = makeTippingTexture(devicePixelRatio);
    r.tobaccoTexture = makeTobaccoTexture(devicePixelRatio);
    r.barTexture = makeBarTexture(devicePixelRatio);
    r.logo = makeLogo(devicePixelRatio);
    return r;
}

void drawLogo(QPainter& painter, const ViewResources& resources) {
    painter.drawImage(QPoint(860, 24), resources.logo);
}

}  // namespace veltrano
