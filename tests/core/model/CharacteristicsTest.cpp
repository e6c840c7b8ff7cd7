#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "core/model/Characteristics.h"
#include "core/model/FlowNetwork.h"

namespace veltrano {
namespace {

using testing::fixtureParameters;

TEST(InterpolateLinear, ReachesTheValueOnTheLine) {
    struct Case {
        double x1, y1, x2, y2, y, expected;
    };
    const Case cases[] = {
        {1, 5, 3, 5, 7, 2},      // flat line: the middle of the two x
        {0, 10, 10, 0, 5, 5},    // falling line: the points are exchanged
        {0, 0, 10, 20, 5, 2.5},  // rising line
        {4, 0, 4, 9, 3, 4},      // vertical line
        {0, 0, 10, 10, 15, 15},  // beyond the points
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(interpolateLinear(c.x1, c.y1, c.x2, c.y2, c.y), c.expected)
            << c.x1 << " " << c.y1 << " " << c.x2 << " " << c.y2 << " " << c.y;
    }
}

TEST(ButtLength, IsTheLargestOfFilterPlusEightTwentyThreeAndTippingPlusThree) {
    struct Case {
        double filter, tipping, expected;
    };
    for (const Case& c : {Case{24, 32, 35}, Case{10, 15, 23}, Case{20, 15, 28}, Case{15, 20, 23}}) {
        DesignValues d;
        d.fi_len = c.filter;
        d.tp_width = c.tipping;
        EXPECT_EQ(buttLength(d), c.expected) << c.filter << " " << c.tipping;
    }
}

TEST(ApplyDefaults, NothingKnownTakesEveryDefault) {
    DesignValues d;
    d.known = 0;
    d.fi_len = 20;
    d.ro_len = 62;
    d.tp_perfotype = kMacroLaser;
    d.tp_perfoperm = 150;
    applyDefaults(d, fixtureParameters());
    EXPECT_EQ(d.ci_len, 82);
    EXPECT_EQ(d.tp_width, 24);
    EXPECT_EQ(d.tp_perfopos, 10);
    EXPECT_EQ(d.tp_perfotype, kElectrostatic);
    EXPECT_EQ(d.tp_exponent, 0.68);
    EXPECT_EQ(d.pw_perm, 1500);
    EXPECT_EQ(d.pw_exponent, 0.68);
    EXPECT_EQ(d.cp_perm, 50);
    EXPECT_EQ(d.cp_diff, predictDiffusion(d, fixtureParameters()));
    for (double measured :
         {d.stat_pdo, d.stat_pdc, d.stat_fivent, d.stat_rovent, d.stat_mbr, d.iso_puff, d.iso_nico,
          d.iso_nfdpm, d.iso_co, d.alt_puff, d.alt_nico, d.alt_nfdpm, d.alt_co}) {
        EXPECT_EQ(measured, 0);
    }
}

TEST(ApplyDefaults, PerforationPositionNeedsBothBits) {
    DesignValues d;
    d.known &= ~known::bit(KnownBit::PerforationWidth);
    d.tp_perfopos = 17;
    d.tp_perfowidth = 5;
    applyDefaults(d, fixtureParameters());
    EXPECT_EQ(d.tp_perfopos, d.fi_len / 2);
    EXPECT_EQ(d.tp_perfowidth, 3.0);
}

TEST(ApplyDefaults, OnlinePerforationKeepsItsZoneAndPlugWrap) {
    DesignValues d;
    d.known &= ~(known::bit(KnownBit::PerforationWidth) | known::bit(KnownBit::PlugWrapPermeability) |
                 known::bit(KnownBit::PlugWrapExponent));
    d.tp_perfotype = kOnlineLaser;
    d.tp_perfowidth = 1.5;
    d.pw_perm = 5000;
    d.pw_exponent = 0.6;
    d.tp_onlinevent = 33;
    applyDefaults(d, fixtureParameters());
    EXPECT_EQ(d.tp_perfowidth, 1.5);
    EXPECT_EQ(d.pw_perm, 5000);
    EXPECT_EQ(d.pw_exponent, 0.6);
    EXPECT_EQ(d.stat_fivent, 33);  // a measured filter ventilation of an online design is its target

    // The zone width rule looks at the stored type, before an unknown type falls back to 1.
    d.known &= ~known::bit(KnownBit::PerforationType);
    applyDefaults(d, fixtureParameters());
    EXPECT_EQ(d.tp_perfotype, kElectrostatic);
    EXPECT_EQ(d.tp_perfowidth, 1.5);
    EXPECT_EQ(d.pw_perm, d.tp_perfoperm * 10);
}

TEST(PerforationCoefficients, BelowOneCuThereIsNoVentilation) {
    for (int type : {1, 2, 3, 4}) {
        DesignValues d;
        d.tp_perfotype = type;
        d.tp_perfotrack = 2;
        d.tp_perfoperm = 0.5;
        computePerforationCoefficients(d, fixtureParameters());
        EXPECT_EQ(d.tp_k, 0) << type;
        EXPECT_EQ(d.tp_n, 1) << type;
    }
}

TEST(AxialCoefficients, TheMeasuredRodsReproduceTheirPressureDrops) {
    DesignValues d;
    d.fi_exponent = 1.15;
    d.ro_exponent = 1.3;
    computeFilterCoefficients(d);
    computeRodCoefficients(d);
    const double v0 = standardVelocity(d.fi_diam);
    EXPECT_NEAR(-solidSegment(d.fi_k, d.fi_n, d.fi_totlen, v0, 0).p / kPaPerMmH2O, d.fi_totpd, 1e-9);
    EXPECT_NEAR(-solidSegment(d.ro_k, d.ro_n, d.ro_totlen, v0, 0).p / kPaPerMmH2O, d.ro_totpd, 1e-9);
    EXPECT_DOUBLE_EQ(d.fi_pd, 70);
    EXPECT_DOUBLE_EQ(d.ro_pd, 60);
}

}  // namespace
}  // namespace veltrano
