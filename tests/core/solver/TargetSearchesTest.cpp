#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "SolverFixture.h"
#include "core/design/DesignFields.h"
#include "core/model/Characteristics.h"
#include "core/model/FlowNetwork.h"
#include "core/solver/SolverTargets.h"
#include "core/solver/TargetSearches.h"

namespace veltrano {
namespace {

using testing::calibrateFilterVentilationBy;
using testing::recalculateDesigns;
using testing::solverParameters;

double filterVentilationAt(const DesignValues& d, double startSuction) {
    Stations v{}, p{};
    v[0] = standardVelocity(d.fi_diam);
    p[0] = startSuction;
    solveOpen(d, v, p, kNoCoalIso);
    return (v[1] - v[2]) / v[0] * 100;
}

double coefficientSearchStart(const DesignValues& d, double x) {
    const double Pf = d.fi_pd * kPaPerMmH2O, Pr = d.ro_pd * kPaPerMmH2O, F = d.fi_len, xp = d.tp_perfopos;
    return xp / F * Pf + (100 - x) / 100 * ((1 - d.cp_perm / 500) * Pr + (F - xp) / F * Pf);
}

// The coefficient search as written before the calibrated bracket: it brackets with the design's
// stored filter ventilation whatever scale that is on.
double storedBracketSearch(const DesignValues& design, double x, const ModelParameters& mp) {
    DesignValues copy = design;
    const double start = coefficientSearchStart(design, x);
    double kLow = 0, fvLow = 0, kHigh = design.tp_k, fvHigh = design.stat_fivent;
    if (!(design.stat_fivent > x)) {
        copy.tp_perfoperm = 8000;
        copy.pw_perm = 30000;
        computePerforationCoefficients(copy, mp);
        kLow = design.tp_k;
        fvLow = design.stat_fivent;
        kHigh = copy.tp_k;
        fvHigh = filterVentilationAt(copy, start);
    }
    for (int count = 1;; ++count) {
        copy.tp_k = interpolateLinear(kLow, fvLow * fvLow, kHigh, fvHigh * fvHigh, x * x);
        const double fv = filterVentilationAt(copy, start);
        if (fv < x) {
            kLow = copy.tp_k;
            fvLow = fv;
        } else {
            kHigh = copy.tp_k;
            fvHigh = fv;
        }
        if (count == 100) return -1;
        if (std::fabs(fv - x) <= 0.01) break;
    }
    const double k = interpolateLinear(kLow, fvLow * fvLow, kHigh, fvHigh * fvHigh, x * x);
    return k < 0 ? 0 : k;
}

CalibrationPair pairOf(const DesignSet& designs) {
    return {designs.referenceDesign, designs.workingReference};
}

TEST(TippingSearch, WithoutCalibrationTheBracketIsTheStoredVentilation) {
    const ModelParameters& mp = solverParameters();
    DesignSet designs;
    designs.referenceDesign.known &=
        ~known::bit(KnownBit::FilterVentilation);  // the reference's ventilation is not measured
    designs.currentDesign.tp_perfoperm = 128;
    recalculateDesigns(designs);
    const DesignValues& design = designs.currentDesign;
    ASSERT_EQ(filterVentilationCalibration(design, pairOf(designs)), 1.0);
    // Targets below and above the design's ventilation: both ways of building the bracket.
    for (double x : {9.5, 13.8, 27.0}) {
        SCOPED_TRACE(x);
        const double k = perforationCoefficientFor(design, pairOf(designs), x, mp);
        EXPECT_GT(k, 0);
        EXPECT_EQ(k, storedBracketSearch(design, x, mp));
    }
}

TEST(TippingSearch, ACalibratedVentilationIsTakenBackToTheModelScaleForTheBracket) {
    const ModelParameters& mp = solverParameters();
    DesignSet designs;
    designs.currentDesign.tp_perfoperm = 128;
    calibrateFilterVentilationBy(designs, 0.94);
    const DesignValues& design = designs.currentDesign;
    const double f = filterVentilationCalibration(design, pairOf(designs));
    ASSERT_NEAR(f, 0.94, 1e-12);
    // 13 % calibrated is 13.83 % on the model's scale: between the stored 13.2 % and the model's 14.1 %.
    const double x = 13 / f;
    ASSERT_LT(design.stat_fivent, x);
    ASSERT_GT(design.stat_fivent / f, x);

    EXPECT_EQ(storedBracketSearch(design, x, mp), -1);  // the target falls outside that bracket
    const double k = perforationCoefficientFor(design, pairOf(designs), x, mp);
    ASSERT_GT(k, 0);
    DesignValues trial = design;
    trial.tp_k = k;
    EXPECT_NEAR(filterVentilationAt(trial, coefficientSearchStart(design, x)), x, 0.01);
}

TEST(TippingSearch, PlugWrapGradeAndWholeTippingPermeabilityRebuildTheCoefficient) {
    const ModelParameters& mp = solverParameters();
    DesignSet designs;
    recalculateDesigns(designs);
    const DesignValues& design = designs.currentDesign;
    struct Case {
        double q;
        double grade;
    };
    for (const Case& c : {Case{500, 3300}, Case{9000, 10000}, Case{30000, 26000}}) {
        SCOPED_TRACE(c.q);
        const double k = c.q * 0.00016666 / (10 * std::pow(1000.0, design.tp_n));
        const TippingResult found = perforationPermeabilities(design, k, mp);
        EXPECT_EQ(found.plugWrap, c.grade);
        EXPECT_GT(found.tipping, 0);
        EXPECT_EQ(found.tipping, std::floor(found.tipping));
        DesignValues rebuilt = design;
        rebuilt.tp_perfoperm = found.tipping;
        rebuilt.pw_perm = found.plugWrap;
        computePerforationCoefficients(rebuilt, mp);
        EXPECT_NEAR(rebuilt.tp_k / k, 1, 0.02);  // within the rounding to a whole CU
    }
    // A coefficient no perforation below 8000 CU reaches.
    const double tooMuch = 1e6 * 0.00016666 / (10 * std::pow(1000.0, design.tp_n));
    const TippingResult none = perforationPermeabilities(design, tooMuch, mp);
    EXPECT_EQ(none.tipping, -1);
    EXPECT_EQ(none.plugWrap, -1);
}

TEST(TargetRanges, LowComesFromTheMostPermeableSideAndIsBelowHigh) {
    const ModelParameters& mp = solverParameters();
    DesignSet designs;
    recalculateDesigns(designs);
    const DesignValues& design = designs.currentDesign;
    const DesignImage before = encodeDesignImage(designs.currentDesign);
    RecordingErrorReporter errors;
    for (SolverTarget code : {SolverTarget::Tar, SolverTarget::Nicotine, SolverTarget::CarbonMonoxide}) {
        double high = -1, low = -1;
        yieldRangeOverVentilation(design, pairOf(designs), code, high, low, mp, errors);
        EXPECT_GT(low, 0) << static_cast<int>(code);
        EXPECT_LT(low, high) << static_cast<int>(code);
    }
    // The puff number rises as the paper closes: 220 CU gives the low end, 0 CU the high end.
    double high = -1, low = -1;
    paperTargetRange(design, pairOf(designs), SolverTarget::PuffNumber, high, low, mp, errors);
    EXPECT_LT(low, design.iso_puff);
    EXPECT_GT(high, design.iso_puff);
    const PaperResult atLow =
        paperForTarget(design, pairOf(designs), SolverTarget::PuffNumber, low, low, high, mp);
    const PaperResult atHigh =
        paperForTarget(design, pairOf(designs), SolverTarget::PuffNumber, high, low, high, mp);
    EXPECT_NEAR(atLow.permeability, 220, 0.1);
    EXPECT_NEAR(atHigh.permeability, 0, 0.1);
    EXPECT_TRUE(errors.numbers.empty());
    EXPECT_EQ(encodeDesignImage(designs.currentDesign), before);  // the searches work on copies
}

TEST(TargetRanges, ACodeTheRangeDoesNotServeIsAProgramError) {
    const ModelParameters& mp = solverParameters();
    DesignSet designs;
    recalculateDesigns(designs);
    RecordingErrorReporter errors;
    double high = 7, low = 3;
    yieldRangeOverVentilation(designs.currentDesign, pairOf(designs), SolverTarget::PuffNumber, high, low, mp,
                              errors);
    paperTargetRange(designs.currentDesign, pairOf(designs), SolverTarget::Tar, high, low, mp, errors);
    EXPECT_EQ(errors.numbers, (std::vector<int>{59, 59, 59, 59}));  // once for each end of each range
    EXPECT_EQ(high, 7);
    EXPECT_EQ(low, 3);
}

}  // namespace
}  // namespace veltrano
