#include "shell/ViewArea.h"

#include <QMouseEvent>
#include <QPainter>

#include "shell/MainWin.h"

namespace veltrano {

ViewArea::ViewArea(MainWin& window) : QWidget(&window), window_(window) {
    setObjectName("ViewArea");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ViewArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(rect(), Qt::white);
    window_.paintClient(painter);
}

void ViewArea::mouseMoveEvent(QMouseEvent* event) {
    window_.mouseMovedTo(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

}  // namespace veltrano
