#include "ui/shell/ViewArea.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>

#include "ui/shell/MainWin.h"

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
    followContentSize();
}

void ViewArea::followContentSize() {
    const ViewScene scene = window_.viewScene();
    const QSize wanted =
        scene.rawListing ? recordListingExtent(window_.resources(), scene.designs) : QSize(0, 0);
    // The listing is shown from the repaint after it was switched on; the size follows right after it.
    if (wanted != minimumSize())
        QMetaObject::invokeMethod(
            this, [this, wanted] { setMinimumSize(wanted); }, Qt::QueuedConnection);
}

void ViewArea::mouseMoveEvent(QMouseEvent* event) {
    window_.mouseMovedTo(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

QScrollArea* scrollingClient(ViewArea* area) {
    auto* scroll = new QScrollArea;
    scroll->setObjectName("ClientScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::StrongFocus);
    scroll->setWidget(area);
    return scroll;
}

}  // namespace veltrano
