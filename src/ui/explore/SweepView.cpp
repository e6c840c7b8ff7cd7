#include "ui/explore/SweepView.h"

#include <QMouseEvent>
#include <QPainter>

#include "render/charts/DesignMap.h"
#include "render/charts/SweepChart.h"
#include "render/resources/Palette.h"
#include "render/views/ChartText.h"

namespace veltrano {

SweepView::SweepView(const SweepData& data, const ViewResources& resources, QWidget* parent)
    : QWidget(parent), data_(data), resources_(resources) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(560, 360);
    setFocusPolicy(Qt::NoFocus);
}

void SweepView::setMappedOutput(const ExploreOutput* output) {
    mapped_ = output;
    update();
}

void SweepView::setSelected(int point) {
    if (marks_.selected == point) return;
    marks_.selected = point;
    update();
}

bool SweepView::hasChart() const {
    return data_.pointCount() > 0 && (!data_.isMap() || mapped_);
}

int SweepView::pointAt(QPoint position) const {
    if (!hasChart()) return -1;
    if (data_.isMap())
        return mapPointAt(designMapLayout(data_, *mapped_, resources_, size()), data_, position);
    return sweepPointAt(sweepChartLayout(data_, resources_, size()), data_, position);
}

void SweepView::paintChart(QPainter& painter, const ViewResources& resources, QSize canvas,
                           const ChartMarks& marks) const {
    if (data_.isMap())
        drawDesignMap(painter, resources, data_, *mapped_, canvas, marks);
    else
        drawSweepChart(painter, resources, data_, canvas, marks);
}

Drawing SweepView::drawing() const {
    if (!hasChart()) return {};
    return {size(), [this, canvas = size()](QPainter& painter, const ViewResources& resources) {
                paintChart(painter, resources, canvas, {});
            }};
}

void SweepView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette::white);
    if (hasChart()) {
        paintChart(painter, resources_, size(), marks_);
        return;
    }
    painter.setFont(resources_.titleFont);
    painter.setPen(palette::noteGrey);
    drawText(painter, width() / 2, height() / 2, "Choose a field, its range and the outputs, then Run.",
             Anchor::Centre);
}

void SweepView::hover(int point) {
    if (marks_.hovered == point) return;
    marks_.hovered = point;
    update();
}

void SweepView::mouseMoveEvent(QMouseEvent* event) {
    hover(pointAt(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void SweepView::leaveEvent(QEvent* event) {
    hover(-1);
    QWidget::leaveEvent(event);
}

void SweepView::mousePressEvent(QMouseEvent* event) {
    const int point = pointAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && data_.point(point)) emit pointClicked(point);
    QWidget::mousePressEvent(event);
}

}  // namespace veltrano
