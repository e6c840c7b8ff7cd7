#include "ui/dialogs/MnemonicLabels.h"

#include <QLabel>

namespace veltrano {

void measureMnemonicLabelsAsDrawn(QWidget& widget) {
    for (QLabel* label : widget.findChildren<QLabel*>()) {
        if (!label->buddy() || !label->text().contains(QLatin1Char('&'))) continue;
        QFont font = label->font();
        font.setKerning(false);
        label->setFont(font);
    }
}

}  // namespace veltrano
