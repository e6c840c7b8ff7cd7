#include <QPainter>
#include <vector>

#include "render/print/PaperBlock.h"
#include "render/print/PrintBlocks.h"
#include "render/print/SheetFonts.h"
#include "render/views/Axis.h"
#include "render/views/ChartAxes.h"
#include "render/views/ChartText.h"
#include "render/views/Curves.h"
#include "render/views/TableDrawing.h"

namespace veltrano {

namespace {

// Every chart of the sheet: the horizontal axis at y 550, vertical axes from y 570 up to 0 with
// their ticks above y 40 and 500 units for their maximum; labels 15 units from their axis, those of
// vertical axes with their top 10 above the tick.
constexpr int kAxisY = 550, kAxisStart = 570, kTickTop = 40, kPlotHeight = 500;
constexpr int kLabelGap = 15, kLabelRaise = 10;
constexpr int kUnitY = kAxisY + kLabelGap;

TickStyle verticalTicks(int shortLength, int labelEvery) {
    return {shortLength, 10, labelEvery, "%i", kLabelGap, kLabelRaise};
}
TickStyle horizontalTicks(const char* format) {
    return {5, 10, 5, format, kLabelGap};
}

void drawVerticalAxis(QPainter& painter, int x) {
    drawAxisLine(painter, {x, kAxisStart}, {x, 0}, kPaperArrow);
}
void drawHorizontalAxis(QPainter& painter, int fromX, int toX) {
    drawAxisLine(painter, {fromX, kAxisY}, {toX, kAxisY}, kPaperArrow);
}

void drawCurve(QPainter& painter, const QPolygon& curve, int penWidth) {
    PainterScope scope(painter);
    painter.setPen(paperPen(penWidth));
    painter.drawPolyline(curve);
}

// One row of the puff charts: a regime's curves and its titles.
struct PrintedRegime {
    RegimeCurves curves;
    const char* puffTitle;
    const char* characteristicTitle;
    int characteristicTitleX;
};

void printRegimeRow(QPainter& painter, const QFont& page, const PuffChartAxes& axes, const PrintedRegime& row,
                    bool perforated) {
    constexpr int puffAxisX = 50, ventAxisX = 450, suctionAxisX = 520;
    constexpr int puffPlotWidth = 320, tablePlotWidth = 450, puffPoints = 320;
    drawVerticalAxis(painter, puffAxisX);
    drawHorizontalAxis(painter, 30, 400);
    drawVerticalAxis(painter, ventAxisX);
    drawVerticalAxis(painter, suctionAxisX);
    drawHorizontalAxis(painter, 430, 1030);

    painter.setFont(page);
    drawText(painter, 70, 0, row.puffTitle);
    drawText(painter, row.characteristicTitleX, 0, row.characteristicTitle);
    painter.setFont(sheetFont(kChartFontSize));
    drawText(painter, 40, 0, "V", Anchor::Right);
    drawText(painter, 440, 0, "Vent.", Anchor::Right);
    drawText(painter, 510, 0, "p", Anchor::Right);

    // Puff chart: flow over time.
    drawTicks(painter, {AxisDirection::Up, puffAxisX, kAxisY, kTickTop, kPlotHeight, axes.puffFlow},
              verticalTicks(5, 4));
    drawTicks(painter, {AxisDirection::Right, kAxisY, puffAxisX, 360, puffPlotWidth, axes.puffTime},
              horizontalTicks("%.1f"));
    drawText(painter, 400, kUnitY, "s", Anchor::Right);
    const double t = axes.puffTime.maximum;
    const auto column = [&](int i) { return puffAxisX + 1 + toPixels(i * row.curves.duration / t); };
    const CurveAxis puffY{kAxisY, axisScale(kPlotHeight, axes.puffFlow)};
    drawCurve(painter, sampledCurve(row.curves.profFlow, kCurveSamples, puffPoints, column, puffY),
              kThickPen);
    drawCurve(painter, sampledCurve(row.curves.profFivent, kCurveSamples, puffPoints, column, puffY),
              kThinPen);

    // Characteristic chart: ventilation and suction over flow.
    drawTicks(painter, {AxisDirection::Up, ventAxisX, kAxisY, kTickTop, kPlotHeight, axes.ventilation},
              verticalTicks(5, 5));
    drawTicks(painter, {AxisDirection::Up, suctionAxisX, kAxisY, kTickTop, kPlotHeight, axes.suction},
              verticalTicks(5, 2));
    drawTicks(painter, {AxisDirection::Right, kAxisY, suctionAxisX, 980, tablePlotWidth, axes.tableFlow},
              horizontalTicks("%i"));
    drawText(painter, 1030, kUnitY, "cm³/s", Anchor::Right);
    const CurveAxis tableX{suctionAxisX, axisScale(tablePlotWidth, axes.tableFlow)};
    const CurveAxis ventY{kAxisY, axisScale(kPlotHeight, axes.ventilation)};
    const CurveAxis suctionY{kAxisY, axisScale(kPlotHeight, axes.suction)};
    drawCurve(painter, tableCurve(row.curves.tabFlow, row.curves.tabFivent, tableX, ventY), kThickPen);
    drawCurve(painter, tableCurve(row.curves.tabFlow, row.curves.tabRovent, tableX, ventY), kThinPen);
    drawCurve(painter, tableCurve(row.curves.tabFlow, row.curves.tabPdo, tableX, suctionY), kThickPen);
    if (perforated)
        drawCurve(painter, tableCurve(row.curves.tabFlow, row.curves.tabPvent, tableX, suctionY), kThinPen);
}

}  // namespace

void printStationaryChart(QPainter& painter, QPoint origin, const CigaretteDesign& d) {
    PaperBlock block(painter, origin);
    constexpr int suctionAxisX = 50, flowAxisX = 120, plotWidth = 560, lengthLimit = 680;
    drawText(painter, 140, 0, "Stationary Flow [cm³/s] and Pressure [mm H2O]");
    painter.setFont(sheetFont(kChartFontSize));
    drawText(painter, 40, 0, "p", Anchor::Right);
    drawText(painter, 110, 0, "V", Anchor::Right);

    drawVerticalAxis(painter, suctionAxisX);
    drawVerticalAxis(painter, flowAxisX);
    drawHorizontalAxis(painter, 30, 720);

    const StationaryAxes axes = stationaryAxes(d);
    drawTicks(painter, {AxisDirection::Up, suctionAxisX, kAxisY, kTickTop, kPlotHeight, axes.pressure},
              verticalTicks(10, 2));
    drawTicks(painter, {AxisDirection::Up, flowAxisX, kAxisY, kTickTop, kPlotHeight, axes.flow},
              verticalTicks(10, 2));
    drawTicks(painter, {AxisDirection::Right, kAxisY, flowAxisX, lengthLimit, plotWidth, axes.length},
              horizontalTicks("%i"));
    drawText(painter, 720, kUnitY, "mm", Anchor::Right);

    const auto column = [](int i) { return flowAxisX + 1 + plotWidth * i / kProfileSamples; };
    const CurveAxis pressureY{kAxisY, axisScale(kPlotHeight, axes.pressure)};
    const CurveAxis flowY{kAxisY, axisScale(kPlotHeight, axes.flow)};
    const auto curve = [&](const std::vector<double>& values, const CurveAxis& y) {
        return sampledCurve(values, kProfileSamples, kProfileSamples, column, y);
    };
    drawCurve(painter, curve(d.stat_pres_closed, pressureY), kThinPen);
    drawCurve(painter, curve(d.stat_flow_closed, flowY), kThinPen);
    drawCurve(painter, curve(d.stat_pres_open, pressureY), kThickPen);
    drawCurve(painter, curve(d.stat_flow_open, flowY), kThickPen);
}

void printPuffCharts(QPainter& painter, QPoint origin, const CigaretteDesign& d) {
    PaperBlock block(painter, origin);
    const QFont page = painter.font();
    const PuffChartAxes axes = puffChartAxes(d);
    const bool perforated = d.tp_perfotype != kNoPerforation;
    const PrintedRegime iso{isoRegimeCurves(d), "ISO Puff Profile [cm³/s]",
                            "ISO Ventilation [%] and Pressure [mm H2O]", 535};
    const PrintedRegime alternative{alternativeRegimeCurves(d), "Alt. Puff Profile [cm³/s]",
                                    "Alt. Ventilation [%] and Pressure [mm H2O]", 540};
    {
        BlockScope row(painter, 0, 0);
        printRegimeRow(painter, page, axes, iso, perforated);
    }
    BlockScope row(painter, 0, 600);
    printRegimeRow(painter, page, axes, alternative, perforated);
}

void printChartLegend(QPainter& painter, QPoint origin, const CigaretteDesign& d) {
    PaperBlock block(painter, origin);
    painter.setFont(sheetFont(kChartFontSize));
    struct Entry {
        const char* name;
        int penWidth;
    };
    struct Group {
        const char* heading;
        int x;
        std::vector<Entry> entries;
    };
    std::vector<Group> groups{
        {"Stationary Flow", 50, {{"ventilated", kThickPen}, {"unventilated", kThinPen}}},
        {"Puff Profile", 250, {{"at mouth end", kThickPen}, {"through perforation", kThinPen}}},
        {"Ventilation and Pressure",
         500,
         {{"filter ventilation", kThickPen},
          {"rod ventilation", kThinPen},
          {"pressure at mouth end", kThickPen}}},
    };
    if (d.tp_perfotype != kNoPerforation)
        groups.back().entries.push_back({"pressure at perforation", kThinPen});

    constexpr int lineLength = 30, textOffset = 40, firstText = 30, entryHeight = 20, lineBelowText = 12;
    for (const Group& group : groups) {
        drawText(painter, group.x, 0, group.heading);
        int y = firstText;
        for (const Entry& entry : group.entries) {
            drawLegendLine(painter, paperPen(entry.penWidth), group.x, group.x + lineLength,
                           y + lineBelowText, group.x + textOffset, y, entry.name);
            y += entryHeight;
        }
    }
}

}  // namespace veltrano
