#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "core/design/DesignFields.h"
#include "core/model/Recalculation.h"

namespace veltrano {
namespace {

using testing::fixtureParameters;

std::vector<int> recalculated(DesignSet& set) {
    RecordingErrorReporter errors;
    recalculate(set, fixtureParameters(), errors);
    return errors.numbers;
}

TEST(Recalculate, ACurrentDesignEqualToTheReferenceEndsAtItsMeasuredValues) {
    DesignSet set;
    set.referenceDesign.known = 0xFFFFFFFFu;
    set.referenceDesign.alt_puff = 9.5;
    set.referenceDesign.alt_nico = 0.9;
    set.referenceDesign.alt_nfdpm = 14;
    set.referenceDesign.alt_co = 15;
    set.currentDesign.assign(set.referenceDesign);
    const DesignImage before = encodeDesignImage(set.referenceDesign);
    EXPECT_TRUE(recalculated(set).empty());

    using V = DesignValues;
    for (double V::*value :
         {&V::iso_nico, &V::iso_nfdpm, &V::iso_co, &V::iso_puff, &V::stat_mbr, &V::alt_nico, &V::alt_nfdpm,
          &V::alt_co, &V::alt_puff, &V::stat_pdo, &V::stat_pdc, &V::stat_fivent, &V::stat_rovent}) {
        const double measured = set.referenceDesign.*value;
        EXPECT_NEAR(set.currentDesign.*value, measured, 1e-12 * measured);
        EXPECT_NE(set.workingReference.*value, measured);  // the raw prediction differs
    }
    EXPECT_EQ(encodeDesignImage(set.referenceDesign), before);
}

TEST(Recalculate, UnmeasuredAlternativeYieldsAreCalibratedByTheIsoRatios) {
    // The reference's alternative yields are not measured (bits 27 to 30 clear): its ISO ratios apply.
    // Without the measured ISO yields (bits 24 to 26) the alternative yields stay raw; nothing else changes.
    DesignSet calibrated, raw;
    for (DesignSet* set : {&calibrated, &raw}) set->currentDesign.tp_perfotype = kNoPerforation;
    raw.referenceDesign.known &=
        ~(known::bit(KnownBit::IsoNicotine) | known::bit(KnownBit::IsoTar) | known::bit(KnownBit::IsoCo));
    recalculated(calibrated);
    recalculated(raw);
    const DesignValues& R = calibrated.referenceDesign;
    const DesignValues& W = calibrated.workingReference;
    ASSERT_EQ(W.iso_nico, raw.workingReference.iso_nico);
    EXPECT_EQ(calibrated.currentDesign.alt_nico, raw.currentDesign.alt_nico * (R.iso_nico / W.iso_nico));
    EXPECT_EQ(calibrated.currentDesign.alt_nfdpm, raw.currentDesign.alt_nfdpm * (R.iso_nfdpm / W.iso_nfdpm));
    EXPECT_EQ(calibrated.currentDesign.alt_co, raw.currentDesign.alt_co * (R.iso_co / W.iso_co));
    EXPECT_EQ(calibrated.currentDesign.alt_puff, raw.currentDesign.alt_puff);
}

TEST(Recalculate, AnOnlineCurrentDesignKeepsItsFilterVentilations) {
    const auto run = [](bool measured, std::int32_t type) {
        DesignSet set;
        set.currentDesign.tp_perfotype = type;
        set.currentDesign.tp_perfowidth = 1;
        set.currentDesign.tp_perfotrack = 1;
        set.currentDesign.pw_perm = 6000;
        set.currentDesign.tp_onlinevent = 20;
        if (!measured) set.referenceDesign.known &= ~known::bit(KnownBit::FilterVentilation);
        recalculated(set);
        return set.currentDesign.values();
    };
    const DesignValues online = run(true, kOnlineLaser), onlineUncalibrated = run(false, kOnlineLaser);
    EXPECT_EQ(online.stat_fivent, 20);
    EXPECT_EQ(online.iso_fivent, onlineUncalibrated.iso_fivent);
    EXPECT_EQ(online.alt_fivent, onlineUncalibrated.alt_fivent);
    EXPECT_EQ(online.stat_fivent, onlineUncalibrated.stat_fivent);
    const DesignValues macro = run(true, kMacroLaser), macroUncalibrated = run(false, kMacroLaser);
    EXPECT_NE(macro.iso_fivent, macroUncalibrated.iso_fivent);
    EXPECT_NE(macro.stat_fivent, macroUncalibrated.stat_fivent);
}

TEST(Recalculate, ReportsTheOnlineFitErrorsInOrderEveryRun) {
    DesignSet set;
    for (CigaretteDesign* d : {&set.referenceDesign, &set.currentDesign}) {
        d->tp_perfotype = kOnlineLaser;
        d->tp_perfowidth = 1;
        d->tp_perfotrack = 1;
        d->tp_onlinevent = 90;
    }
    EXPECT_EQ(recalculated(set), (std::vector<int>{76, 76}));
    EXPECT_EQ(set.currentDesign.tp_perfoperm, 8000);
    EXPECT_EQ(set.referenceDesign.tp_onlinevent, 90);  // the reference itself is never changed
    // The working reference starts from the reference again; the current design keeps its lowered target.
    for (int run = 0; run < 3; ++run) {
        set.currentDesign.tp_onlinevent = 90;
        EXPECT_EQ(recalculated(set), (std::vector<int>{76, 76}));
    }
}

TEST(Recalculate, LeavesPuffByPuffDataAlone) {
    DesignSet set;
    set.currentDesign.allocatePuffData(3);
    set.currentDesign.puff_nico[1] = 0.25;
    recalculated(set);
    EXPECT_EQ(set.currentDesign.puff_number, 3);
    EXPECT_EQ(set.currentDesign.puff_nico[1], 0.25);
}

// Everything a recalculation leaves in a design, arrays included.
void expectIdentical(const CigaretteDesign& a, const CigaretteDesign& b, const std::string& what) {
    EXPECT_EQ(encodeDesignImage(a), encodeDesignImage(b)) << what;
    for (const OwnedArray& array : ownedArrays())
        EXPECT_EQ(a.*array.member, b.*array.member) << what << " " << array.name;
}

TEST(Recalculate, ItsHalvesAndASerialRunGiveTheWholeBitForBit) {
    // The working reference once, then the current design against it; and the whole recalculation with
    // its tables on the calling thread only: the same results and the same errors in the same order.
    for (const testing::CorpusCase& c : testing::modelCorpus()) {
        DesignSet whole, halves, serial;
        for (DesignSet* set : {&whole, &halves, &serial}) {
            set->referenceDesign.assign(c.reference);
            set->currentDesign.assign(c.current);
        }
        const std::vector<int> wholeErrors = recalculated(whole);
        RecordingErrorReporter halfErrors, serialErrors;
        recalculateWorkingReference(halves.referenceDesign, halves.workingReference, fixtureParameters(),
                                    halfErrors);
        recalculateCurrent(halves.currentDesign, halves.referenceDesign, halves.workingReference,
                           fixtureParameters(), halfErrors);
        recalculate(serial, fixtureParameters(), serialErrors, nullptr, InnerThreads::CallingThread);
        EXPECT_EQ(halfErrors.numbers, wholeErrors) << c.name;
        EXPECT_EQ(serialErrors.numbers, wholeErrors) << c.name;
        for (const DesignSet* other : {&halves, &serial}) {
            expectIdentical(other->workingReference, whole.workingReference, c.name + " working reference");
            expectIdentical(other->currentDesign, whole.currentDesign, c.name + " current");
        }
    }
}

TEST(Calibrate, ScalesByTheRatioOfMeasuredToPredictedWhereTheReferenceKnowsIt) {
    DesignValues reference, working, design;
    reference.known = known::bit(KnownBit::OpenDrawResistance) | known::bit(KnownBit::IsoNicotine);
    reference.stat_pdo = 120;
    reference.iso_nico = 0.8;
    working.stat_pdo = 100;
    working.iso_nico = 0.005;  // below the threshold: no ratio
    working.stat_pdc = 100;
    reference.stat_pdc = 150;  // bit 19 clear: no ratio
    design.stat_pdo = 50;
    design.iso_pdo = 40;
    design.alt_pdo = 30;
    design.iso_nico = 0.6;
    design.stat_pdc = 70;
    calibrate(design, reference, working);
    EXPECT_DOUBLE_EQ(design.stat_pdo, 60);
    EXPECT_DOUBLE_EQ(design.iso_pdo, 48);
    EXPECT_DOUBLE_EQ(design.alt_pdo, 36);
    EXPECT_EQ(design.iso_nico, 0.6);
    EXPECT_EQ(design.stat_pdc, 70);
}

TEST(Calibrate, TheBurnRateFallsBackOnTheInversePuffRatio) {
    DesignValues reference, working, design;
    reference.known = known::bit(KnownBit::IsoPuffNumber);
    reference.iso_puff = 10;
    working.iso_puff = 8;
    design.stat_mbr = 50;
    design.iso_puff = 9;
    calibrate(design, reference, working);
    EXPECT_DOUBLE_EQ(design.stat_mbr, 40);
    EXPECT_DOUBLE_EQ(design.iso_puff, 11.25);
}

}  // namespace
}  // namespace veltrano
