#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "SolverFixture.h"
#include "core/design/DesignFields.h"
#include "core/design/NumberText.h"
#include "core/model/Characteristics.h"
#include "core/solver/SolverSearch.h"

namespace veltrano {
namespace {

using testing::calibrateFilterVentilationBy;
using testing::recalculateDesigns;
using testing::solverParameters;
using Kind = SearchOutcome::Kind;

// The calibrated value a target code names, as the recalculation leaves it in the current design.
double calibratedValue(const DesignValues& d, SolverTarget code) {
    switch (code) {
        case SolverTarget::FilterVentilation:
            return d.stat_fivent;
        case SolverTarget::Tar:
            return d.iso_nfdpm;
        case SolverTarget::Nicotine:
            return d.iso_nico;
        case SolverTarget::CarbonMonoxide:
            return d.iso_co;
        case SolverTarget::RodVentilation:
            return d.stat_rovent;
        default:
            return d.iso_puff;
    }
}

struct SearchCase {
    SolverGroup group;
    SolverTarget code;
    const char* target;
    double tolerance;  // what rounding the accepted permeabilities to whole CU leaves
};

TEST(SolverSearch, AnAcceptedResultBringsTheCalibratedDesignToItsTarget) {
    const ModelParameters& mp = solverParameters();
    const SearchCase cases[] = {
        {SolverGroup::Tipping, SolverTarget::FilterVentilation, "20", 0.05},
        {SolverGroup::Tipping, SolverTarget::Tar, "9.5", 0.02},
        {SolverGroup::Tipping, SolverTarget::Nicotine, " 0.6mg", 0.002},
        {SolverGroup::Tipping, SolverTarget::CarbonMonoxide, "10", 0.02},
        {SolverGroup::Paper, SolverTarget::RodVentilation, "14", 0.05},
        {SolverGroup::Paper, SolverTarget::CarbonMonoxide, "12", 0.02},
        {SolverGroup::Paper, SolverTarget::PuffNumber, "7.5", 0.01},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.code)) + " in group " +
                     std::to_string(static_cast<int>(c.group)));
        DesignSet designs;
        calibrateFilterVentilationBy(designs, 0.9);
        designs.referenceDesign.stat_rovent = 11;  // the rod ventilation is calibrated too
        recalculateDesigns(designs);
        const DesignImage before = encodeDesignImage(designs.currentDesign);
        RecordingErrorReporter errors;

        const SearchOutcome outcome = runSolverSearch(designs, c.group, c.code, c.target, mp, errors);
        ASSERT_EQ(outcome.kind, Kind::Result) << outcome.message << " error " << outcome.error;
        EXPECT_EQ(encodeDesignImage(designs.currentDesign), before);
        if (c.group == SolverGroup::Tipping) {
            EXPECT_EQ(outcome.tipping.tipping, std::floor(outcome.tipping.tipping));
            EXPECT_EQ(outcome.fieldTexts[1], std::to_string(static_cast<int>(outcome.tipping.tipping)));
        }

        acceptSearchResult(designs.currentDesign, c.group, outcome.fieldTexts, mp);
        recalculateDesigns(designs);
        EXPECT_NEAR(calibratedValue(designs.currentDesign, c.code), readNumber(c.target), c.tolerance);
        EXPECT_TRUE(errors.numbers.empty());
    }
}

TEST(SolverSearch, ATargetBetweenTheCalibratedAndTheModelVentilationIsFound) {
    const ModelParameters& mp = solverParameters();
    DesignSet designs;
    designs.currentDesign.tp_perfoperm = 128;  // 14.1 % on the model's scale, 13.2 % calibrated
    calibrateFilterVentilationBy(designs, 0.94);
    RecordingErrorReporter errors;
    const SearchOutcome outcome =
        runSolverSearch(designs, SolverGroup::Tipping, SolverTarget::FilterVentilation, "13", mp, errors);
    ASSERT_EQ(outcome.kind, Kind::Result) << "error " << outcome.error;
    acceptSearchResult(designs.currentDesign, SolverGroup::Tipping, outcome.fieldTexts, mp);
    recalculateDesigns(designs);
    EXPECT_NEAR(designs.currentDesign.stat_fivent, 13, 0.1);
}

TEST(SolverSearch, TargetsOutsideTheReachableRangeGetTheRangeMessage) {
    const ModelParameters& mp = solverParameters();
    DesignSet designs;
    recalculateDesigns(designs);
    RecordingErrorReporter errors;
    const CalibrationPair pair{designs.referenceDesign, designs.workingReference};
    const DesignValues& design = designs.currentDesign;
    const double filterMax = maxFilterVentilation(design, mp) * filterVentilationCalibration(design, pair);
    const double rodMax = maxRodVentilation(design) * rodVentilationCalibration(pair);
    const std::string filterMessage =
        formatText("Error: The desired degree of filter ventilation has to be between 1%% and %d%%.",
                   {std::floor(filterMax)});
    const std::string rodMessage = formatText(
        "Error: The desired degree of rod ventilation has to be between 1%% and %d%%.", {std::floor(rodMax)});
    double tarHigh = 0, tarLow = 0, puffHigh = 0, puffLow = 0;
    yieldRangeOverVentilation(design, pair, SolverTarget::Tar, tarHigh, tarLow, mp, errors);
    paperTargetRange(design, pair, SolverTarget::PuffNumber, puffHigh, puffLow, mp, errors);

    struct Case {
        SolverGroup group;
        SolverTarget code;
        std::string target;
        std::string message;
    };
    const Case cases[] = {
        {SolverGroup::Tipping, SolverTarget::FilterVentilation, "0.99", filterMessage},
        {SolverGroup::Tipping, SolverTarget::FilterVentilation, "not a number", filterMessage},
        {SolverGroup::Tipping, SolverTarget::FilterVentilation, formatNumber("%.16e", filterMax * 1.000001),
         filterMessage},
        {SolverGroup::Paper, SolverTarget::RodVentilation, formatNumber("%.16e", rodMax + 0.01), rodMessage},
        {SolverGroup::Tipping, SolverTarget::Tar, formatNumber("%.16e", tarHigh + 0.001),
         formatText("Error: The desired 'tar' value has to be between %.2f mg/cig and %.2f mg/cig.",
                    {tarLow, tarHigh})},
        {SolverGroup::Paper, SolverTarget::PuffNumber, formatNumber("%.16e", puffLow - 0.001),
         formatText("Error: The desired puff number has to be between %.2f and %.2f.", {puffLow, puffHigh})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        const SearchOutcome outcome = runSolverSearch(designs, c.group, c.code, c.target, mp, errors);
        EXPECT_EQ(outcome.kind, Kind::RangeMessage);
        EXPECT_EQ(outcome.message, c.message);
    }
    // The ends themselves are reachable.
    for (const Case& c : {Case{SolverGroup::Tipping, SolverTarget::FilterVentilation, "1", ""},
                          Case{SolverGroup::Tipping, SolverTarget::Tar, formatNumber("%.16e", tarLow), ""}}) {
        EXPECT_EQ(runSolverSearch(designs, c.group, c.code, c.target, mp, errors).kind, Kind::Result)
            << c.target;
    }
    EXPECT_TRUE(errors.numbers.empty());
}

TEST(SolverSearch, TheCalibrationFactorAppliesOnlyWhereTheCalibrationDoes) {
    const ModelParameters& mp = solverParameters();
    // Measured ventilations, but a reference whose tipping and paper let no air in: the model predicts 0
    // for it, so nothing is calibrated and the reachable maxima are the model's own.
    DesignSet designs;
    designs.referenceDesign.tp_perfotype = kNoPerforation;
    designs.referenceDesign.cp_perm = 0;
    recalculateDesigns(designs);
    ASSERT_TRUE(designs.referenceDesign.isKnown(KnownBit::FilterVentilation) &&
                designs.referenceDesign.isKnown(KnownBit::RodVentilation));
    ASSERT_EQ(designs.workingReference.stat_fivent, 0);
    ASSERT_LT(designs.workingReference.stat_rovent, 0.1);
    RecordingErrorReporter errors;
    const DesignValues& design = designs.currentDesign;
    const SearchOutcome filter =
        runSolverSearch(designs, SolverGroup::Tipping, SolverTarget::FilterVentilation, "100", mp, errors);
    EXPECT_EQ(filter.message,
              formatText("Error: The desired degree of filter ventilation has to be between 1%% and %d%%.",
                         {std::floor(maxFilterVentilation(design, mp))}));
    const SearchOutcome rod =
        runSolverSearch(designs, SolverGroup::Paper, SolverTarget::RodVentilation, "100", mp, errors);
    EXPECT_EQ(rod.message,
              formatText("Error: The desired degree of rod ventilation has to be between 1%% and %d%%.",
                         {std::floor(maxRodVentilation(design))}));
}

TEST(SolverSearch, ASearchThatRunsOutOfEvaluationsReportsItsError) {
    const ModelParameters& mp = solverParameters();
    DesignSet designs;
    recalculateDesigns(designs);
    RecordingErrorReporter errors;
    struct Case {
        SolverGroup group;
        SolverTarget code;
        const char* target;
        int error;
    };
    for (const Case& c : {Case{SolverGroup::Tipping, SolverTarget::Tar, "9.5", 58},
                          Case{SolverGroup::Paper, SolverTarget::RodVentilation, "14", 60},
                          Case{SolverGroup::Paper, SolverTarget::PuffNumber, "7.5", 60}}) {
        SCOPED_TRACE(static_cast<int>(c.code));
        EXPECT_EQ(runSolverSearch(designs, c.group, c.code, c.target, mp, errors).kind, Kind::Result);
        const SearchOutcome capped = runSolverSearch(designs, c.group, c.code, c.target, mp, errors, 1);
        EXPECT_EQ(capped.kind, Kind::Error);
        EXPECT_EQ(capped.error, c.error);
    }
    EXPECT_TRUE(errors.numbers.empty());
}

TEST(SolverSearch, OnlyTheSearchesTheDesignOffersRun) {
    const ModelParameters& mp = solverParameters();
    RecordingErrorReporter errors;
    struct Case {
        const char* name;
        std::int32_t type;
        std::uint32_t clearedBits;
        SolverGroup group;
        SolverTarget code;
    };
    for (const Case& c :
         {Case{"tipping without perforation", kNoPerforation, 0, SolverGroup::Tipping,
               SolverTarget::FilterVentilation},
          Case{"tipping, online perforation", kOnlineLaser, 0, SolverGroup::Tipping,
               SolverTarget::FilterVentilation},
          Case{"paper, online perforation", kOnlineLaser, 0, SolverGroup::Paper,
               SolverTarget::RodVentilation},
          Case{"'tar' not known", kElectrostatic, known::bit(KnownBit::IsoTar), SolverGroup::Tipping,
               SolverTarget::Tar},
          Case{"puff number not known", kElectrostatic, known::bit(KnownBit::IsoPuffNumber),
               SolverGroup::Paper, SolverTarget::PuffNumber},
          Case{"a code of the other list", kElectrostatic, 0, SolverGroup::Paper, SolverTarget::Tar}}) {
        DesignSet designs;
        designs.currentDesign.tp_perfotype = c.type;
        designs.currentDesign.known &= ~c.clearedBits;
        EXPECT_EQ(runSolverSearch(designs, c.group, c.code, "10", mp, errors).kind, Kind::NotOffered)
            << c.name;
    }
    EXPECT_TRUE(errors.numbers.empty());
}

TEST(SolverSearch, AcceptStoresTheShownValuesAndPredictsTheDiffusionAnew) {
    const ModelParameters& mp = solverParameters();
    DesignValues design;
    const std::uint32_t knownBefore = design.known;
    acceptSearchResult(design, SolverGroup::Tipping, {"4800", "191"}, mp);
    EXPECT_EQ(design.pw_perm, 4800);
    EXPECT_EQ(design.tp_perfoperm, 191);
    acceptSearchResult(design, SolverGroup::Paper, {"62", "1.709"}, mp);
    EXPECT_EQ(design.cp_perm, 62);
    EXPECT_EQ(design.cp_diff, predictDiffusion(design, mp));
    EXPECT_EQ(design.known, knownBefore);
}

}  // namespace
}  // namespace veltrano
