#include "ui/sheet/PuffPreviewWidget.h"

#include <QPainter>

namespace veltrano {

namespace {

QPoint toPoint(PreviewPoint p) {
    return {p.x, p.y};
}

}  // namespace

PuffPreviewWidget::PuffPreviewWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("puff_preview"));
    setFixedSize(kPreviewMinWidth, kPreviewMinHeight);
}

void PuffPreviewWidget::setSamples(const PreviewSamples& samples) {
    if (samples == samples_) return;
    samples_ = samples;
    update();
}

void PuffPreviewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    for (const PreviewLine& line : kPreviewAxes) painter.drawLine(toPoint(line.from), toPoint(line.to));
    QPolygon curve;
    for (const PreviewPoint& p : previewCurve(samples_)) curve << toPoint(p);
    painter.setPen(
        QPen(QColor(kPreviewCurveColour.red, kPreviewCurveColour.green, kPreviewCurveColour.blue), 1));
    painter.drawPolyline(curve);
}

}  // namespace veltrano
