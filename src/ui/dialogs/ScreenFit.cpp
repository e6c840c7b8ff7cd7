#include "ui/dialogs/ScreenFit.h"

#include <QRect>
#include <QScreen>
#include <QWidget>

namespace veltrano {

void resizeToFitScreen(QWidget& dialog, const QWidget* owner, QSize preferred) {
    const QRect screen =
        owner && owner->screen() ? owner->screen()->availableGeometry() : QRect(QPoint(), preferred);
    dialog.resize(preferred.boundedTo(screen.size() - QSize(40, 60)));
}

}  // namespace veltrano
