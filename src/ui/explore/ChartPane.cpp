#include "ui/explore/ChartPane.h"

#include <QPainter>

#include "render/resources/Palette.h"
#include "render/views/ChartText.h"

namespace veltrano {

ChartPane::ChartPane(const ViewResources& resources, std::string hint, QWidget* parent)
    : QWidget(parent), resources_(resources), hint_(std::move(hint)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(480, 300);
}

void ChartPane::setChart(Paint paint) {
    paint_ = std::move(paint);
    update();
}

Drawing ChartPane::drawing() const {
    if (!paint_) return {};
    return {size(), [paint = paint_, canvas = size()](QPainter& painter, const ViewResources& resources) {
                paint(painter, resources, canvas);
            }};
}

void ChartPane::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette::white);
    if (paint_) {
        paint_(painter, resources_, size());
        return;
    }
    painter.setFont(resources_.titleFont);
    painter.setPen(palette::noteGrey);
    drawText(painter, width() / 2, height() / 2, hint_, Anchor::Centre);
}

}  // namespace veltrano
