#include <QPainter>
#include <tuple>
#include <utility>

#include "render/resources/Palette.h"
#include "render/views/Axis.h"
#include "render/views/ChartAxes.h"
#include "render/views/ChartText.h"
#include "render/views/Curves.h"
#include "render/views/PainterScopes.h"
#include "render/views/TableDrawing.h"
#include "render/views/ValueText.h"
#include "render/views/Views.h"

namespace veltrano {

namespace {

// One row of the view: the puff curves and the characteristic of one smoking regime.
struct RegimeRow {
    RegimeCurves curves;
    const char* title;
    std::string regime;
};

constexpr int kAxisY = 225, kPuffPoints = 210;
constexpr int kPuffPlotWidth = 210, kPlotHeight = 190, kTablePlotWidth = 360;

void drawLegendEntry(QPainter& painter, int y, const QPen& pen, const char* name) {
    drawLegendLine(painter, pen, 740, 760, y, 763, y - 7, name);
}

void drawRegimeRow(QPainter& painter, const ViewResources& resources, const PuffChartAxes& axes,
                   const RegimeRow& row, bool perforated) {
    drawAxisLine(painter, {40, 230}, {40, 20}, kScreenArrow);
    drawAxisLine(painter, {35, kAxisY}, {260, kAxisY}, kScreenArrow);
    drawAxisLine(painter, {320, 230}, {320, 20}, kScreenArrow);
    drawAxisLine(painter, {360, 230}, {360, 20}, kScreenArrow);
    drawAxisLine(painter, {315, kAxisY}, {730, kAxisY}, kScreenArrow);

    // Puff chart: flow over time.
    drawTicks(painter, {AxisDirection::Up, 40, kAxisY, 40, kPlotHeight, axes.puffFlow}, {3, 5, 4, "%i", 9});
    drawText(painter, 35, 5, "V", Anchor::Right);
    drawText(painter, 35, 20, "cm³/s", Anchor::Right);
    const TickStyle timeTicks{5, 7, 5, "%.1f", 10};
    drawTicks(painter, {AxisDirection::Right, kAxisY, 40, 260, kPuffPlotWidth, axes.puffTime}, timeTicks);
    drawText(painter, 270, kAxisY + timeTicks.labelGap, "s", Anchor::Right);

    const double flowScale = axisScale(kPlotHeight, axes.puffFlow), t = axes.puffTime.maximum;
    const auto column = [&](int i) { return 41 + toPixels(i * row.curves.duration / t); };
    const CurveAxis puffY{kAxisY - 1, flowScale};
    const std::pair<const std::vector<double>*, QColor> puffCurves[] = {
        {&row.curves.profFlow, palette::lightBlue},
        {&row.curves.profFivent, palette::lightGreen},
        {&row.curves.profRovent, palette::darkGreen}};
    for (const auto& [values, colour] : puffCurves) {
        painter.setPen(screenPen(colour));
        painter.drawPolyline(sampledCurve(*values, kCurveSamples, kPuffPoints, column, puffY));
    }
    painter.setPen(screenPen(Qt::black));

    // Characteristic chart: ventilation and suction over flow.
    drawTicks(painter, {AxisDirection::Up, 320, kAxisY, 40, kPlotHeight, axes.ventilation},
              {3, 5, 5, "%i", 9});
    drawText(painter, 315, 5, "Vent.", Anchor::Right);
    drawText(painter, 315, 20, "%", Anchor::Right);
    drawTicks(painter, {AxisDirection::Up, 360, kAxisY, 25, kPlotHeight, axes.suction}, {3, 5, 2, "%i", 9});
    drawText(painter, 365, 5, "Pressure");
    drawText(painter, 365, 20, "mm H2O");
    const TickStyle flowTicks{3, 5, 5, "%i", 10};
    drawTicks(painter, {AxisDirection::Right, kAxisY, 360, 720, kTablePlotWidth, axes.tableFlow}, flowTicks);
    drawText(painter, 730, kAxisY + flowTicks.labelGap, "cm³/s");

    const CurveAxis tableX{361, axisScale(kTablePlotWidth, axes.tableFlow)};
    const CurveAxis ventY{kAxisY - 1, axisScale(kPlotHeight, axes.ventilation)};
    const CurveAxis suctionY{kAxisY - 1, axisScale(kPlotHeight, axes.suction)};
    const int averageFrom = rightFrom(tableX, entryOf(row.curves.tabFlow, kFirstTableEntry));
    const int averageTo = rightFrom(tableX, entryOf(row.curves.tabFlow, kLastTableEntry));
    const std::tuple<double, CurveAxis, QColor> averages[] = {
        {row.curves.fivent, ventY, palette::lightBlue},
        {row.curves.rovent, ventY, palette::darkBlue},
        {row.curves.pdo, suctionY, palette::lightGreen}};
    for (const auto& [value, axis, colour] : averages) {
        painter.setPen(screenPen(colour, Qt::DotLine));
        const int y = upFrom(axis, value);
        painter.drawLine(averageFrom, y, averageTo, y);
    }

    const std::tuple<const std::vector<double>*, CurveAxis, QColor> tableCurves[] = {
        {&row.curves.tabFivent, ventY, palette::lightBlue},
        {&row.curves.tabRovent, ventY, palette::darkBlue},
        {&row.curves.tabPdo, suctionY, palette::lightGreen},
        {&row.curves.tabPvent, suctionY, palette::darkGreen}};
    for (const auto& [values, axis, colour] : tableCurves) {
        if (values == &row.curves.tabPvent && !perforated) continue;
        painter.setPen(screenPen(colour));
        painter.drawPolyline(tableCurve(row.curves.tabFlow, *values, tableX, axis));
    }

    drawLegendEntry(painter, 112, screenPen(palette::lightBlue), "Flow at mouth end");
    drawLegendEntry(painter, 127, screenPen(palette::lightGreen), "Flow through perforation");
    drawLegendEntry(painter, 142, screenPen(palette::darkGreen), "Flow through cigarette paper");
    drawLegendEntry(painter, 172, screenPen(palette::lightBlue), "Degree of filter ventilation");
    drawLegendEntry(painter, 187, screenPen(palette::darkBlue), "Degree of rod ventilation");
    drawLegendEntry(painter, 202, screenPen(palette::lightGreen), "Pressure at mouth end");
    if (perforated) drawLegendEntry(painter, 217, screenPen(palette::darkGreen), "Pressure at perforation");

    PainterScope scope(painter);
    painter.setFont(resources.titleFont);
    painter.setPen(palette::textGrey);
    drawText(painter, 740, 20, row.title);
    drawText(painter, 740, 40, row.regime);
}

void drawComparisonTable(QPainter& painter, const ViewResources& resources, const CigaretteDesign& d) {
    const QRect box(0, 0, 650, 180);
    constexpr int lastRule = 163;
    drawPanel(painter, box, palette::panelGrey, palette::frameGrey);
    painter.setPen(screenPen(palette::frameGrey));
    for (int x : {200, 350, 500}) drawVerticalRule(painter, x, 0, lastRule);
    for (int y = 23; y <= lastRule; y += 20) drawHorizontalRule(painter, y, box.left(), box.right());

    painter.setFont(resources.titleFont);
    painter.setPen(palette::textGrey);
    drawText(painter, 275, 5, "Stationary Flow", Anchor::Centre);
    drawText(painter, 425, 5, "ISO Smoking", Anchor::Centre);
    drawText(painter, 575, 5, "Alternative Smoking", Anchor::Centre);

    const bool puff = d.isKnown(KnownBit::IsoPuffNumber), nico = d.isKnown(KnownBit::IsoNicotine),
               tar = d.isKnown(KnownBit::IsoTar), co = d.isKnown(KnownBit::IsoCo);
    struct Row {
        const char* label;
        std::string stationary, iso, alternative;
        const char* unit;
    };
    const Row rows[] = {
        {"Degree of filter ventilation", valueText("%.1f", d.stat_fivent), valueText("%.1f", d.iso_fivent),
         valueText("%.1f", d.alt_fivent), "%"},
        {"Degree of rod ventilation", valueText("%.1f", d.stat_rovent), valueText("%.1f", d.iso_rovent),
         valueText("%.1f", d.alt_rovent), "%"},
        {"Avg. open draw resistance", valueText("%.1f", d.stat_pdo), valueText("%.1f", d.iso_pdo),
         valueText("%.1f", d.alt_pdo), "mm H2O"},
        {"Puff number", "", valueOr(puff, "%.2f", d.iso_puff, "--.--"),
         valueOr(puff, "%.2f", d.alt_puff, "--.--"), ""},
        {"Nicotine-free DPM ('tar')", "", valueOr(tar, "%.2f", d.iso_nfdpm, "--.--"),
         valueOr(tar, "%.2f", d.alt_nfdpm, "--.--"), "mg/cig"},
        {"Nicotine", "", valueOr(nico, "%.2f", d.iso_nico, "--.--"),
         valueOr(nico, "%.2f", d.alt_nico, "--.--"), "mg/cig"},
        {"Carbon Monoxide (CO)", "", valueOr(co, "%.2f", d.iso_co, "--.--"),
         valueOr(co, "%.2f", d.alt_co, "--.--"), "mg/cig"},
    };
    for (int r = 0; r < 7; ++r) {
        const int y = 25 + 20 * r;
        drawText(painter, 5, y, rows[r].label);
        if (!rows[r].stationary.empty()) drawValueWithUnit(painter, 270, y, rows[r].stationary, rows[r].unit);
        drawValueWithUnit(painter, 420, y, rows[r].iso, rows[r].unit);
        drawValueWithUnit(painter, 570, y, rows[r].alternative, rows[r].unit);
    }

    painter.setFont(resources.labelFont);
    painter.setPen(palette::noteGrey);
    drawText(
        painter, 5, 165,
        "The degrees of ventilation and the average open draw resistance are calculated over a puff on the "
        "unlit cigarette.");
}

}  // namespace

void drawYieldsView(QPainter& painter, const ViewResources& resources, const CigaretteDesign& d) {
    PainterScope scope(painter);
    beginView(painter, resources.labelFont);
    const PuffChartAxes axes = puffChartAxes(d);
    const bool perforated = d.tp_perfotype != kNoPerforation;

    const RegimeRow iso{isoRegimeCurves(d), "ISO Smoking Regime", "35/2/60/0%"};
    const RegimeRow alternative{alternativeRegimeCurves(d), "Alternative Smoking Regime", regimeTitle(d)};
    {
        BlockScope block(painter, 0, 10);
        drawRegimeRow(painter, resources, axes, iso, perforated);
    }
    {
        BlockScope block(painter, 0, 270);
        drawRegimeRow(painter, resources, axes, alternative, perforated);
    }
    BlockScope block(painter, 65, 530);
    drawComparisonTable(painter, resources, d);
}

}  // namespace veltrano
