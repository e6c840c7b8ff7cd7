#include <cmath>

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "render/charts/ChartParts.h"
#include "render/charts/ChartScale.h"
#include "render/charts/DesignMap.h"
#include "render/charts/SweepChart.h"
#include "render/views/ViewResources.h"
#include "tests/support/PaintRecorder.h"

namespace veltrano {
namespace {

const ViewResources& resources() {
    static const ViewResources r = makeViewResources();
    return r;
}

TEST(ChartScale, LabelsFallOnRoundNumbersAroundTheValues) {
    const struct {
        double lo, hi;
        int length;
        ScaleEnds ends;
        double minimum, maximum, step;
        int labelEvery;
        const char* format;
    } cases[] = {
        {96.3, 109.8, 500, ScaleEnds::RoundOut, 96, 110, 0.5, 4, "%.0f"},
        {109.8, 96.3, 500, ScaleEnds::RoundOut, 96, 110, 0.5, 4, "%.0f"},  // either order
        {0.653, 0.749, 400, ScaleEnds::RoundOut, 0.64, 0.76, 0.005, 4, "%.2f"},
        {20, 120, 600, ScaleEnds::Exact, 20, 120, 2, 5, "%.0f"},
        {15000, 33000, 300, ScaleEnds::RoundOut, 15000, 35000, 1000, 5, "%.0f"},
        {-3, 2, 200, ScaleEnds::RoundOut, -4, 2, 0.5, 4, "%.0f"},
    };
    for (const auto& c : cases) {
        const ChartScale s = chartScale(c.lo, c.hi, c.length, 50, c.ends);
        EXPECT_NEAR(s.range.minimum, c.minimum, 1e-12) << c.lo << " " << c.hi;
        EXPECT_NEAR(s.range.maximum, c.maximum, 1e-12) << c.lo << " " << c.hi;
        EXPECT_NEAR(s.range.step, c.step, 1e-15) << c.lo << " " << c.hi;
        EXPECT_EQ(s.labelEvery, c.labelEvery) << c.lo << " " << c.hi;
        EXPECT_EQ(s.labelFormat, c.format) << c.lo << " " << c.hi;
    }
    // Equal values are widened around themselves; values that are not numbers give no scale.
    const ChartScale flat = chartScale(5, 5, 400, 50);
    EXPECT_LT(flat.range.minimum, 5);
    EXPECT_GT(flat.range.maximum, 5);
    for (double bad : {NAN, INFINITY}) EXPECT_FALSE(hasScale(chartScale(0, bad, 400, 50).range));
    EXPECT_FALSE(hasScale(chartScale(-1e308, 1e308, 400, 50).range));
}

TEST(ChartScale, TicksStartAboveTheMinimumAndEndOnTheMaximum) {
    const ChartScale s = chartScale(96.3, 109.8, 280, 50);  // 95 to 110, a tick each 1, labels each 5
    ASSERT_EQ(s.range.minimum, 95);
    const std::vector<Tick> ticks = axisTicks(s.axis(AxisDirection::Up, 50, 400, 280));
    ASSERT_EQ(ticks.size(), 15u);
    EXPECT_EQ(ticks.front().k * s.range.step, 96);
    EXPECT_EQ(ticks.back().k * s.range.step, 110);
    EXPECT_NEAR(ticks.back().position, 400 - 280, 1);
    EXPECT_EQ(ticks.back().k % s.labelEvery, 0);  // the end is labelled
}

// A sweep of the paper's permeability whose outputs the test sets: open draw resistance falling, 'tar'
// rising, point 4 refused.
SweepData syntheticSweep() {
    SweepData data;
    SweepGrid grid;
    grid.first = {findExploreField("cp_perm"), 20, 120, 6};
    DesignValues today;
    today.cp_perm = 50;
    today.stat_pdo = 102.5;
    today.iso_nfdpm = 10.25;
    data.start(grid, today, false);
    data.outputs = {findExploreOutput("stat_pdo"), findExploreOutput("iso_nfdpm")};
    for (int k = 0; k < 6; ++k) {
        SweepPoint p;
        p.index = k;
        p.inputs = grid.inputsAt(k);
        p.result.status = k == 4 ? VariantStatus::Refused : VariantStatus::Computed;
        if (k == 4) p.result.errors = {12};
        p.result.values.stat_pdo = 105 - k;
        p.result.values.iso_nfdpm = 10 + 0.1 * k;
        data.add(std::move(p));
    }
    return data;
}

// Whether a pixel of the column comes close to the colour (curves are drawn smoothed).
bool columnHolds(const QImage& image, int x, int top, int bottom, const QColor& colour) {
    for (int y = top; y <= bottom; ++y) {
        const QColor c = image.pixelColor(x, y);
        if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                std::abs(c.blue() - colour.blue()) <=
            60)
            return true;
    }
    return false;
}

TEST(SweepChart, DrawsEachOutputOnItsUnitsAxisWithGapsWhereTheRulesRefused) {
    const SweepData data = syntheticSweep();
    const QSize canvas(900, 560);
    QImage image(canvas, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        drawSweepChart(painter, resources(), data, canvas);
    }
    const SweepChartLayout layout = sweepChartLayout(data, resources(), canvas);
    ASSERT_EQ(layout.axes.size(), 2u);
    EXPECT_EQ(layout.axes[0].unit, "mm H2O");
    EXPECT_EQ(layout.axes[1].unit, "mg/cig");
    EXPECT_LT(layout.axes[1].x, layout.axes[0].x);
    const int top = layout.plot.top(), bottom = layout.plot.bottom();
    const auto x = [&](int point) { return layout.xOf(data.grid.first.valueAt(point)); };
    const QColor first = seriesPen(0).color();
    // The curve runs through points 0 to 3, breaks around the refused point 4 and shows 5 as a dot.
    EXPECT_TRUE(columnHolds(image, (x(1) + x(2)) / 2, top, bottom, first));
    EXPECT_FALSE(columnHolds(image, (x(3) + x(4)) / 2, top, bottom, first));
    EXPECT_FALSE(columnHolds(image, (x(4) + x(5)) / 2, top, bottom, first));
    // The curve's points lie at their values on their own axis.
    const TickAxis pressure =
        layout.axes[0].scale.axis(AxisDirection::Up, layout.axes[0].x, bottom, spanUp(layout.plot));
    EXPECT_EQ(layout.yOf(0, 105), axisPosition(pressure, 105));
    EXPECT_EQ(layout.xOf(120), layout.plot.right());  // the field's range spans the plot exactly

    test::PaintRecorder recorder(canvas);
    {
        QPainter painter(&recorder);
        drawSweepChart(painter, resources(), data, canvas, {2, -1});
    }
    for (const char* text : {"mm H2O", "mg/cig", "Air permeability (ISO 2965) [CU]",
                             "Open draw resistance [mm H2O]", "ISO 'tar' [mg/cig]", "today's design",
                             "refused by the sheet's rules", "Open draw resistance: 103.000 mm H2O"})
        EXPECT_FALSE(recorder.find(QString::fromUtf8(text)).empty()) << text;

    // The pointer picks the nearest point that has run, over the plot only.
    EXPECT_EQ(sweepPointAt(layout, data, QPoint(x(2) + 3, (top + bottom) / 2)), 2);
    EXPECT_EQ(sweepPointAt(layout, data, QPoint(x(4), (top + bottom) / 2)), 4);
    EXPECT_EQ(sweepPointAt(layout, data, QPoint(x(2), bottom + 40)), -1);
}

// A 4 × 3 map of two fields whose mapped output is the point's number; point 5 refused.
SweepData syntheticMap() {
    SweepData data;
    SweepGrid grid;
    grid.first = {findExploreField("cp_perm"), 20, 80, 4};
    grid.second = SweepAxis{findExploreField("tp_perfoperm"), 100, 300, 3};
    DesignValues today;
    today.cp_perm = 40;
    today.tp_perfoperm = 150;
    data.start(grid, today, false);
    data.outputs = {findExploreOutput("stat_pdo")};
    for (int k = 0; k < grid.pointCount(); ++k) {
        SweepPoint p;
        p.index = k;
        p.inputs = grid.inputsAt(k);
        p.result.status = k == 5 ? VariantStatus::Refused : VariantStatus::Computed;
        p.result.values.stat_pdo = 100 + 3 * (k / 3) + 2 * (k % 3);
        data.add(std::move(p));
    }
    return data;
}

TEST(DesignMap, ColoursEachCellByItsValueAndHatchesRefusedCells) {
    const SweepData data = syntheticMap();
    const ExploreOutput& mapped = *findExploreOutput("stat_pdo");
    const QSize canvas(900, 600);
    QImage image(canvas, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        drawDesignMap(painter, resources(), data, mapped, canvas);
    }
    const DesignMapLayout layout = designMapLayout(data, mapped, resources(), canvas);
    // Near the corner of point 0 (the lowest value) and of point 11 (the highest): the scale's ends.
    const QPoint low(layout.plot.left() + 3, layout.plot.bottom() - 3),
        high(layout.plot.right() - 3, layout.plot.top() + 3);
    EXPECT_EQ(image.pixelColor(low), layout.colourOf(100));
    EXPECT_EQ(image.pixelColor(high), layout.colourOf(113));
    EXPECT_NE(layout.colourOf(100), layout.colourOf(113));
    // Point 5 (value 1 of the first field, 2 of the second) is hatched grey.
    const QPoint refused(layout.xOf(40), layout.yOf(300) + 4);
    const QColor r = image.pixelColor(refused);
    EXPECT_TRUE(r == QColor(225, 225, 225) || r == QColor(128, 128, 128)) << r.name().toStdString();

    test::PaintRecorder recorder(canvas);
    {
        QPainter painter(&recorder);
        drawDesignMap(painter, resources(), data, mapped, canvas);
    }
    EXPECT_FALSE(recorder.find("today").empty());
    EXPECT_FALSE(recorder.find("mm H2O").empty());
    EXPECT_FALSE(recorder.find("Permeability of the perforation [CU]").empty());
    // Isolines are labelled with their values, no label over another.
    std::vector<QRectF> labels;
    for (const test::DrawnText& t : recorder.texts()) {
        bool number = false;
        t.text.toDouble(&number);
        if (number && layout.plot.contains(t.cell.toRect())) labels.push_back(t.cell);
    }
    EXPECT_FALSE(labels.empty());
    for (std::size_t a = 0; a < labels.size(); ++a)
        for (std::size_t b = a + 1; b < labels.size(); ++b) EXPECT_FALSE(labels[a].intersects(labels[b]));

    // The pointer finds the cell under it.
    EXPECT_EQ(mapPointAt(layout, data, QPoint(layout.xOf(60), layout.yOf(200))), 2 * 3 + 1);
    EXPECT_EQ(mapPointAt(layout, data, layout.plot.topLeft() - QPoint(5, 5)), -1);
}

}  // namespace
}  // namespace veltrano
