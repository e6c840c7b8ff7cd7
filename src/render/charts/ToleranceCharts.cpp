#include "render/charts/ToleranceCharts.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QPainter>

#include "core/design/NumberText.h"
#include "render/charts/ChartParts.h"
#include "render/charts/ChartScale.h"
#include "render/charts/ExploreText.h"
#include "render/resources/Palette.h"
#include "render/views/ChartText.h"
#include "render/views/PainterScopes.h"

namespace veltrano {

namespace {

constexpr int kLabelSpacing = 90, kCellGap = 24, kBarRow = 26, kBarHeight = 16, kTextGap = 6;

std::string percentText(double share) {
    return std::isfinite(share) ? formatNumber("%.1f", 100 * share) + " %" : "–";
}

// "iso_nfdpm<=10: 2.3 % outside (95 %: 1.5 to 3.4 %)".
std::string limitLine(const LimitShare& l) {
    const std::string bound = std::string(isCeiling(l.limit) ? "≤ " : "≥ ") + shortestText(l.limit.value);
    if (l.counted == 0) return bound + ": no sample computed";
    return bound + ": " + percentText(l.share) + " outside (95 %: " + formatNumber("%.1f", 100 * l.low) +
           " to " + percentText(l.high) + ")";
}

std::vector<const LimitShare*> limitsOf(const ToleranceChartData& data, std::size_t output) {
    std::vector<const LimitShare*> limits;
    for (const LimitShare& l : data.summary.limits)
        if (l.limit.output == data.setup.outputs[output]) limits.push_back(&l);
    return limits;
}

void drawHistogramCell(QPainter& painter, const ViewResources& resources, const ToleranceChartData& data,
                       std::size_t output, const QRect& cell) {
    PainterScope scope(painter);
    const QFontMetrics metrics(resources.labelFont);
    const int line = metrics.height() + 2;
    const ExploreOutput& o = *data.setup.outputs[output];
    const OutputStatistics& s = data.summary.outputs[output];
    painter.setFont(resources.labelBoldFont);
    painter.setPen(palette::textGrey);
    drawText(painter, cell.left(), cell.top(), outputTitleWithUnit(o));
    painter.setFont(resources.labelFont);
    drawText(painter, cell.left(), cell.top() + line,
             "mean " + outputText(s.mean) + ", sd " + outputText(s.sd) +
                 "; 5 % to 95 %: " + outputText(s.p5) + " to " + outputText(s.p95));
    const std::vector<const LimitShare*> limits = limitsOf(data, output);
    painter.setPen(palette::limitRed);
    for (std::size_t k = 0; k < limits.size(); ++k)
        drawText(painter, cell.left(), cell.top() + (2 + static_cast<int>(k)) * line, limitLine(*limits[k]));

    // Above the bars a row for the limits' labels, then one for today's.
    const int labelsTop = cell.top() + (2 + static_cast<int>(limits.size())) * line + kTextGap;
    const int top = labelsTop + 2 * line;
    const int bottom = cell.bottom() - inputAxisHeight(metrics);
    const QRect plot(cell.left() + 8, top, std::max(cell.width() - 24, 10), std::max(bottom - top, 10));
    if (!std::isfinite(s.min)) {
        painter.setPen(palette::noteGrey);
        drawText(painter, plot.center().x(), plot.center().y(), "no sample computed", Anchor::Centre);
        return;
    }
    // The scale spans the samples and the limits that lie near them: a limit far beyond would squeeze
    // the bars into a corner, and its share outside is written above.
    Extent extent;
    extent.add(s.min);
    extent.add(s.max);
    const double span = std::max(s.max - s.min, 1e-9 * std::max(1.0, std::abs(s.max)));
    for (const LimitShare* l : limits)
        if (l->limit.value >= s.min - span && l->limit.value <= s.max + span) extent.add(l->limit.value);
    const ChartScale scale = chartScale(extent.lo, extent.hi, spanAcross(plot), kLabelSpacing);
    const TickAxis axis = scale.axis(AxisDirection::Right, plot.bottom(), plot.left(), spanAcross(plot));
    const int computed = data.summary.samples - data.summary.refused;
    const int bins = std::clamp(static_cast<int>(std::sqrt(static_cast<double>(computed))), 8, 40);
    const Histogram h = outputHistogram(data, output, scale.range.minimum, scale.range.maximum, bins);
    const int highest = std::max(1, *std::max_element(h.counts.begin(), h.counts.end()));
    painter.setPen(QPen(palette::white, 1));
    painter.setBrush(palette::barBlue);
    for (int b = 0; b < bins; ++b) {
        const int x0 = axisPosition(axis, h.lo + (h.hi - h.lo) * b / bins);
        const int x1 = axisPosition(axis, h.lo + (h.hi - h.lo) * (b + 1) / bins);
        const int height = static_cast<int>(
            std::lround(1.0 * spanUp(plot) * h.counts[static_cast<std::size_t>(b)] / highest));
        if (height > 0)
            painter.drawRect(QRect(QPoint(x0, plot.bottom() - height), QPoint(x1, plot.bottom())));
    }
    painter.setBrush(Qt::NoBrush);
    const auto within = [&](double v) { return v >= scale.range.minimum && v <= scale.range.maximum; };
    if (output < data.today.size() && within(data.today[output])) {
        const int x = axisPosition(axis, data.today[output]);
        painter.setPen(QPen(palette::textGrey, 1, Qt::DotLine));
        painter.drawLine(x, plot.bottom(), x, labelsTop + line);
        painter.setPen(palette::textGrey);
        drawText(painter, x + 3, labelsTop + line, "today");
    }
    for (const LimitShare* l : limits) {
        if (!within(l->limit.value)) continue;
        const int x = axisPosition(axis, l->limit.value);
        painter.setPen(QPen(palette::limitRed, 2));
        painter.drawLine(x, plot.bottom(), x, labelsTop);
        drawText(painter, x + (isCeiling(l->limit) ? 4 : -4), labelsTop,
                 percentText(l->share) + (isCeiling(l->limit) ? " above" : " below"),
                 isCeiling(l->limit) ? Anchor::TopLeft : Anchor::Right);
    }
    drawInputAxis(painter, scale, plot.bottom(), plot.left(), spanAcross(plot), plot.left(), plot.right(),
                  "");
}

// Rows of a horizontal bar chart: a label and a bar from `zero` to the value on `scale`, the value
// written at its end.
struct BarRow {
    std::string label;
    std::optional<double> value;
    std::string text;
};

void drawBarRows(QPainter& painter, const ViewResources& resources, const std::vector<BarRow>& rows,
                 const ChartScale& scale, QRect area, const std::string& axisTitle) {
    PainterScope scope(painter);
    const QFontMetrics metrics(resources.labelFont);
    int labelWidth = 0;
    for (const BarRow& r : rows)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(QString::fromStdString(r.label)));
    labelWidth = std::min(labelWidth, area.width() / 2);
    const int valueRoom = metrics.horizontalAdvance(QStringLiteral("-0.0000")) + kTextGap;
    const int height = std::min(static_cast<int>(rows.size()) * kBarRow + kTextGap,
                                area.height() - inputAxisHeight(metrics));
    const QRect plot(area.left() + labelWidth + 2 * kTextGap + valueRoom, area.top(),
                     std::max(area.width() - labelWidth - 2 * kTextGap - 2 * valueRoom, 10),
                     std::max(height, 10));
    const TickAxis axis = scale.axis(AxisDirection::Right, plot.bottom(), plot.left(), spanAcross(plot));
    const int zero = axisPosition(axis, std::clamp(0.0, scale.range.minimum, scale.range.maximum));
    // The rows that fit; when some do not, the last place says how many are left out.
    const auto capacity = static_cast<std::size_t>(std::max(0, (plot.height() - kTextGap) / kBarRow));
    const std::size_t shown = rows.size() <= capacity ? rows.size() : std::max<std::size_t>(capacity, 1) - 1;
    const auto rowTop = [&](std::size_t k) { return plot.top() + static_cast<int>(k) * kBarRow + kTextGap; };
    if (shown < rows.size()) {
        painter.setPen(palette::noteGrey);
        drawText(painter, plot.left() - valueRoom - kTextGap, rowTop(shown),
                 "and " + std::to_string(rows.size() - shown) + " smaller, not shown", Anchor::Right);
    }
    for (std::size_t k = 0; k < shown; ++k) {
        const int y = rowTop(k);
        const int textTop = y + (kBarHeight - metrics.height()) / 2;
        painter.setPen(palette::textGrey);
        drawText(painter, plot.left() - valueRoom - kTextGap, textTop,
                 metrics.elidedText(QString::fromStdString(rows[k].label), Qt::ElideMiddle, labelWidth),
                 Anchor::Right);
        if (!rows[k].value) {
            drawText(painter, zero + kTextGap, textTop, rows[k].text, Anchor::TopLeft);
            continue;
        }
        const int end = axisPosition(axis, *rows[k].value);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette::barBlue);
        painter.drawRect(QRect(QPoint(std::min(zero, end), y), QPoint(std::max(zero, end), y + kBarHeight)));
        painter.setPen(palette::textGrey);
        const bool left = end < zero;
        drawText(painter, end + (left ? -kTextGap : kTextGap), textTop, rows[k].text,
                 left ? Anchor::Right : Anchor::TopLeft);
    }
    painter.setPen(QPen(palette::frameGrey, 1));
    painter.drawLine(zero, plot.top(), zero, plot.bottom());
    drawInputAxis(painter, scale, plot.bottom(), plot.left(), spanAcross(plot), plot.left(), plot.right(),
                  axisTitle);
}

}  // namespace

Histogram outputHistogram(const ToleranceChartData& data, std::size_t output, double lo, double hi,
                          int bins) {
    Histogram h{lo, hi, std::vector<int>(static_cast<std::size_t>(std::max(bins, 1)))};
    const double width = (hi - lo) / static_cast<double>(h.counts.size());
    for (const ToleranceSample& s : data.samples) {
        if (s.refused) continue;
        const double v = s.outputs[output];
        if (!(v >= lo && v <= hi) || !(width > 0)) continue;
        const auto bin = std::min(static_cast<std::size_t>((v - lo) / width), h.counts.size() - 1);
        ++h.counts[bin];
    }
    return h;
}

void drawToleranceHistograms(QPainter& painter, const ViewResources& resources,
                             const ToleranceChartData& data, QSize canvas) {
    PainterScope scope(painter);
    beginView(painter, resources.labelFont);
    std::string title =
        "Tolerances of the current design: " + std::to_string(data.summary.samples) + " samples";
    if (data.summary.refused > 0)
        title += ", " + std::to_string(data.summary.refused) + " refused by the sheet's rules";
    drawChartTitle(painter, resources.titleFont, title);
    const int n = static_cast<int>(data.setup.outputs.size());
    if (n == 0) return;
    const int columns = n == 1 ? 1 : n <= 4 ? 2 : 3;
    const int rows = (n + columns - 1) / columns;
    const int top = kChartMargin + kTitleHeight + kTextGap;
    const int width = (canvas.width() - 2 * kChartMargin - (columns - 1) * kCellGap) / columns;
    const int height = (canvas.height() - top - kChartMargin - (rows - 1) * kCellGap) / rows;
    for (int k = 0; k < n; ++k) {
        const QRect cell(kChartMargin + (k % columns) * (width + kCellGap),
                         top + (k / columns) * (height + kCellGap), width, height);
        drawHistogramCell(painter, resources, data, static_cast<std::size_t>(k), cell);
    }
}

void drawVarianceShares(QPainter& painter, const ViewResources& resources, const ToleranceChartData& data,
                        std::size_t output, QSize canvas) {
    PainterScope scope(painter);
    beginView(painter, resources.labelFont);
    const ExploreOutput& o = *data.setup.outputs[output];
    drawChartTitle(painter, resources.titleFont, "Shares of the variance of " + outputTitleWithUnit(o));
    std::vector<BarRow> rows;
    double together = 0;
    for (std::size_t k = 0; k < data.setup.inputs.size(); ++k) {
        const std::optional<double> share = data.summary.shares[output][k];
        together += share.value_or(0);
        rows.push_back(
            {fieldTitle(*data.setup.inputs[k].field) + " (" + spreadText(data.setup.inputs[k].spread) + ")",
             share, share ? percentText(*share) : "–"});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const BarRow& a, const BarRow& b) {
        return a.value.value_or(-1) > b.value.value_or(-1);
    });
    const QFontMetrics metrics(resources.labelFont);
    const int top = kChartMargin + kTitleHeight + kTextGap;
    const int noteHeight = 2 * (metrics.height() + 2);
    const QRect area(kChartMargin, top, canvas.width() - 2 * kChartMargin,
                     canvas.height() - top - kChartMargin - noteHeight);
    drawBarRows(painter, resources, rows, chartScale(0, 1, area.width() / 2, kLabelSpacing, ScaleEnds::Exact),
                area, "share of the variance (first order)");
    painter.setPen(palette::noteGrey);
    const int noteTop = canvas.height() - kChartMargin - noteHeight;
    drawText(painter, kChartMargin, noteTop,
             "Each share is the part of the variance the input explains alone; together " +
                 percentText(together) + ".");
    drawText(
        painter, kChartMargin, noteTop + metrics.height() + 2,
        "What is missing to 100 % comes from inputs acting together where the model is not linear, and from "
        "sampling noise.");
}

std::vector<TornadoBar> tornadoBars(std::span<const SensitivityRow> rows, std::size_t output) {
    std::vector<TornadoBar> bars;
    for (const SensitivityRow& r : rows)
        if (output < r.elasticities.size() && r.elasticities[output])
            bars.push_back({r.field, *r.elasticities[output]});
    std::stable_sort(bars.begin(), bars.end(), [](const TornadoBar& a, const TornadoBar& b) {
        return std::abs(a.elasticity) > std::abs(b.elasticity);
    });
    return bars;
}

void drawTornado(QPainter& painter, const ViewResources& resources, std::span<const SensitivityRow> rows,
                 const ExploreOutput& output, std::size_t outputIndex, double stepPercent, QSize canvas) {
    PainterScope scope(painter);
    beginView(painter, resources.labelFont);
    drawChartTitle(painter, resources.titleFont,
                   "Elasticities of " + outputTitleWithUnit(output) + " (steps of ±" +
                       shortestText(stepPercent) + " %)");
    const std::vector<TornadoBar> bars = tornadoBars(rows, outputIndex);
    double largest = 0;
    std::vector<BarRow> barRows;
    for (const TornadoBar& b : bars) {
        largest = std::max(largest, std::abs(b.elasticity));
        barRows.push_back({fieldTitle(*b.field), b.elasticity, formatNumber("%+.3f", b.elasticity)});
    }
    if (largest == 0) largest = 1;
    const int top = kChartMargin + kTitleHeight + kTextGap;
    const QRect area(kChartMargin, top, canvas.width() - 2 * kChartMargin,
                     canvas.height() - top - kChartMargin);
    drawBarRows(painter, resources, barRows, chartScale(-largest, largest, area.width() / 2, kLabelSpacing),
                area, "% change of the output per % change of the input");
}

}  // namespace veltrano
