#include "render/charts/DesignMap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <optional>

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include "core/design/NumberText.h"
#include "render/charts/ExploreText.h"
#include "render/charts/Isolines.h"
#include "render/resources/Palette.h"
#include "render/views/ChartText.h"
#include "render/views/PainterScopes.h"
#include "render/views/TableDrawing.h"

namespace veltrano {

namespace {

constexpr int kBarGap = 24, kBarWidth = 16, kArrowRoom = 12;
constexpr int kLabelSpacing = 70, kTodayRadius = 5;
constexpr QColor kRefusedFill{225, 225, 225}, kNotRunFill{255, 255, 255};
// Dark violet through teal to yellow, brightening evenly: it reads in grey print and to colour-blind eyes.
constexpr std::array<QColor, 5> kScale{QColor(68, 1, 84), QColor(59, 82, 139), QColor(33, 145, 140),
                                       QColor(94, 201, 98), QColor(253, 231, 37)};

// The values of the mapped output at every point (not a number where none was computed).
std::vector<double> mappedValues(const SweepData& data, const ExploreOutput& mapped) {
    std::vector<double> values;
    for (int p = 0; p < data.pointCount(); ++p) values.push_back(data.outputAt(p, mapped).value_or(NAN));
    return values;
}

// The edges of the cells along an axis: halfway between neighbouring values, the axis's ends outside.
std::vector<int> cellEdges(const SweepAxis& axis, const std::function<int(double)>& position) {
    std::vector<int> edges{position(axis.valueAt(0))};
    for (int k = 1; k < axis.steps; ++k)
        edges.push_back(position((axis.valueAt(k - 1) + axis.valueAt(k)) / 2));
    edges.push_back(position(axis.valueAt(axis.steps - 1)));
    return edges;
}

}  // namespace

QColor mapColour(double t) {
    if (!std::isfinite(t)) return kNotRunFill;
    t = std::clamp(t, 0.0, 1.0) * (kScale.size() - 1);
    const auto i = std::min(static_cast<std::size_t>(t), kScale.size() - 2);
    const double f = t - static_cast<double>(i);
    const QColor& a = kScale[i];
    const QColor& b = kScale[i + 1];
    return QColor(qRound(a.red() + (b.red() - a.red()) * f), qRound(a.green() + (b.green() - a.green()) * f),
                  qRound(a.blue() + (b.blue() - a.blue()) * f));
}

int DesignMapLayout::xOf(double value) const {
    return axisPosition(x.axis(AxisDirection::Right, plot.bottom(), plot.left(), spanAcross(plot)), value);
}

int DesignMapLayout::yOf(double value) const {
    return axisPosition(y.axis(AxisDirection::Up, plot.left(), plot.bottom(), spanUp(plot)), value);
}

QColor DesignMapLayout::colourOf(double value) const {
    const AxisRange& r = colours.range;
    if (!hasScale(r)) return mapColour(NAN);
    return mapColour((value - r.minimum) / (r.maximum - r.minimum));
}

DesignMapLayout designMapLayout(const SweepData& data, const ExploreOutput& mapped,
                                const ViewResources& resources, QSize canvas) {
    DesignMapLayout layout;
    const QFontMetrics metrics(resources.labelFont);
    const SweepAxis& first = data.grid.first;
    const SweepAxis& second = *data.grid.second;
    Extent values;
    for (double v : mappedValues(data, mapped)) values.add(v);
    const int top = kChartMargin + kTitleHeight + 2 * metrics.height();
    const int bottom = canvas.height() - kChartMargin - inputAxisHeight(metrics);
    const int height = std::max(bottom - top, 10);
    layout.colours = chartScale(values.lo, values.hi, height, kLabelSpacing / 2);
    layout.y = chartScale(second.from, second.to, height, kLabelSpacing / 2, ScaleEnds::Exact);
    const std::string unit = axisUnit(mapped);
    const int barLabels = valueAxisWidth(metrics, layout.colours, unit);
    const int left =
        kChartMargin +
        std::max(valueAxisWidth(metrics, layout.y, ""),
                 metrics.horizontalAdvance(QString::fromStdString(fieldTitleWithUnit(*second.field))) / 2);
    const int right = canvas.width() - kChartMargin - barLabels - kBarWidth - kBarGap - 20;
    layout.plot = QRect(left, top, std::max(right - left, 10), height);
    layout.x = chartScale(first.from, first.to, layout.plot.width(), kLabelSpacing, ScaleEnds::Exact);
    layout.colourBar = QRect(layout.plot.right() + kBarGap + barLabels, top, kBarWidth, height);
    return layout;
}

int mapPointAt(const DesignMapLayout& layout, const SweepData& data, QPoint pointer) {
    if (!data.isMap() || !layout.plot.contains(pointer)) return -1;
    const SweepAxis& first = data.grid.first;
    const SweepAxis& second = *data.grid.second;
    const std::vector<int> xs = cellEdges(first, [&](double v) { return layout.xOf(v); });
    const std::vector<int> ys = cellEdges(second, [&](double v) { return layout.yOf(v); });
    const auto cellOf = [](const std::vector<int>& edges, int at) {
        for (std::size_t k = 0; k + 1 < edges.size(); ++k)
            if (at >= std::min(edges[k], edges[k + 1]) && at <= std::max(edges[k], edges[k + 1]))
                return static_cast<int>(k);
        return -1;
    };
    const int i = cellOf(xs, pointer.x()), j = cellOf(ys, pointer.y());
    return i < 0 || j < 0 ? -1 : i * second.steps + j;
}

namespace {

QRect cellRect(const std::vector<int>& xs, const std::vector<int>& ys, int i, int j) {
    const auto ui = static_cast<std::size_t>(i), uj = static_cast<std::size_t>(j);
    return QRect(QPoint(std::min(xs[ui], xs[ui + 1]), std::min(ys[uj], ys[uj + 1])),
                 QPoint(std::max(xs[ui], xs[ui + 1]), std::max(ys[uj], ys[uj + 1])));
}

void drawCells(QPainter& painter, const DesignMapLayout& layout, const SweepData& data,
               const ExploreOutput& mapped) {
    PainterScope scope(painter);
    const SweepAxis& first = data.grid.first;
    const SweepAxis& second = *data.grid.second;
    const std::vector<int> xs = cellEdges(first, [&](double v) { return layout.xOf(v); });
    const std::vector<int> ys = cellEdges(second, [&](double v) { return layout.yOf(v); });
    for (int i = 0; i < first.steps; ++i) {
        for (int j = 0; j < second.steps; ++j) {
            const int index = i * second.steps + j;
            const QRect cell = cellRect(xs, ys, i, j);
            const SweepPoint* p = data.point(index);
            if (p && p->result.status == VariantStatus::Refused) {
                painter.fillRect(cell, kRefusedFill);
                painter.fillRect(cell, QBrush(palette::noteGrey, Qt::BDiagPattern));
            } else {
                painter.fillRect(cell, layout.colourOf(data.outputAt(index, mapped).value_or(NAN)));
            }
        }
    }
}

// The isolines at the colour bar's labelled values (at every tick when fewer than three of those lie
// inside), each in black on a white halo, with its value on it where the label has room.
void drawIsolines(QPainter& painter, const DesignMapLayout& layout, const SweepData& data,
                  const ExploreOutput& mapped, const std::vector<QRectF>& avoid) {
    const AxisRange& r = layout.colours.range;
    if (!hasScale(r)) return;
    const std::vector<double> values = mappedValues(data, mapped);
    Extent extent;
    for (double v : values) extent.add(v);
    std::vector<double> levels;
    for (int every : {layout.colours.labelEvery, 1}) {
        levels.clear();
        const int first = checkedFloorToInt(r.minimum / r.step);
        for (int k = first; k * r.step <= r.maximum + r.step / 2 && levels.size() < 200; ++k)
            if (k % every == 0 && k * r.step > extent.lo && k * r.step < extent.hi)
                levels.push_back(k * r.step);
        if (levels.size() >= 3) break;
    }
    const SweepAxis& first = data.grid.first;
    const SweepAxis& second = *data.grid.second;
    const std::vector<Isoline> lines = isolines(values, first.steps, second.steps, levels);
    std::vector<std::vector<QPointF>> pixels;
    std::vector<QSizeF> sizes;
    std::vector<std::string> texts;
    const QFontMetrics metrics = painter.fontMetrics();
    for (const Isoline& line : lines) {
        std::vector<QPointF> points;
        for (const QPointF& g : line.points)
            points.emplace_back(layout.xOf(std::lerp(first.from, first.to, g.x() / (first.steps - 1))),
                                layout.yOf(std::lerp(second.from, second.to, g.y() / (second.steps - 1))));
        pixels.push_back(std::move(points));
        texts.push_back(formatText(layout.colours.labelFormat, {line.level}));
        sizes.emplace_back(metrics.horizontalAdvance(QString::fromStdString(texts.back())) + 6,
                           metrics.height());
    }
    PainterScope scope(painter);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setClipRect(layout.plot);
    for (const auto& [colour, width] : {std::pair{palette::white, 3}, std::pair{palette::black, 1}}) {
        painter.setPen(QPen(colour, width));
        for (const auto& points : pixels)
            painter.drawPolyline(points.data(), static_cast<int>(points.size()));
    }
    for (const IsolineLabel& label : placeIsolineLabels(pixels, sizes, QRectF(layout.plot), avoid)) {
        painter.fillRect(label.box, palette::white);
        painter.setPen(palette::black);
        drawText(painter, qRound(label.box.center().x()), qRound(label.box.top()),
                 texts[static_cast<std::size_t>(label.line)], Anchor::Centre);
    }
}

// Where today's design lies on the map, and what its ring and "today" cover.
std::optional<QPoint> todayOnMap(const DesignMapLayout& layout, const SweepData& data) {
    const QPoint at(layout.xOf(data.todayInput(data.grid.first)),
                    layout.yOf(data.todayInput(*data.grid.second)));
    if (!layout.plot.contains(at)) return std::nullopt;
    return at;
}
QRect todayTextCell(const QFontMetrics& metrics, QPoint at) {
    return textCell(metrics, at.x() + kTodayRadius + 4, at.y() - metrics.height() / 2,
                    QStringLiteral("today"), Anchor::TopLeft);
}
QRectF todayBox(const QFontMetrics& metrics, QPoint at) {
    return QRectF(QRect(at - QPoint(kTodayRadius, kTodayRadius), todayTextCell(metrics, at).bottomRight()));
}

void drawTodayRing(QPainter& painter, QPoint at) {
    PainterScope scope(painter);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(palette::black, 2));
    painter.setBrush(palette::white);
    painter.drawEllipse(at, kTodayRadius, kTodayRadius);
}

void drawToday(QPainter& painter, QPoint at) {
    drawTodayRing(painter, at);
    PainterScope scope(painter);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(palette::white);
    painter.setPen(palette::black);
    const QRect cell = todayTextCell(painter.fontMetrics(), at);
    drawText(painter, cell.left(), cell.top(), "today");
}

// The legend at the top right: today's ring, and the refused cells' hatching when there are some.
void drawLegend(QPainter& painter, int right, bool refused) {
    PainterScope scope(painter);
    painter.setPen(palette::black);
    const int y = kChartMargin + 2;
    int x = right;
    if (refused) {
        x -= painter.fontMetrics().horizontalAdvance(QStringLiteral("refused by the sheet's rules"));
        drawText(painter, x, y, "refused by the sheet's rules");
        const QRect swatch(x - 18, y, 13, 12);
        painter.fillRect(swatch, kRefusedFill);
        painter.fillRect(swatch, QBrush(palette::noteGrey, Qt::BDiagPattern));
        x = swatch.left() - 20;
    }
    x -= painter.fontMetrics().horizontalAdvance(QStringLiteral("today's design"));
    drawText(painter, x, y, "today's design");
    drawTodayRing(painter, QPoint(x - 12, y + 6));
}

void drawColourBar(QPainter& painter, const DesignMapLayout& layout, const std::string& unit) {
    PainterScope scope(painter);
    const QRect& bar = layout.colourBar;
    for (int y = bar.top(); y <= bar.bottom(); ++y) {
        const double t = static_cast<double>(bar.bottom() - y) / std::max(1, bar.height() - 1);
        painter.fillRect(QRect(bar.left(), y, bar.width(), 1), mapColour(t));
    }
    drawFrame(painter, bar, palette::frameGrey);
    drawValueAxis(painter, layout.colours, bar.left(), bar.bottom(), bar.height() - 1, bar.top() - 4, unit);
}

void drawMarks(QPainter& painter, const DesignMapLayout& layout, const SweepData& data,
               const ChartMarks& marks, const QRect& bounds) {
    const SweepAxis& first = data.grid.first;
    const SweepAxis& second = *data.grid.second;
    const std::vector<int> xs = cellEdges(first, [&](double v) { return layout.xOf(v); });
    const std::vector<int> ys = cellEdges(second, [&](double v) { return layout.yOf(v); });
    PainterScope scope(painter);
    for (int index : {marks.selected, marks.hovered}) {
        if (index < 0 || index >= data.pointCount()) continue;
        const QRect cell = cellRect(xs, ys, index / second.steps, index % second.steps);
        painter.setPen(QPen(index == marks.hovered ? palette::white : palette::black, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cell.adjusted(-1, -1, 1, 1));
    }
    if (data.point(marks.hovered)) {
        const QRect cell = cellRect(xs, ys, marks.hovered / second.steps, marks.hovered % second.steps);
        drawInfoBox(painter, cell.center(), pointInfoLines(data, marks.hovered, false), bounds);
    }
}

}  // namespace

void drawDesignMap(QPainter& painter, const ViewResources& resources, const SweepData& data,
                   const ExploreOutput& mapped, QSize canvas, const ChartMarks& marks) {
    if (!data.isMap()) return;
    PainterScope scope(painter);
    beginView(painter, resources.labelFont);
    drawChartTitle(painter, resources.titleFont, "Design map of " + outputTitleWithUnit(mapped));
    const DesignMapLayout layout = designMapLayout(data, mapped, resources, canvas);
    const SweepAxis& first = data.grid.first;
    const SweepAxis& second = *data.grid.second;
    drawCells(painter, layout, data, mapped);
    bool refused = false;
    for (const SweepPoint* p : pointsRun(data))
        refused = refused || p->result.status == VariantStatus::Refused;
    drawValueAxis(painter, layout.y, layout.plot.left(), layout.plot.bottom(), spanUp(layout.plot),
                  layout.plot.top() - kArrowRoom, fieldTitleWithUnit(*second.field));
    drawInputAxis(painter, layout.x, layout.plot.bottom(), layout.plot.left(), spanAcross(layout.plot),
                  layout.plot.left(), layout.plot.right(), fieldTitleWithUnit(*first.field));
    const std::optional<QPoint> today = todayOnMap(layout, data);
    std::vector<QRectF> avoid;
    if (today) avoid.push_back(todayBox(painter.fontMetrics(), *today));
    drawIsolines(painter, layout, data, mapped, avoid);
    if (today) drawToday(painter, *today);
    drawColourBar(painter, layout, axisUnit(mapped));
    drawLegend(painter, canvas.width() - kChartMargin, refused);
    drawMarks(painter, layout, data, marks, QRect(QPoint(0, 0), canvas));
}

}  // namespace veltrano
