#pragma once

#include <QSize>

class QWidget;

namespace veltrano {

// Gives a large dialog its preferred size, or less where the owner's screen is smaller, leaving room for
// the window frame and a panel of the desktop.
void resizeToFitScreen(QWidget& dialog, const QWidget* owner, QSize preferred);

}  // namespace veltrano
