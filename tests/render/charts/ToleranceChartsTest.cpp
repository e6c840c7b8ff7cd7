#include <cmath>

#include <QPainter>

#include <gtest/gtest.h>

#include "render/charts/ToleranceCharts.h"
#include "render/views/ViewResources.h"
#include "tests/support/PaintRecorder.h"

namespace veltrano {
namespace {

const ViewResources& resources() {
    static const ViewResources r = makeViewResources();
    return r;
}

OutputLimit limit(std::string_view text) {
    std::string problem;
    return parseOutputLimit(text, problem).value();
}

// A run of 100 samples of 'tar' from 5.0 to 14.9 mg, one refused, with the ISO ceiling.
ToleranceChartData tarRun() {
    ToleranceChartData data;
    data.setup.inputs = {{findExploreField("cp_perm"), *parseSpread("10%")},
                         {findExploreField("fi_totpd"), *parseSpread("0")}};
    data.setup.outputs = {findExploreOutput("iso_nfdpm")};
    data.setup.limits = {limit("iso_nfdpm<=10")};
    data.setup.samples = 101;
    for (int i = 0; i < 100; ++i) data.samples.push_back({i, {50.0 + i, 420}, false, {5.0 + 0.1 * i}, {}});
    data.samples.push_back({100, {300, 420}, true, {}, {12}});
    data.summary = summariseTolerance(data.setup, data.samples);
    data.today = {9.5};
    return data;
}

TEST(ToleranceCharts, AHistogramCountsTheComputedValuesInItsBins) {
    const ToleranceChartData data = tarRun();
    const Histogram h = outputHistogram(data, 0, 5, 15, 10);
    ASSERT_EQ(h.counts.size(), 10u);
    for (int c : h.counts) EXPECT_EQ(c, 10);
    // Values outside the range are not counted; the last bin holds its upper end.
    const Histogram narrow = outputHistogram(data, 0, 10, 12, 4);
    EXPECT_EQ(narrow.counts[0] + narrow.counts[1] + narrow.counts[2] + narrow.counts[3], 21);
}

TEST(ToleranceCharts, TheHistogramWritesTheShareOutsideItsLimitAndTheSharesComeLargestFirst) {
    const ToleranceChartData data = tarRun();
    const QSize canvas(900, 600);
    test::PaintRecorder recorder(canvas);
    {
        QPainter painter(&recorder);
        drawToleranceHistograms(painter, resources(), data, canvas);
    }
    // 49 of 100 computed values lie above 10 mg (10.1 to 14.9).
    EXPECT_FALSE(recorder.find(QString::fromUtf8("≤ 10: 49.0 % outside (95 %: 39.4 to 58.7 %)")).empty());
    EXPECT_FALSE(recorder.find("49.0 % above").empty());
    EXPECT_FALSE(recorder.find("today").empty());
    EXPECT_FALSE(recorder
                     .find(QString::fromUtf8(
                         "Tolerances of the current design: 101 samples, 1 refused by the sheet's rules"))
                     .empty());

    test::PaintRecorder shares(canvas);
    {
        QPainter painter(&shares);
        drawVarianceShares(painter, resources(), data, 0, canvas);
    }
    const std::vector<test::DrawnText> paper = shares.find("Air permeability (ISO 2965) (10%)");
    const std::vector<test::DrawnText> filter = shares.find("Filter rod pressure drop (0)");
    ASSERT_EQ(paper.size(), 1u);
    ASSERT_EQ(filter.size(), 1u);
    EXPECT_LT(paper[0].top, filter[0].top);
}

TEST(ToleranceCharts, TheTornadoOrdersByMagnitudeAndLeavesOutWhatHasNoElasticity) {
    std::vector<SensitivityRow> rows(4);
    const char* names[] = {"cp_perm", "fi_totpd", "tp_perfoperm", "ro_totmass"};
    const std::optional<double> values[] = {0.2, -0.9, std::nullopt, 0.5};
    for (std::size_t k = 0; k < 4; ++k) {
        rows[k].field = findExploreField(names[k]);
        rows[k].elasticities = {values[k]};
    }
    const std::vector<TornadoBar> bars = tornadoBars(rows, 0);
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0].field->name(), "fi_totpd");
    EXPECT_EQ(bars[1].field->name(), "ro_totmass");
    EXPECT_EQ(bars[2].field->name(), "cp_perm");
    const QSize canvas(800, 400);
    test::PaintRecorder recorder(canvas);
    {
        QPainter painter(&recorder);
        drawTornado(painter, resources(), rows, *findExploreOutput("iso_co"), 0, 5, canvas);
    }
    // A negative elasticity's value stands left of the zero line, a positive one right of it.
    const std::vector<test::DrawnText> negative = recorder.find("-0.900"), positive = recorder.find("+0.500");
    ASSERT_EQ(negative.size(), 1u);
    ASSERT_EQ(positive.size(), 1u);
    EXPECT_LT(negative[0].right, positive[0].left);
}

}  // namespace
}  // namespace veltrano
