#include "ui/dialogs/ThinFrame.h"

#include <QDialog>
#include <QFrame>
#include <QVBoxLayout>

namespace veltrano {

QFrame* framedContents(QDialog& dialog) {
    auto* frame = new QFrame(&dialog);
    frame->setObjectName("thinFrame");
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
    frame->setForegroundRole(QPalette::Dark);
    auto* outer = new QVBoxLayout(&dialog);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    return frame;
}

}  // namespace veltrano
