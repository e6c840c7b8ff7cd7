#include "render/charts/SweepChart.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include "render/charts/ExploreText.h"
#include "render/resources/Palette.h"
#include "render/views/ChartText.h"
#include "render/views/PainterScopes.h"
#include "render/views/TableDrawing.h"

namespace veltrano {

namespace {

constexpr int kLegendGap = 30, kLegendSample = 24, kLegendRow = 18, kArrowRoom = 12;
constexpr int kLabelSpacingX = 90, kLabelSpacingY = 50, kMarkerRadius = 4, kRefusedCross = 3;
// Points closer than this to the pointer along the field's axis count as under it.
constexpr int kPlotSlack = 6;

std::string legendText(const ExploreOutput& output) {
    return outputTitleWithUnit(output);
}

}  // namespace

int SweepChartLayout::xOf(double value) const {
    return axisPosition(input.axis(AxisDirection::Right, plot.bottom(), plot.left(), spanAcross(plot)),
                        value);
}

int SweepChartLayout::yOf(int output, double value) const {
    const UnitAxis& a = axes[static_cast<std::size_t>(axisOf[static_cast<std::size_t>(output)])];
    return axisPosition(a.scale.axis(AxisDirection::Up, a.x, plot.bottom(), spanUp(plot)), value);
}

SweepChartLayout sweepChartLayout(const SweepData& data, const ViewResources& resources, QSize canvas) {
    SweepChartLayout layout;
    const QFontMetrics metrics(resources.labelFont);
    // One axis per unit, in the order the outputs first name them, spanning the outputs of the computed
    // points and today's.
    std::vector<Extent> extents;
    for (const ExploreOutput* o : data.outputs) {
        const std::string unit = axisUnit(*o);
        auto it = std::find_if(layout.axes.begin(), layout.axes.end(),
                               [&](const SweepChartLayout::UnitAxis& a) { return a.unit == unit; });
        if (it == layout.axes.end()) {
            layout.axes.push_back({unit, {}, 0});
            extents.emplace_back();
            it = layout.axes.end() - 1;
        }
        const auto axis = static_cast<std::size_t>(it - layout.axes.begin());
        layout.axisOf.push_back(static_cast<int>(axis));
        extents[axis].add(data.todayOutput(*o));
        for (int p = 0; p < data.pointCount(); ++p)
            if (const auto v = data.outputAt(p, *o)) extents[axis].add(*v);
    }

    int legendWidth = metrics.horizontalAdvance(QStringLiteral("× refused by the sheet's rules"));
    for (const ExploreOutput* o : data.outputs)
        legendWidth =
            std::max(legendWidth, metrics.horizontalAdvance(QString::fromStdString(legendText(*o))));
    legendWidth += kLegendSample + 6;

    const int top = kChartMargin + kTitleHeight + kAxisHeaderRoom + metrics.height();
    const int bottom = canvas.height() - kChartMargin - inputAxisHeight(metrics);
    const int right = canvas.width() - kChartMargin - legendWidth - kLegendGap;
    const int height = std::max(bottom - top, 10);
    // The axes stand side by side left of the plot, the first beside it.
    std::vector<int> widths;
    for (std::size_t a = 0; a < layout.axes.size(); ++a) {
        layout.axes[a].scale = chartScale(extents[a].lo, extents[a].hi, height, kLabelSpacingY);
        widths.push_back(valueAxisWidth(metrics, layout.axes[a].scale, layout.axes[a].unit));
    }
    int left = kChartMargin;
    for (int w : widths) left += w;
    left = std::max(left, kChartMargin + 40);
    const int width = std::max(right - left, 10);
    layout.plot = QRect(left, top, width, height);
    int x = left;
    for (std::size_t a = 0; a < layout.axes.size(); ++a) {
        layout.axes[a].x = x;
        x -= widths[a];
    }
    const SweepAxis& axis = data.grid.first;
    layout.input = chartScale(axis.from, axis.to, width, kLabelSpacingX, ScaleEnds::Exact);
    layout.legendLeft = layout.plot.right() + kLegendGap;
    return layout;
}

int sweepPointAt(const SweepChartLayout& layout, const SweepData& data, QPoint pointer) {
    if (!layout.plot.adjusted(-kPlotSlack, -kPlotSlack, kPlotSlack, kPlotSlack).contains(pointer)) return -1;
    int nearest = -1, distance = 0;
    for (const SweepPoint* p : pointsRun(data)) {
        const int d = std::abs(layout.xOf(p->inputs[0]) - pointer.x());
        if (nearest < 0 || d < distance) {
            nearest = p->index;
            distance = d;
        }
    }
    return nearest;
}

namespace {

void drawCurves(QPainter& painter, const SweepChartLayout& layout, const SweepData& data) {
    PainterScope scope(painter);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setClipRect(layout.plot.adjusted(-2, -2, 2, 2));
    for (std::size_t k = 0; k < data.outputs.size(); ++k) {
        const QPen pen = seriesPen(static_cast<int>(k));
        painter.setPen(pen);
        painter.setBrush(pen.color());
        // A run of computed points is one line; a point the rules refused, or one not yet run, breaks it.
        QPolygon run;
        const auto flush = [&] {
            if (run.size() == 1) painter.drawEllipse(run[0], 2, 2);
            if (run.size() > 1) painter.drawPolyline(run);
            run.clear();
        };
        for (int p = 0; p < data.pointCount(); ++p) {
            const std::optional<double> v = data.outputAt(p, *data.outputs[k]);
            if (!v || !std::isfinite(*v)) {
                flush();
                continue;
            }
            run << QPoint(layout.xOf(data.grid.first.valueAt(p)), layout.yOf(static_cast<int>(k), *v));
        }
        flush();
    }
}

void drawToday(QPainter& painter, const SweepChartLayout& layout, const SweepData& data) {
    const SweepAxis& axis = data.grid.first;
    const double today = data.todayInput(axis);
    if (!(today >= std::min(axis.from, axis.to) && today <= std::max(axis.from, axis.to))) return;
    PainterScope scope(painter);
    const int x = layout.xOf(today);
    painter.setPen(QPen(palette::noteGrey, 1, Qt::DotLine));
    painter.drawLine(x, layout.plot.bottom(), x, layout.plot.top());
    painter.setPen(palette::noteGrey);
    drawText(painter, x + 4, layout.plot.top(), "today " + shownInput(*axis.field, today));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(palette::white);
    for (std::size_t k = 0; k < data.outputs.size(); ++k) {
        const double v = data.todayOutput(*data.outputs[k]);
        if (!std::isfinite(v)) continue;
        painter.setPen(QPen(seriesPen(static_cast<int>(k)).color(), 2));
        painter.drawEllipse(QPoint(x, layout.yOf(static_cast<int>(k), v)), kMarkerRadius, kMarkerRadius);
    }
}

bool drawRefused(QPainter& painter, const SweepChartLayout& layout, const SweepData& data) {
    PainterScope scope(painter);
    painter.setPen(QPen(palette::noteGrey, 1));
    bool any = false;
    const int y = layout.plot.bottom() - kRefusedCross - 2;
    for (const SweepPoint* p : pointsRun(data)) {
        if (p->result.status != VariantStatus::Refused) continue;
        any = true;
        const int x = layout.xOf(p->inputs[0]);
        painter.drawLine(x - kRefusedCross, y - kRefusedCross, x + kRefusedCross, y + kRefusedCross);
        painter.drawLine(x - kRefusedCross, y + kRefusedCross, x + kRefusedCross, y - kRefusedCross);
    }
    return any;
}

void drawLegend(QPainter& painter, const SweepChartLayout& layout, const SweepData& data, bool refused) {
    PainterScope scope(painter);
    const int x = layout.legendLeft;
    int y = layout.plot.top();
    const int textX = x + kLegendSample + 6;
    for (std::size_t k = 0; k < data.outputs.size(); ++k, y += kLegendRow)
        drawLegendLine(painter, seriesPen(static_cast<int>(k)), x, x + kLegendSample, y + 6, textX, y,
                       legendText(*data.outputs[k]));
    y += kLegendRow / 2;
    drawLegendLine(painter, QPen(palette::noteGrey, 1, Qt::DotLine), x, x + kLegendSample, y + 6, textX, y,
                   "today's design");
    if (refused) {
        y += kLegendRow;
        painter.setPen(palette::noteGrey);
        drawText(painter, x + kLegendSample / 2, y, "×", Anchor::Centre);
        drawText(painter, textX, y, "refused by the sheet's rules");
    }
}

void drawMarks(QPainter& painter, const SweepChartLayout& layout, const SweepData& data,
               const ChartMarks& marks, const QRect& bounds) {
    PainterScope scope(painter);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int index : {marks.selected, marks.hovered}) {
        const SweepPoint* p = data.point(index);
        if (!p) continue;
        const int x = layout.xOf(p->inputs[0]);
        const bool hovered = index == marks.hovered;
        painter.setPen(
            QPen(hovered ? palette::frameGrey : palette::black, 1, hovered ? Qt::SolidLine : Qt::DashLine));
        painter.drawLine(x, layout.plot.bottom(), x, layout.plot.top());
        for (std::size_t k = 0; k < data.outputs.size(); ++k) {
            const std::optional<double> v = data.outputAt(index, *data.outputs[k]);
            if (!v || !std::isfinite(*v)) continue;
            painter.setPen(QPen(palette::black, 1));
            painter.setBrush(seriesPen(static_cast<int>(k)).color());
            painter.drawEllipse(QPoint(x, layout.yOf(static_cast<int>(k), *v)), kMarkerRadius, kMarkerRadius);
        }
    }
    if (const SweepPoint* p = data.point(marks.hovered))
        drawInfoBox(painter, QPoint(layout.xOf(p->inputs[0]), layout.plot.top() + 20),
                    pointInfoLines(data, marks.hovered, true), bounds);
}

}  // namespace

void drawSweepChart(QPainter& painter, const ViewResources& resources, const SweepData& data, QSize canvas,
                    const ChartMarks& marks) {
    PainterScope scope(painter);
    beginView(painter, resources.labelFont);
    const SweepAxis& axis = data.grid.first;
    drawChartTitle(painter, resources.titleFont,
                   "Sensitivity of the current design to " + fieldTitle(*axis.field));
    const SweepChartLayout layout = sweepChartLayout(data, resources, canvas);
    for (std::size_t a = 0; a < layout.axes.size(); ++a) {
        std::vector<QColor> keys;
        for (std::size_t k = 0; k < layout.axisOf.size(); ++k)
            if (layout.axisOf[k] == static_cast<int>(a))
                keys.push_back(seriesPen(static_cast<int>(k)).color());
        drawValueAxis(painter, layout.axes[a].scale, layout.axes[a].x, layout.plot.bottom(),
                      spanUp(layout.plot), layout.plot.top() - kArrowRoom, layout.axes[a].unit, keys);
    }
    drawInputAxis(painter, layout.input, layout.plot.bottom(), layout.plot.left(), spanAcross(layout.plot),
                  layout.axes.empty() ? layout.plot.left() : layout.axes.back().x, layout.plot.right(),
                  fieldTitleWithUnit(*axis.field));
    drawToday(painter, layout, data);
    const bool refused = drawRefused(painter, layout, data);
    drawCurves(painter, layout, data);
    drawLegend(painter, layout, data, refused);
    drawMarks(painter, layout, data, marks, QRect(QPoint(0, 0), canvas));
}

}  // namespace veltrano
