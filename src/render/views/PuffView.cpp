#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "core/design/NumberText.h"
#include "render/resources/Palette.h"
#include "render/resources/Pictures.h"
#include "render/views/Axis.h"
#include "render/views/ChartText.h"
#include "render/views/Curves.h"
#include "render/views/PainterScopes.h"
#include "render/views/PuffTable.h"
#include "render/views/TableDrawing.h"
#include "render/views/ValueText.h"
#include "render/views/Views.h"

namespace veltrano {

namespace {

constexpr int kYieldChartTop = 0, kVentChartTop = 270;
constexpr int kAxisY = 225, kBarAreaLeft = 80, kBarLimit = 720, kMaxBarHeight = 195;
constexpr int kTableX = 65, kTableY = 530;

// Bar width for n puffs: each puff owns a column of five bar widths, and the columns share 640
// pixels, with bars 2 to 20 pixels wide.
int barWidth(int n) {
    const double m = 640.0 / (n * 5.0);
    return m < 2 ? 2 : m > 20 ? 20 : checkedFloorToInt(m);
}

// The bars of one puff column: three slots of cx pixels, drawn only while the column ends before x 720.
struct PuffColumns {
    int n, cx;
    double labelX(int i) const { return kBarAreaLeft + 2.5 * cx + 5.0 * cx * i; }
    long long firstBar(int i) const { return kBarAreaLeft + 5LL * cx * i + cx; }
    bool barsShown(int i) const { return firstBar(i) + 3LL * cx < kBarLimit; }
};

// The next step of the series 1, 2, 5, 10, 20, 50, ...
int nextLabelStep(int step) {
    int decade = 1;
    while (step >= decade * 10) decade *= 10;
    const int mantissa = step / decade;
    return (mantissa == 1 ? 2 : mantissa == 2 ? 5 : 10) * decade;
}

// The puffs whose numbers stand under the axis. Each label is centred in its puff's column while left
// of x 720. Where a column is narrower than the widest label, only every 2nd, 5th, 10th, ... puff is
// labelled (the first step at which labels fit side by side), besides the first puff; the last drawn
// puff is always labelled, in place of a label it would touch. No two labels come closer than a blank.
std::vector<int> labelledPuffs(const PuffColumns& columns, const QFontMetrics& metrics) {
    int drawn = 0;
    while (drawn < columns.n && toPixels(columns.labelX(drawn)) < kBarLimit) ++drawn;
    if (drawn == 0) return {};
    const int gap = metrics.horizontalAdvance(QLatin1Char(' '));
    const int widest = metrics.horizontalAdvance(QString::number(drawn));
    int step = 1;
    while (step * 5 * columns.cx < widest + gap) step = nextLabelStep(step);

    const auto cell = [&](int i) {
        return textCell(metrics, toPixels(columns.labelX(i)), kAxisY + 8, QString::number(i + 1),
                        Anchor::Centre);
    };
    const auto clearOf = [&](int left, int right) {
        return cell(right).left() >= cell(left).right() + 1 + gap;
    };
    std::vector<int> labelled{0};
    for (int i = step - 1; i < drawn; i += step)
        if (i > 0 && clearOf(labelled.back(), i)) labelled.push_back(i);
    const int last = drawn - 1;
    if (labelled.back() != last) {
        while (labelled.size() > 1 && !clearOf(labelled.back(), last)) labelled.pop_back();
        if (clearOf(labelled.back(), last))
            labelled.push_back(last);
        else
            labelled.back() = last;
    }
    return labelled;
}

// A 5-pixel tick under every drawn puff's column, and the labels of labelledPuffs.
void drawPuffLabels(QPainter& painter, const PuffColumns& columns) {
    for (int i = 0; i < columns.n; ++i) {
        const int x = toPixels(columns.labelX(i));
        if (x >= kBarLimit) break;
        painter.drawLine(x, kAxisY, x, kAxisY + 5);
    }
    for (int i : labelledPuffs(columns, painter.fontMetrics()))
        drawText(painter, toPixels(columns.labelX(i)), kAxisY + 8,
                 formatText("%i", {static_cast<long long>(i + 1)}), Anchor::Centre);
}

// Where the bars of a chart go: the bar texture, the puff columns, and the right axis's title and
// unit, which the bars keep clear of.
struct BarPlot {
    const QImage& bars;
    const PuffColumns& columns;
    std::array<QRect, 2> axisTitle;
};

// The right axis's title and unit, left-aligned at x 85; returns the cells they take.
std::array<QRect, 2> drawRightAxisTitle(QPainter& painter, const char* title, const char* unit) {
    return {drawText(painter, 85, 5, title), drawText(painter, 85, 20, unit)};
}

// A bar of value × scale pixels standing on the axis in slot `slot` of puff i: the lowest rows of a
// stripe of the bar texture. A bar under the right axis's title ends below its unit, so that bars
// never run through the text.
void drawBar(QPainter& painter, const BarPlot& plot, BarStripe stripe, int i, int slot, double value,
             double scale) {
    const int x = static_cast<int>(plot.columns.firstBar(i)) + slot * plot.columns.cx;
    int height = std::min(axisOffset(value, scale), kBarTextureHeight);
    for (const QRect& text : plot.axisTitle)
        if (x <= text.right() && x + plot.columns.cx > text.left())
            height = std::min(height, kAxisY - 1 - text.bottom());
    if (height <= 0) return;
    drawImagePiece(painter, QPoint(x, kAxisY - height), plot.bars,
                   QRect(static_cast<int>(stripe) * kBarStripeWidth, kBarTextureHeight - height,
                         plot.columns.cx, height));
}

void drawChartAxes(QPainter& painter) {
    drawAxisLine(painter, {40, 230}, {40, 20}, kScreenArrow);
    drawAxisLine(painter, {kBarAreaLeft, 230}, {kBarAreaLeft, 20}, kScreenArrow);
    drawAxisLine(painter, {35, kAxisY}, {730, kAxisY}, kScreenArrow);
}

void drawSwatch(QPainter& painter, int y, const QColor& colour, const char* name) {
    drawLegendSwatch(painter, colour, QRect(740, y, 20, 7), 765, y - 3, name);
}

const TickStyle kLeftTicks{3, 5, 2, "%.1f", 7};

void drawYieldChart(QPainter& painter, const ViewResources& resources, const CigaretteDesign& d,
                    const PuffColumns& columns) {
    const bool nico = d.isKnown(KnownBit::IsoNicotine), tar = d.isKnown(KnownBit::IsoTar),
               co = d.isKnown(KnownBit::IsoCo);
    double g = 0.1;
    for (int i = 0; i < columns.n; ++i) {
        if (tar) g = largestOf(g, {d.puff_nfdpm[i]});
        if (co) g = largestOf(g, {d.puff_co[i]});
        if (nico) g = largestOf(g, {10 * d.puff_nico[i]});
    }
    const AxisRange range = yieldAxis(g);
    const double scale = axisScale(kMaxBarHeight, range);

    drawChartAxes(painter);
    if (tar || co) drawTicks(painter, {AxisDirection::Up, 40, kAxisY, 40, kMaxBarHeight, range}, kLeftTicks);
    drawText(painter, 40, 5, "'Tar',CO", Anchor::Right);
    drawText(painter, 35, 20, "mg", Anchor::Right);
    if (nico)
        drawTicks(painter, {AxisDirection::Up, kBarAreaLeft, kAxisY, 40, kMaxBarHeight, range},
                  {3, 5, 2, "%.2f", 7, 7, 10.0});
    const BarPlot plot{resources.barTexture, columns, drawRightAxisTitle(painter, "Nicotine", "mg")};

    drawPuffLabels(painter, columns);
    for (int i = 0; i < columns.n && columns.barsShown(i); ++i) {
        if (tar) drawBar(painter, plot, BarStripe::LightGreen, i, 0, d.puff_nfdpm[i], scale);
        if (nico) drawBar(painter, plot, BarStripe::DarkGreen, i, 1, 10 * d.puff_nico[i], scale);
        if (co) drawBar(painter, plot, BarStripe::Blue, i, 2, d.puff_co[i], scale);
    }
    drawSwatch(painter, 183, palette::lightGreen, "Nicotine-free DPM ('tar')");
    drawSwatch(painter, 198, palette::darkGreen, "Nicotine");
    drawSwatch(painter, 213, palette::lightBlue, "Carbon monoxide (CO)");
}

void drawVentilationChart(QPainter& painter, const ViewResources& resources, const CigaretteDesign& d,
                          const PuffColumns& columns) {
    double ventilation = 0.0, pressure = 0.0;
    for (int i = 0; i < columns.n; ++i) {
        ventilation = largestOf(ventilation, {d.puff_fivent[i], d.puff_rovent[i]});
        pressure = largestOf(pressure, {d.puff_avgpd[i]});
    }
    const AxisRange ventRange = puffVentStep(ventilation), pressureRange = puffPressureStep(pressure);
    const double ventScale = axisScale(kMaxBarHeight, ventRange);
    const double pressureScale = axisScale(kMaxBarHeight, pressureRange);

    drawChartAxes(painter);
    drawTicks(painter, {AxisDirection::Up, 40, kAxisY, 40, kMaxBarHeight, ventRange}, kLeftTicks);
    drawText(painter, 35, 5, "Vent.", Anchor::Right);
    drawText(painter, 35, 20, "%", Anchor::Right);
    drawTicks(painter, {AxisDirection::Up, kBarAreaLeft, kAxisY, 28, kMaxBarHeight, pressureRange},
              kLeftTicks);
    const BarPlot plot{resources.barTexture, columns, drawRightAxisTitle(painter, "Pressure", "mm H2O")};

    drawPuffLabels(painter, columns);
    for (int i = 0; i < columns.n && columns.barsShown(i); ++i) {
        drawBar(painter, plot, BarStripe::LightGreen, i, 0, d.puff_fivent[i], ventScale);
        drawBar(painter, plot, BarStripe::DarkGreen, i, 1, d.puff_rovent[i], ventScale);
        drawBar(painter, plot, BarStripe::Blue, i, 2, d.puff_avgpd[i], pressureScale);
    }
    drawSwatch(painter, 183, palette::lightGreen, "Degree of filter ventilation");
    drawSwatch(painter, 198, palette::darkGreen, "Degree of rod ventilation");
    drawSwatch(painter, 213, palette::lightBlue, "Open draw resistance");
}

// The table: alternative totals, the "Puff data" column and the smoking regime with its puff shape.
constexpr int kTableRight = 649, kTableBottom = 163;
constexpr int kRowTop = 23, kRowHeight = 20, kTextInset = 2;
int rowText(int r) {
    return kRowTop + kRowHeight * r + kTextInset;
}

// The "Puff data" heading cell and its seven value cells, in table coordinates.
const QRect kPuffHeadingCell(351, 1, 148, 22);
QRect puffValueCell(int r) {
    return QRect(351, 24 + kRowHeight * r, 75, 18);
}

void drawPuffData(QPainter& painter, const CigaretteDesign& d, int n, int hoveredPuff) {
    painter.fillRect(kPuffHeadingCell, palette::panelGrey);
    for (int r = 0; r < 7; ++r) painter.fillRect(puffValueCell(r), palette::panelGrey);
    if (hoveredPuff < 0 || hoveredPuff >= n) {
        drawText(painter, 425, 5, "Puff data", Anchor::Centre);
        return;
    }
    const int i = hoveredPuff;
    drawText(painter, 425, 5, formatText("Puff #%i data", {static_cast<long long>(i + 1)}), Anchor::Centre);
    const std::string values[] = {
        valueText("%.1f", d.puff_fivent[i]),
        valueText("%.1f", d.puff_rovent[i]),
        valueText("%.1f", d.puff_avgpd[i]),
        valueText("%.1f", d.puff_size[i] / 10.0),
        valueOr(d.isKnown(KnownBit::IsoTar), "%.2f", d.puff_nfdpm[i], ""),
        valueOr(d.isKnown(KnownBit::IsoNicotine), "%.2f", d.puff_nico[i], ""),
        valueOr(d.isKnown(KnownBit::IsoCo), "%.2f", d.puff_co[i], ""),
    };
    for (int r = 0; r < 7; ++r)
        if (!values[r].empty()) drawText(painter, 420, rowText(r), values[r], Anchor::Right);
}

void drawPuffShape(QPainter& painter, const CigaretteDesign& d) {
    drawAxisLine(painter, {510, 155}, {510, 50}, kScreenArrow);
    drawAxisLine(painter, {505, 150}, {645, 150}, kScreenArrow);
    PainterScope scope(painter);
    painter.setPen(screenPen(palette::lightBlue));
    const double scale = 95 / entryOf(d.alt_tab_flow, kTableSamples - 1);
    painter.drawPolyline(
        sampledCurve(d.alt_prof_flow, kCurveSamples, 125, [](int i) { return 511 + i; }, {151, scale}));
}

void drawTable(QPainter& painter, const ViewResources& resources, const CigaretteDesign& d, int n,
               int hoveredPuff) {
    drawPanel(painter, QRect(0, 0, kTableRight + 1, kTableBottom + 1), palette::panelGrey,
              palette::frameGrey);
    painter.setPen(screenPen(palette::frameGrey));
    for (int x : {200, 350, 500}) drawVerticalRule(painter, x, 0, kTableBottom);
    for (int y : {23, 43}) drawHorizontalRule(painter, y, 0, kTableRight);
    for (int y = 63; y <= 143; y += kRowHeight) drawHorizontalRule(painter, y, 0, 500);

    painter.setFont(resources.titleFont);
    painter.setPen(palette::textGrey);
    drawText(painter, 275, 5, "Alternative Smoking", Anchor::Centre);
    drawText(painter, 575, 5, "Smoking Regime", Anchor::Centre);

    const bool puff = d.isKnown(KnownBit::IsoPuffNumber), nico = d.isKnown(KnownBit::IsoNicotine),
               tar = d.isKnown(KnownBit::IsoTar), co = d.isKnown(KnownBit::IsoCo);
    struct Row {
        const char* label;
        std::string total;
        const char* unit;
        const char* puffUnit;
    };
    const Row rows[] = {
        {"Degree of filter ventilation", valueText("%.1f", d.alt_fivent), "%", "%"},
        {"Degree of rod ventilation", valueText("%.1f", d.alt_rovent), "%", "%"},
        {"Avg. open draw resistance", valueText("%.1f", d.alt_pdo), "mm H2O", "mm H2O"},
        {"Puff number", valueOr(puff, "%.2f", d.alt_puff, "--.--"), "", ""},
        {"Nicotine-free DPM ('tar')", valueOr(tar, "%.2f", d.alt_nfdpm, "--.--"), "mg/cig", "mg"},
        {"Nicotine", valueOr(nico, "%.2f", d.alt_nico, "--.--"), "mg/cig", "mg"},
        {"Carbon Monoxide (CO)", valueOr(co, "%.2f", d.alt_co, "--.--"), "mg/cig", "mg"},
    };
    for (int r = 0; r < 7; ++r) {
        drawText(painter, 5, rowText(r), rows[r].label);
        drawValueWithUnit(painter, 270, rowText(r), rows[r].total, rows[r].unit);
        drawText(painter, 430, rowText(r), rows[r].puffUnit);
    }
    drawText(painter, 575, 25, regimeTitle(d), Anchor::Centre);
    drawPuffData(painter, d, n, hoveredPuff);

    painter.setPen(screenPen(Qt::black));
    drawPuffShape(painter, d);
}

}  // namespace

QRect puffDataCellsRect() {
    return QRect(kPuffHeadingCell.topLeft(), puffValueCell(6).bottomLeft())
        .adjusted(0, 0, kPuffHeadingCell.width() - 1, 0)
        .translated(kTableX, kTableY);
}

PuffHoverGeometry puffHoverGeometry(const CigaretteDesign& d) {
    const int n = puffCount(d);
    if (n < 1) return {};
    const PuffColumns columns{n, barWidth(n)};
    PuffHoverGeometry hover;
    hover.puffAreaLeft = kBarAreaLeft;
    hover.puffAreaRight = kBarAreaLeft + toPixels(n * 5.0 * columns.cx);
    hover.puffAreaTop = 30;
    hover.gapTop = 225;
    hover.gapBottom = 300;
    hover.puffAreaBottom = 495;
    hover.puffColumnWidth = 5 * columns.cx;
    return hover;
}

void drawPuffView(QPainter& painter, const ViewResources& resources, const CigaretteDesign& d,
                  int hoveredPuff) {
    const int n = puffCount(d);
    if (n < 1) return;
    PainterScope scope(painter);
    beginView(painter, resources.labelFont);
    const PuffColumns columns{n, barWidth(n)};
    {
        BlockScope block(painter, 0, kYieldChartTop);
        drawYieldChart(painter, resources, d, columns);
    }
    {
        BlockScope block(painter, 0, kVentChartTop);
        drawVentilationChart(painter, resources, d, columns);
    }
    {
        BlockScope block(painter, kTableX, kTableY);
        drawTable(painter, resources, d, n, hoveredPuff);
    }
}

}  // namespace veltrano
