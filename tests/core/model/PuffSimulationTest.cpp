#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "core/model/Characteristics.h"
#include "core/model/PuffSimulation.h"
#include "core/model/StationaryFlow.h"

namespace veltrano {
namespace {

using testing::fixtureParameters;

CigaretteDesign withStationaryFlow(const DesignValues& values = {}) {
    CigaretteDesign d;
    d.assign(values);
    applyDefaults(d, fixtureParameters());
    computeStationaryFlow(d, kResultsOnly, fixtureParameters());
    return d;
}

TEST(PuffProfile, TheIsoPuffIsASineOf35Millilitres) {
    CigaretteDesign d;
    buildPuffProfile(d, kIsoRegime);
    const auto& y = d.iso_prof_flow;
    EXPECT_NEAR(y[0], 0, 1e-9);
    EXPECT_NEAR(y[399], 0, 1e-6);
    const auto peak = std::max_element(y.begin(), y.end()) - y.begin();
    EXPECT_TRUE(peak == 199 || peak == 200) << peak;
    EXPECT_LT(y[static_cast<std::size_t>(peak)], kIsoPeakFlow);
    EXPECT_GT(y[static_cast<std::size_t>(peak)], 27.4);
    EXPECT_NEAR(integrateOverPuff(y, 2), 35, 1e-12);
}

TEST(PuffProfile, AnyShapeIsScaledToThePuffVolume) {
    struct Case {
        const char* name;
        std::vector<double> shape;
        double volume, duration;
    };
    const Case cases[] = {
        {"rectangle", testing::kRectangleShape, 35, 2}, {"triangle", testing::kTriangleShape, 55, 2},
        {"ramp", testing::kRampShape, 60, 3},           {"irregular", testing::kIrregularShape, 40, 2.5},
        {"sine", testing::sineShape(), 35, 2},
    };
    for (const Case& c : cases) {
        CigaretteDesign d;
        testing::setShape(d, c.shape);
        d.alt_volume = c.volume;
        d.alt_duration = c.duration;
        buildPuffProfile(d, kAlternativeRegime);
        EXPECT_NEAR(integrateOverPuff(d.alt_prof_flow, c.duration), c.volume, 1e-9 * c.volume) << c.name;
    }
}

TEST(PuffProfile, ARectangularPuffIsFlat) {
    CigaretteDesign d;
    testing::setShape(d, testing::kRectangleShape);
    buildPuffProfile(d, kAlternativeRegime);
    for (double y : d.alt_prof_flow) EXPECT_EQ(y, 17.5);
}

TEST(FlowTable, SpansTheFlowsOfThePuff) {
    CigaretteDesign d = withStationaryFlow();
    const double area = kPi * d.fi_diam * d.fi_diam / 4;
    buildPuffProfile(d, kIsoRegime);
    buildFlowTable(d, kIsoRegime);
    EXPECT_DOUBLE_EQ(d.iso_tab_flow[0], -0.05 * area);
    EXPECT_DOUBLE_EQ(d.iso_tab_flow[1], 1);
    EXPECT_DOUBLE_EQ(d.iso_tab_flow[199], 1.03 * kIsoPeakFlow);
    // Entries 0 and 1 come from the same solution at 1 ml/s.
    EXPECT_EQ(d.iso_tab_pdo[0], d.iso_tab_pdo[1]);
    EXPECT_EQ(d.iso_tab_fivent[0], d.iso_tab_fivent[1]);
    for (int k = 2; k < 200; ++k) EXPECT_GT(d.iso_tab_pdo[k], d.iso_tab_pdo[k - 1]) << k;
    EXPECT_GT(d.iso_tab_pdo[199], d.iso_tab_pvent[199]);
    EXPECT_GT(d.iso_tab_pvent[199], d.iso_tab_pfilt[199]);
}

TEST(FlowTable, FullBlockingClosesThePerforationForTheTableOnly) {
    CigaretteDesign d = withStationaryFlow();
    d.alt_blocking = 100;
    const double tpK = d.tp_k;
    ASSERT_GT(tpK, 0);
    buildPuffProfile(d, kAlternativeRegime);
    buildFlowTable(d, kAlternativeRegime);
    for (double fivent : d.alt_tab_fivent) EXPECT_EQ(fivent, 0);
    EXPECT_EQ(d.tp_k, tpK);
    integratePuff(d, kAlternativeRegime);
    EXPECT_EQ(d.alt_fivent, 0);
    EXPECT_GT(d.alt_rovent, 0);
}

TEST(IntegratePuff, LooksFlowsUpWithinTheTable) {
    // A made-up table: the flow grid 0, 1, 2, ..., and each value equal to its entry number.
    std::vector<double> flow(200), values(200), none(200);
    for (int k = 0; k < 200; ++k) flow[k] = values[k] = k;
    const FlowTableView table{flow, none, none, values, none, none};
    std::vector<double> puff(400, 0.0), fivent(400), rovent(400), pdo(400), pvent(400), pfilt(400);
    puff[0] = 500;    // above the last entry: entry 199
    puff[1] = -40;    // below entry 1: no further than entry 0
    puff[2] = 57.25;  // between entries
    DesignValues d;
    fillPuffCurves(d, kAlternativeRegime, table, {puff, fivent, rovent, pdo, pvent, pfilt});
    EXPECT_EQ(pdo[0], 199);
    EXPECT_EQ(pdo[1], 0);
    EXPECT_DOUBLE_EQ(pdo[2], 57.25);
}

TEST(IntegratePuff, IsoVentilationIsCloseToTheStationaryOne) {
    CigaretteDesign d = withStationaryFlow();
    for (PuffRegime regime : {kIsoRegime, kAlternativeRegime}) {
        buildPuffProfile(d, regime);
        buildFlowTable(d, regime);
        integratePuff(d, regime);
    }
    EXPECT_NEAR(d.iso_fivent, d.stat_fivent, 1.5);
    EXPECT_NEAR(d.iso_rovent, d.stat_rovent, 1.5);
    EXPECT_GT(d.iso_pdo, 0.8 * d.stat_pdo);
    // The flat alternative puff of 17.5 ml/s sees the stationary values.
    EXPECT_NEAR(d.alt_fivent, d.stat_fivent, 0.05);
    EXPECT_NEAR(d.alt_pdo, d.stat_pdo, 0.2);
}

}  // namespace
}  // namespace veltrano
