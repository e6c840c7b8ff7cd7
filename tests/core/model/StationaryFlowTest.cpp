#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "core/model/Characteristics.h"
#include "core/model/StationaryFlow.h"

namespace veltrano {
namespace {

using testing::fixtureParameters;

// A design after its defaults, with every profile sample set to NaN beforehand.
CigaretteDesign prepared(const DesignValues& values = {}) {
    CigaretteDesign d;
    d.assign(values);
    applyDefaults(d, fixtureParameters());
    for (auto* profile : {&d.stat_pres_open, &d.stat_pres_closed, &d.stat_flow_open, &d.stat_flow_closed}) {
        profile->assign(profile->size(), std::numeric_limits<double>::quiet_NaN());
    }
    return d;
}

void expectFilled(const std::vector<double>& profile) {
    ASSERT_EQ(profile.size(), 300u);
    for (std::size_t i = 0; i < profile.size(); ++i) EXPECT_FALSE(std::isnan(profile[i])) << i;
}

TEST(StationaryFlow, WithoutPerforationOpenEqualsClosed) {
    DesignValues values;
    values.tp_perfotype = kNoPerforation;
    CigaretteDesign d = prepared(values);
    computeStationaryFlow(d, kWithProfiles, fixtureParameters());
    EXPECT_EQ(d.stat_pdo, d.stat_pdc);
    EXPECT_EQ(d.stat_fivent, 0);
    EXPECT_GT(d.stat_rovent, 0);
    EXPECT_EQ(d.stat_pres_open, d.stat_pres_closed);
    EXPECT_EQ(d.stat_flow_open, d.stat_flow_closed);
}

TEST(StationaryFlow, ProfilesStartAtTheMouthWithTheStandardFlow) {
    CigaretteDesign d = prepared();
    computeStationaryFlow(d, kWithProfiles, fixtureParameters());
    for (const auto* profile :
         {&d.stat_pres_open, &d.stat_pres_closed, &d.stat_flow_open, &d.stat_flow_closed}) {
        expectFilled(*profile);
    }
    EXPECT_NEAR(d.stat_flow_open[0], 17.5, 1e-6);
    EXPECT_NEAR(d.stat_flow_closed[0], 17.5, 1e-6);
    EXPECT_EQ(d.stat_pres_open[0], d.stat_pdo);
    EXPECT_EQ(d.stat_pres_closed[0], d.stat_pdc);
    EXPECT_LT(d.stat_pdo, d.stat_pdc);
    EXPECT_GT(d.stat_fivent, 0);
    // Air entering along the way: the flow toward the lit end falls, and so does the suction.
    EXPECT_LT(d.stat_flow_open[299], d.stat_flow_open[0]);
    EXPECT_LT(std::fabs(d.stat_pres_open[299]), 0.5);
}

TEST(StationaryFlow, ASegmentShorterThanOneSampleGetsNone) {
    // The 0.2 mm zone is shorter than 84/300 mm: after the 42 samples in front of it come those of the
    // filter behind it, with the flow that is left after the perforation.
    DesignValues values;
    values.known |= known::bit(KnownBit::PerforationWidth) | known::bit(KnownBit::PerforationPosition);
    values.tp_perfowidth = 0.2;
    values.tp_perfoperm = 2000;
    CigaretteDesign d = prepared(values);
    computeStationaryFlow(d, kWithProfiles, fixtureParameters());
    expectFilled(d.stat_flow_open);
    EXPECT_NEAR(d.stat_flow_open[41], 17.5, 1e-6);
    EXPECT_LT(d.stat_flow_open[42], 17.5 * (1 - d.stat_fivent / 100 + 1e-6));
    EXPECT_EQ(d.stat_flow_open[42], d.stat_flow_open[43]);
}

TEST(StationaryFlow, ABandWithoutPermeabilityLetsNoAirIn) {
    // Bands of 0 CU from 6.67 to 12.67 mm and from 32.67 to 38.67 mm along the 52 mm paper-wrapped rod.
    DesignValues values;
    values.cp_lip = 1;
    values.cp_bandwidth = 6;
    values.cp_bandspace = 20;
    values.cp_bandperm = 0;
    values.cp_banddiff = 0.1;
    CigaretteDesign d = prepared(values);
    computeStationaryFlow(d, kWithProfiles, fixtureParameters());
    expectFilled(d.stat_flow_closed);
    const int rodStart = 300 - 187;  // 85 filter and 28 tipped-rod samples before it
    const double spacing = 52.0 / 187;
    const auto sampleAt = [&](double mm) { return rodStart + static_cast<int>(mm / spacing); };
    for (int i = sampleAt(7.5); i < sampleAt(12); ++i)
        EXPECT_EQ(d.stat_flow_closed[i], d.stat_flow_closed[i + 1]) << i;
    EXPECT_GT(d.stat_flow_closed[sampleAt(14)], d.stat_flow_closed[sampleAt(30)]);
}

DesignValues online(double target) {
    DesignValues values;
    values.tp_perfotype = kOnlineLaser;
    values.tp_perfowidth = 1;
    values.tp_perfotrack = 1;
    values.pw_perm = 6000;
    values.tp_onlinevent = target;
    return values;
}

TEST(OnlinePerforation, TheFilterVentilationIsTheTarget) {
    CigaretteDesign d = prepared(online(17.3));
    RecordingErrorReporter errors;
    fitOnlinePerforation(d, fixtureParameters(), errors);
    EXPECT_TRUE(errors.numbers.empty());
    EXPECT_GT(d.tp_perfoperm, 0);
    EXPECT_LT(d.tp_perfoperm, 8000);
    computeStationaryFlow(d, kResultsOnly, fixtureParameters());
    EXPECT_EQ(d.stat_fivent, 17.3);

    // The fitted permeability gives the target within the fit's tolerance.
    Stations v{}, p{};
    v[0] = standardVelocity(d.fi_diam);
    p[0] = openStartSuction(d);
    solveOpen(d, v, p, kNoCoalIso);
    EXPECT_NEAR((v[1] - v[2]) / v[0] * 100, 17.3, 0.05);
}

TEST(OnlinePerforation, AnUnreachableTargetBecomesTheMaximum) {
    CigaretteDesign d = prepared(online(95));
    RecordingErrorReporter errors;
    fitOnlinePerforation(d, fixtureParameters(), errors);
    EXPECT_EQ(errors.numbers, std::vector<int>{76});
    EXPECT_EQ(d.tp_perfoperm, 8000);
    EXPECT_LT(d.tp_onlinevent, 95);
    EXPECT_GT(d.tp_onlinevent, 0);

    // The maximum depends on the start suction, which depends on the target: the lowered target can sit a
    // hair (within the solver's 1 Pa) above the maximum found from it. It then settles at once, and from
    // there on the search reaches it without an error.
    const double lowered = d.tp_onlinevent;
    RecordingErrorReporter second, third;
    fitOnlinePerforation(d, fixtureParameters(), second);
    EXPECT_NEAR(d.tp_onlinevent, lowered, 0.01);
    fitOnlinePerforation(d, fixtureParameters(), third);
    EXPECT_TRUE(third.numbers.empty());
}

TEST(OnlinePerforation, ASearchThatCannotMeetItsToleranceStopsAfter500Trials) {
    CigaretteDesign d = prepared(online(std::numeric_limits<double>::quiet_NaN()));
    RecordingErrorReporter errors;
    ShootingStatistics stats;
    fitOnlinePerforation(d, fixtureParameters(), errors, &stats);
    EXPECT_EQ(errors.numbers, std::vector<int>{77});
    EXPECT_EQ(stats.solves, 501);
}

TEST(OnlinePerforation, OtherTypesAreLeftAlone) {
    CigaretteDesign d = prepared();
    RecordingErrorReporter errors;
    ShootingStatistics stats;
    fitOnlinePerforation(d, fixtureParameters(), errors, &stats);
    EXPECT_EQ(d.tp_perfoperm, 120);
    EXPECT_EQ(stats.solves, 0);
}

}  // namespace
}  // namespace veltrano
