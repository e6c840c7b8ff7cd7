#include <cmath>
#include <limits>
#include <numeric>
#include <string>

#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "core/model/PuffByPuff.h"
#include "core/model/Recalculation.h"

namespace veltrano {
namespace {

using testing::fixtureParameters;

class RecordingProgress : public ProgressSink {
public:
    void setRange(int max) override { calls.push_back("range " + std::to_string(max)); }
    void setPosition(int position) override { calls.push_back("position " + std::to_string(position)); }
    void setText(const std::string& text) override { calls.push_back(text); }
    void show() override { calls.push_back("show"); }
    void hide() override { calls.push_back("hide"); }
    std::vector<std::string> calls;
};

// A current design as the shell analyses it: recalculated and calibrated.
CigaretteDesign recalculatedCurrent(const DesignValues& current = {},
                                    const ModelParameters& mp = fixtureParameters()) {
    DesignSet set;
    set.currentDesign.assign(current);
    RecordingErrorReporter errors;
    recalculate(set, mp, errors);
    return std::move(set.currentDesign);
}

double sum(const std::vector<double>& x) {
    return std::accumulate(x.begin(), x.end(), 0.0);
}

TEST(PuffByPuff, SmokesTheAlternativePuffNumberAndAddsUpToTheYields) {
    CigaretteDesign d = recalculatedCurrent();
    RecordingProgress progress;
    runPuffByPuff(d, fixtureParameters(), progress);
    const int n = static_cast<int>(std::ceil(d.alt_puff));
    ASSERT_EQ(d.puff_number, n);
    EXPECT_NEAR(sum(d.puff_nfdpm), d.alt_nfdpm, 1e-12 * d.alt_nfdpm);
    EXPECT_NEAR(sum(d.puff_nico), d.alt_nico, 1e-12 * d.alt_nico);
    EXPECT_NEAR(sum(d.puff_co), d.alt_co, 1e-12 * d.alt_co);
    for (int i = 1; i < n; ++i) {
        EXPECT_GT(d.puff_pos[i], d.puff_pos[i - 1]);
        EXPECT_GT(d.puff_nfdpm[i], d.puff_nfdpm[i - 1]);  // less rod left to filter the smoke
    }
    EXPECT_EQ(d.coal_len, fixtureParameters()[124]);

    std::vector<std::string> expected{"range " + std::to_string(n), "position 0",
                                      "Please wait ... evaluating puff 1/" + std::to_string(n) + ".", "show"};
    for (int i = 0; i < n; ++i) {
        expected.push_back("position " + std::to_string(i));
        expected.push_back("Please wait ... evaluating puff " + std::to_string(i + 1) + "/" +
                           std::to_string(n) + ".");
    }
    expected.push_back("hide");
    EXPECT_EQ(progress.calls, expected);
}

TEST(PuffByPuff, OnlyTheFirstPuffUsesTheFirstPuffCoal) {
    ModelParameters other = fixtureParameters();
    other.mp[122] = 90;  // a stiffer first coal
    CigaretteDesign a = recalculatedCurrent(), b = recalculatedCurrent();
    NullProgressSink progress;
    runPuffByPuff(a, fixtureParameters(), progress);
    runPuffByPuff(b, other, progress);
    ASSERT_EQ(a.puff_number, b.puff_number);
    EXPECT_GT(b.puff_avgpd[0], a.puff_avgpd[0]);
    for (int i = 1; i < a.puff_number; ++i) EXPECT_EQ(a.puff_avgpd[i], b.puff_avgpd[i]) << i;
}

TEST(PuffByPuff, APartialPuffNumberEndsWithASmallerPuff) {
    // 60 ml puffs burn about 3.4 mm each; the eighth starts 2 mm before the butt mark.
    DesignValues values;
    values.alt_volume = 60;
    CigaretteDesign d = recalculatedCurrent(values);
    d.alt_puff = 7.3;
    NullProgressSink progress;
    runPuffByPuff(d, fixtureParameters(), progress);
    ASSERT_EQ(d.puff_number, 8);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(d.puff_size[i], 10);
    EXPECT_GE(d.puff_size[7], 1);
    EXPECT_LT(d.puff_size[7], 10);
    EXPECT_LT(d.puff_mass[7], d.puff_mass[6]);
}

TEST(PuffByPuff, WithoutAMeasuredIsoPuffNumberNothingHappens) {
    CigaretteDesign d = recalculatedCurrent();
    d.known &= ~known::bit(KnownBit::IsoPuffNumber);
    d.allocatePuffData(2);
    d.puff_co[1] = 4.5;
    RecordingProgress progress;
    runPuffByPuff(d, fixtureParameters(), progress);
    EXPECT_EQ(d.puff_number, 2);
    EXPECT_EQ(d.puff_co[1], 4.5);
    EXPECT_TRUE(progress.calls.empty());
}

TEST(PuffByPuff, ThePuffCountIsBounded) {
    struct Case {
        double altPuff;
        int expected;
    };
    const CigaretteDesign base = recalculatedCurrent();
    for (const Case c : {Case{1000, kMaxPuffs}, Case{0.5, 1}, Case{0, 0}, Case{-3, 0},
                         Case{std::numeric_limits<double>::quiet_NaN(), 0},
                         Case{std::numeric_limits<double>::infinity(), 0}}) {
        CigaretteDesign d = base.clone();
        d.alt_puff = c.altPuff;
        d.allocatePuffData(3);
        RecordingProgress progress;
        runPuffByPuff(d, fixtureParameters(), progress);
        EXPECT_EQ(d.puff_number, c.expected) << c.altPuff;
        EXPECT_EQ(d.puff_mass.size(), static_cast<std::size_t>(c.expected)) << c.altPuff;
        EXPECT_EQ(progress.calls.empty(), c.expected == 0) << c.altPuff;
    }
}

TEST(PuffByPuff, UnmeasuredYieldsStayRawAndALooseRodRetainsNothing) {
    DesignValues values;
    values.known &=
        ~(known::bit(KnownBit::IsoNicotine) | known::bit(KnownBit::IsoTar) | known::bit(KnownBit::IsoCo));
    values.ro_totmass = 500;  // 167 mg/cm³
    CigaretteDesign d = recalculatedCurrent(values);
    NullProgressSink progress;
    runPuffByPuff(d, fixtureParameters(), progress);
    ASSERT_GT(d.puff_number, 0);
    for (int i = 0; i < d.puff_number; ++i) {
        EXPECT_EQ(d.puff_nfdpm[i], d.puff_mass[i]);
        EXPECT_EQ(d.puff_nico[i], d.puff_mass[i]);
        EXPECT_LT(d.puff_co[i], d.puff_mass[i]);
    }
}

TEST(PuffByPuff, ZeroSumsAreNotScaled) {
    // All air enters through the ventilation: nothing passes the coal, every puff is empty.
    CigaretteDesign d = recalculatedCurrent();
    d.alt_fivent = 60;
    d.alt_rovent = 40;
    NullProgressSink progress;
    runPuffByPuff(d, fixtureParameters(), progress);
    ASSERT_GT(d.puff_number, 0);
    for (int i = 0; i < d.puff_number; ++i) {
        EXPECT_EQ(d.puff_mass[i], 0);
        EXPECT_EQ(d.puff_nfdpm[i], 0);
        EXPECT_EQ(d.puff_nico[i], 0);
        EXPECT_EQ(d.puff_co[i], 0);
    }
}

TEST(BurningZoneSuction, NoShareOfThePuffBelowZero) {
    DesignValues t = recalculatedCurrent();
    setCoalParameters(t, fixtureParameters());
    const double vc = 90;
    const double normal = burningZoneSuction(t, 20, 10, vc, false);
    EXPECT_GT(normal, 0);
    // Ventilations of 120 %: the coal sees no flow, half the rod still does.
    const double rodOnly = burningZoneSuction(t, 70, 50, vc, false);
    EXPECT_TRUE(std::isfinite(rodOnly));
    EXPECT_DOUBLE_EQ(rodOnly,
                     t.ro_k * std::pow(5 * vc * 0.01 / 100, t.coal_n) * t.ro_len * 0.5 * 0.001 / 9.7926);
    EXPECT_EQ(burningZoneSuction(t, 100, 50, vc, true), 0);
}

}  // namespace
}  // namespace veltrano
