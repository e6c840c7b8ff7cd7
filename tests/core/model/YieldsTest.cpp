#include <cmath>

#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "core/model/AlternativeYields.h"
#include "core/model/Characteristics.h"
#include "core/model/IsoYields.h"

namespace veltrano {
namespace {

using testing::fixtureParameters;

constexpr std::uint32_t kCorrectionBits =
    known::bit(KnownBit::PaperDiffusion) | known::bit(KnownBit::PaperCitrate) |
    known::bit(KnownBit::PaperComposition) | known::bit(KnownBit::FilterTotalDenier) |
    known::bit(KnownBit::FilterFibreDenier);

DesignValues isoYields(DesignValues d) {
    applyDefaults(d, fixtureParameters());
    computeIsoYields(d, fixtureParameters());
    return d;
}

double base(int b, double v, double P) {
    const ModelParameters& mp = fixtureParameters();
    return mp[b] + mp[b + 1] * v + mp[b + 2] * P + mp[b + 3] * v * P + mp[b + 4] * v * v + mp[b + 5] * P * P;
}

TEST(IsoYields, WithoutCorrectionsTheyAreTheBaseFunctionsTimesTheRodFactor) {
    DesignValues d;
    d.known &= ~kCorrectionBits;
    d.stat_fivent = 21.5;
    d.cp_perm = 65;
    const DesignValues y = isoYields(d);
    const double R = (84 - 35) * (750.0 / 60) / 651.639344262295;
    EXPECT_DOUBLE_EQ(y.iso_nico, base(9, 21.5, 65) * (100 - 21.5) * R);
    EXPECT_DOUBLE_EQ(y.iso_nfdpm, base(15, 21.5, 65) * (100 - 21.5) * R);
    EXPECT_DOUBLE_EQ(y.iso_co, base(21, 21.5, 65) * (100 - 21.5) * R);
    EXPECT_DOUBLE_EQ(y.iso_puff, base(27, 21.5, 65) * R);
    EXPECT_DOUBLE_EQ(y.stat_mbr, 49 * 750.0 / (60 * R * base(27, 100, 65)));
}

TEST(IsoYields, NeutralInputsGiveFactorsOfOne) {
    struct Case {
        const char* name;
        void (*neutral)(DesignValues&);
        std::uint32_t bits;
    };
    const Case cases[] = {
        {"citrate 1 %", [](DesignValues& d) { d.cp_citrate = 1; }, known::bit(KnownBit::PaperCitrate)},
        {"reference filter",
         [](DesignValues& d) {
             d.fi_diam = 7.8;
             d.fi_len = 23;
             d.fi_totpd = 68.33333333333333;
             d.fi_totlen = 23;
             d.fi_pd = 68.33333333333333;
             d.fi_totden = 30000;
             d.fi_fibden = 3;
         },
         known::bit(KnownBit::FilterTotalDenier) | known::bit(KnownBit::FilterFibreDenier)},
    };
    for (const Case& c : cases) {
        DesignValues with;
        c.neutral(with);
        DesignValues without = with;
        without.known &= ~c.bits;
        const DesignValues a = isoYields(with), b = isoYields(without);
        EXPECT_EQ(a.iso_nico, b.iso_nico) << c.name;
        EXPECT_EQ(a.iso_nfdpm, b.iso_nfdpm) << c.name;
        EXPECT_EQ(a.iso_co, b.iso_co) << c.name;
        EXPECT_EQ(a.iso_puff, b.iso_puff) << c.name;
    }
}

TEST(IsoYields, FullVentilationLeavesOnlyThePuffNumber) {
    DesignValues d;
    d.stat_fivent = 100;
    const DesignValues y = isoYields(d);
    EXPECT_EQ(y.iso_nico, 0);
    EXPECT_EQ(y.iso_nfdpm, 0);
    EXPECT_EQ(y.iso_co, 0);
    EXPECT_GT(y.iso_puff, 0);
}

TEST(IsoYields, BandedPaperBlendsTheBandDiffusionEvenWhenTheDiffusionIsNotGiven) {
    DesignValues d;
    d.known &= ~known::bit(KnownBit::PaperDiffusion);
    d.cp_lip = 1;
    d.cp_bandwidth = 6;
    d.cp_bandspace = 20;
    d.cp_bandperm = 5;
    DesignValues other = d;
    d.cp_banddiff = 0.1;
    other.cp_banddiff = 0.8;
    EXPECT_NE(isoYields(d).iso_co, isoYields(other).iso_co);
    EXPECT_GT(isoYields(d).iso_co, isoYields(other).iso_co);  // less diffusion keeps more CO in the smoke
}

TEST(FilterEfficiency, RetainsMoreInALongerDenserFilter) {
    const ModelParameters& mp = fixtureParameters();
    for (FilterYield kind : {FilterYield::Nicotine, FilterYield::Tar}) {
        const double reference = filterEfficiency(kind, 7.8, 23, 68.33333333333333, 30000, 3, mp);
        EXPECT_GT(reference, 0.2);
        EXPECT_LT(reference, 0.8);
        EXPECT_GT(filterEfficiency(kind, 7.8, 27, 80, 30000, 3, mp), reference);
    }
}

// The balance of the alternative regime with a companion made up for the test.
const UnventilatedCompanion kCompanion{8, 60, 10, 1.1, 15, 16};

DesignValues balanced(DesignValues d, const DesignValues& reference, const DesignValues& working) {
    applyDefaults(d, fixtureParameters());
    applyAlternativeYields(d, kCompanion, reference, working);
    return d;
}

TEST(AlternativeYields, TheIsoRegimeOfAnUnperforatedDesignKeepsItsPuffNumber) {
    DesignValues d;
    d.alt_fivent = 0;
    d.alt_rovent = kCompanion.rodVentilation;
    DesignValues nothingMeasured;
    nothingMeasured.known = 0;
    EXPECT_NEAR(balanced(d, nothingMeasured, nothingMeasured).alt_puff, kCompanion.puffs, 1e-12);
}

TEST(AlternativeYields, AMeasuredPuffNumberAlsoCorrectsAnUnmeasuredBurnRate) {
    DesignValues reference, working;
    reference.known = known::bit(KnownBit::IsoPuffNumber);
    reference.iso_puff = 10;
    working.iso_puff = 8;
    DesignValues d;
    d.alt_fivent = 12;
    d.alt_rovent = 9;
    const DesignValues y = balanced(d, reference, working);
    // u = 10 · 8 / 8, m = 8 · 60 / 10.
    const double u = 10, m = 48, H = 49 * 750.0 / 60;
    const double L = (100 - 10.0) * 35 / 100 * u, M = (100 - 12.0 - 9) * 35 / 100, S = 58 * m / 60;
    const double B = (H - (u - 1) * 58 * m / 60) / L;
    EXPECT_DOUBLE_EQ(y.alt_puff, (H + S) / (B * M + S));
    EXPECT_DOUBLE_EQ(y.alt_nico, 1.1 * y.alt_puff * M / L);
}

TEST(AlternativeYields, NoAirThroughTheCoalLeavesSmoulderingAlone) {
    DesignValues d;
    d.alt_fivent = 100;
    d.alt_rovent = 0;
    DesignValues nothingMeasured;
    nothingMeasured.known = 0;
    const DesignValues y = balanced(d, nothingMeasured, nothingMeasured);
    EXPECT_DOUBLE_EQ(y.alt_puff, 49 * 750.0 / 60 / 60 * 60 / 60);
    EXPECT_EQ(y.alt_nico, 0);
    EXPECT_EQ(y.alt_nfdpm, 0);
    EXPECT_EQ(y.alt_co, 0);
}

}  // namespace
}  // namespace veltrano
