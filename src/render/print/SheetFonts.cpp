#include "render/print/SheetFonts.h"

namespace veltrano {

QFont sheetFont(int size, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(size);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

}  // namespace veltrano
