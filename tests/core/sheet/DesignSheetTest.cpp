#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RichReference.h"

#include "EditorTestSupport.h"
#include "core/design/DesignFields.h"
#include "core/sheet/DesignSheet.h"

namespace veltrano {
namespace {

using testing::richReference;

TEST(DesignSheet, LoadThenStoreOfEveryPageKeepsTheDesign) {
    const ModelParameters mp;
    for (bool isReference : {true, false}) {
        CigaretteDesign target = richReference();
        const DesignImage before = encodeDesignImage(target);
        DesignSheet sheet(target, isReference, mp);
        EXPECT_EQ(sheet.pageCount(), isReference ? 6 : 5);
        for (int page = 0; page < sheet.pageCount(); ++page) EXPECT_TRUE(sheet.displayPage(page));
        EXPECT_FALSE(sheet.displayPage(kYieldsPage + 1));
        RecordingErrorReporter reporter;
        ASSERT_EQ(sheet.confirm(reporter), -1);
        EXPECT_TRUE(reporter.numbers.empty());
        target.assign(sheet.editCopy());
        EXPECT_EQ(encodeDesignImage(target), before) << (isReference ? "reference" : "current design");
    }
}

TEST(DesignSheet, HiddenBoxesOfTheCurrentDesignKeepTheirBits) {
    const ModelParameters mp;
    CigaretteDesign target;
    target.known &= ~(known::bit(KnownBit::TippingLength) | known::bit(KnownBit::PerforationPosition) |
                      known::bit(KnownBit::FilterTotalDenier));
    DesignSheet sheet(target, false, mp);
    EXPECT_EQ(sheet.title(), "Cigarette Design Specification Sheet");
    EXPECT_FALSE(sheet.displayPage(kYieldsPage));  // no such page for the current design
    sheet.displayPage(kTippingPage);
    sheet.displayPage(kFilterPage);
    EXPECT_EQ(sheet.tipping().texts[kTippingLength], "");
    EXPECT_FALSE(TippingPageRules::updateEnabling(sheet.tipping()).field[kTippingLength]);
    sheet.filter().texts[kTotalTiter] = "40000";  // a disabled field's stale text
    RecordingErrorReporter reporter;
    ASSERT_EQ(sheet.confirm(reporter), -1);
    target.assign(sheet.editCopy());
    EXPECT_FALSE(target.isKnown(KnownBit::TippingLength));
    EXPECT_FALSE(target.isKnown(KnownBit::PerforationPosition));
    EXPECT_FALSE(target.isKnown(KnownBit::FilterTotalDenier));
    EXPECT_TRUE(target.isKnown(KnownBit::FilterExponent));
    EXPECT_EQ(target.tp_width, 0);
}

TEST(DesignSheet, ChecksStopAtTheFirstFailingPage) {
    const ModelParameters mp;
    CigaretteDesign target;
    target.ro_totpd = 10;  // the rod page fails too, but later
    DesignSheet sheet(target, true, mp);
    sheet.displayPage(kFilterPage);
    sheet.filter().texts[kFilterRodLength] = "100";
    sheet.filter().texts[kFilterRodPressureDrop] = "10";
    RecordingErrorReporter reporter;
    EXPECT_EQ(sheet.confirm(reporter), kFilterPage);
    EXPECT_EQ(reporter.numbers, (std::vector<int>{21, 62}));

    // Without visiting it, the rod page is checked on the design's own values.
    sheet.displayPage(kFilterPage);
    EXPECT_EQ(sheet.filter().texts[kFilterRodPressureDrop], "10.00");  // reloaded from the copy
    sheet.filter().texts[kFilterRodPressureDrop] = "420";
    reporter.numbers.clear();
    EXPECT_EQ(sheet.confirm(reporter), kRodPage);
    EXPECT_EQ(reporter.numbers, std::vector<int>{27});
}

TEST(DesignSheet, OnlyDisplayedPagesStore) {
    const ModelParameters mp;
    CigaretteDesign target;
    target.cp_bandwidth = 5;  // plain paper: its page would store the empty band field as 0
    target.known &= ~known::bit(KnownBit::TobaccoMass);
    target.ro_totmass = 640;  // and the rod page the empty mass field
    DesignSheet sheet(target, true, mp);
    sheet.displayPage(kTippingPage);
    sheet.tipping().texts[kTippingLength] = "30";
    RecordingErrorReporter reporter;
    ASSERT_EQ(sheet.confirm(reporter), -1);
    target.assign(sheet.editCopy());
    EXPECT_EQ(target.tp_width, 30);
    EXPECT_EQ(target.cp_bandwidth, 5);
    EXPECT_EQ(target.ro_totmass, 640);
}

TEST(DesignSheet, TextsOutliveAShowingForTheOtherPages) {
    const ModelParameters mp;
    CigaretteDesign target;
    DesignSheet sheet(target, true, mp);
    // Before any other page was displayed, the estimator sees empty texts.
    EXPECT_EQ(sheet.startRodEstimator().closedDrawResistance, 130);

    sheet.displayPage(kYieldsPage);
    sheet.yields().texts[kClosedDrawResistance] = "150";
    sheet.displayPage(kTippingPage);
    sheet.tipping().texts[kTippingLength] = "10";
    RecordingErrorReporter reporter;
    ASSERT_EQ(sheet.confirm(reporter), kTippingPage);
    // The next showing opens at the tipping page; the smoke yields page keeps what it last held.
    sheet.displayPage(kTippingPage);
    EXPECT_FALSE(sheet.isDisplayed(kYieldsPage));
    EXPECT_EQ(sheet.startRodEstimator().closedDrawResistance, 150);

    sheet.displayPage(kRodPage);
    RodEstimator estimator = sheet.startRodEstimator();
    sheet.acceptRodEstimate(estimator);  // 150 - 70 on a 60 mm rod measured at 60 mm
    EXPECT_EQ(sheet.rod().texts[kRodPressureDrop], "80.00");

    sheet.displayPage(kYieldsPage);  // reloaded, now with the rod page's texts
    EXPECT_EQ(sheet.yields().texts[kClosedDrawResistance], "150.00");
    EXPECT_EQ(sheet.yields().texts[kLinearBurnRate], "4.80");
}

TEST(RunSheet, ReopensAtTheFailingPageAndCancelLeavesTheTarget) {
    const ModelParameters mp;
    CigaretteDesign target;
    const DesignImage before = encodeDesignImage(target);
    RecordingErrorReporter reporter;
    std::vector<int> shownAt;
    const auto confirmed = runSheet(target, true, mp, reporter, [&](DesignSheet& sheet, int firstPage) {
        shownAt.push_back(firstPage);
        EXPECT_TRUE(sheet.isDisplayed(firstPage));
        if (shownAt.size() > 1) return false;  // Cancel after the failed check
        sheet.displayPage(kPaperPage);
        sheet.paper().texts[kAirPermeability] = "300";
        sheet.paper().texts[kPaperExponent] = "2";
        return true;
    });
    EXPECT_FALSE(confirmed);
    EXPECT_EQ(shownAt, (std::vector<int>{kTippingPage, kPaperPage}));
    EXPECT_EQ(reporter.numbers, (std::vector<int>{12, 13}));
    EXPECT_EQ(encodeDesignImage(target), before);
}

TEST(RunSheet, AConfirmedEditHandsBackTheStoredValues) {
    const ModelParameters mp;
    const CigaretteDesign target;
    RecordingErrorReporter reporter;
    const auto confirmed = runSheet(target, false, mp, reporter, [](DesignSheet& sheet, int) {
        sheet.tipping().texts[kTippingLength] = "29.5";
        return true;
    });
    ASSERT_TRUE(confirmed);
    EXPECT_EQ(confirmed->tp_width, 29.5);
    EXPECT_EQ(confirmed->cp_perm, target.cp_perm);
}

}  // namespace
}  // namespace veltrano
