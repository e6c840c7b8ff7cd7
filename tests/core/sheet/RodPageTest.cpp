#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "core/sheet/RodEstimator.h"
#include "core/sheet/RodPageRules.h"

namespace veltrano {
namespace {

using Texts = std::vector<std::string>;

TEST(RodPage, LoadStoreAndValidation) {
    DesignValues d;
    d.known &= ~known::bit(KnownBit::TobaccoMass);
    RodPageState page;
    RodPageRules::loadPage(page, d);
    EXPECT_EQ(page.texts, (Texts{"60.00", "60.00", "60.00", "1.20", ""}));
    EXPECT_EQ(RodPageRules::updateEnabling(page).field, (std::vector<bool>{1, 1, 1, 1, 0}));
    RodPageRules::exponentHelp(page);
    EXPECT_EQ(page.texts[kRodExponent], "1.20");
    EXPECT_TRUE(RodPageRules::helps()[kRodEstimatorHelp].referenceOnly);

    page.texts = {"50", "70", "45.5", "1.3", "900"};
    testing::setBox(page, KnownBit::TobaccoMass, true);
    RodPageRules::storePage(page, d);
    EXPECT_EQ(d.ro_len, 50);
    EXPECT_EQ(d.ro_totlen, 70);
    EXPECT_EQ(d.ro_totpd, 45.5);
    EXPECT_EQ(d.ro_exponent, 1.3);
    EXPECT_EQ(d.ro_totmass, 900);
    EXPECT_TRUE(d.isKnown(KnownBit::TobaccoMass));

    const testing::RuleCase cases[] = {
        {"default design", [](DesignValues&) {}, {}},
        {"every rule",
         [](DesignValues& d) {
             d.fi_len = 20;
             d.ro_len = 29;
             d.ro_totlen = 151;
             d.ro_totpd = 19;
             d.ro_exponent = 0.6;
             d.ro_totmass = 3001;
         },
         {25, 26, 27, 28, 29, 30}},
        {"cigarette too long", [](DesignValues& d) { d.ro_len = 101.5; }, {28}},
        {"unknown exponent and mass",
         [](DesignValues& d) {
             d.known &= ~0x30000u;
             d.ro_exponent = 0;
             d.ro_totmass = 0;
         },
         {}},
    };
    testing::expectRuleCases(RodPageRules::validatePage, cases);
}

// The estimator started from pages that were never displayed: every text is empty.
RodEstimator estimatorOfUndisplayedPages() {
    return RodEstimator(FilterPageState{}, PaperPageState{}, YieldsPageState{});
}

TEST(RodEstimator, StartValuesFromTheOtherPagesTexts) {
    const RodEstimator fresh = estimatorOfUndisplayedPages();
    EXPECT_EQ(fresh.plugPressureDrop, 70);
    EXPECT_EQ(fresh.paperPermeability, 0);  // an empty text is 0, which lies in range
    EXPECT_EQ(fresh.filterVentilation, 0);
    EXPECT_EQ(fresh.openDrawResistance, 120);
    EXPECT_EQ(fresh.closedDrawResistance, 130);
    EXPECT_EQ(fresh.texts,
              (std::array<std::string, kEstimatorFieldCount>{"70.00", "130.00", "70.00", "120.00", "0.00"}));
    EXPECT_EQ(fresh.estimateText, "");
    EXPECT_EQ(fresh.method(), 1);

    FilterPageState filter;
    filter.texts[kPlugLength] = "24";
    filter.texts[kFilterRodLength] = "144";
    filter.texts[kFilterRodPressureDrop] = "420";
    PaperPageState paper;
    paper.texts[kAirPermeability] = "221";
    YieldsPageState yields;
    yields.texts[kFilterVentilation] = "99.9991";
    yields.texts[kOpenDrawResistance] = "110";
    yields.texts[kClosedDrawResistance] = "301";
    const RodEstimator started(filter, paper, yields);
    EXPECT_EQ(started.plugPressureDrop, 70);  // 420 * 24 / 144
    EXPECT_EQ(started.paperPermeability, 50);
    EXPECT_EQ(started.filterVentilation, 15);
    EXPECT_EQ(started.openDrawResistance, 110);
    EXPECT_EQ(started.closedDrawResistance, 130);

    filter.texts[kPlugLength] = "4";  // a plug out of range: the whole rod's pressure drop
    filter.texts[kFilterRodPressureDrop] = "500";
    EXPECT_EQ(RodEstimator(filter, paper, yields).plugPressureDrop, 500);
}

TEST(RodEstimator, BothMethods) {
    const struct {
        int method;
        std::array<std::string, kEstimatorFieldCount> texts;
        double permeability;
        const char* estimate;
    } cases[] = {
        {1, {"70", "130", "", "", ""}, 0, "60.00"},
        {1, {"140", "130", "", "", ""}, 0, "0.00"},  // plug above closed
        {1, {"70", "95", "", "", ""}, 0, "0.00"},    // an estimate of 25 is none
        {1, {"70", "301", "", "", ""}, 0, "0.00"},
        {2, {"", "", "70", "120", "20"}, 50, "76.92"},  // (120 - 35) * 100 / 80 - 35 + 5.6675825
        {2, {"", "", "70", "120", "100"}, 50, "0.00"},
        {2, {"", "", "301", "120", "20"}, 50, "0.00"},
    };
    for (const auto& c : cases) {
        RodEstimator e = estimatorOfUndisplayedPages();
        e.paperPermeability = c.permeability;
        e.selectMethod(c.method);
        e.texts = c.texts;
        e.recompute();
        EXPECT_EQ(e.estimateText, c.estimate) << "method " << c.method << ": " << c.texts[0] << c.texts[2];
    }
}

TEST(RodEstimator, NearFullVentilationKeepsThePreviousEstimate) {
    RodEstimator e = estimatorOfUndisplayedPages();
    e.selectMethod(2);
    e.paperPermeability = 50;
    e.texts[kMethod2Plug] = "70";
    e.texts[kMethod2Open] = "120";
    e.texts[kMethod2Ventilation] = "20";
    e.recompute();
    e.texts[kMethod2Ventilation] = "99.9995";
    e.recompute();
    EXPECT_EQ(e.estimateText, "76.92");
    EXPECT_FALSE(e.fieldEnabled(kMethod1Closed));
    EXPECT_TRUE(e.fieldEnabled(kMethod2Ventilation));
    // Both plug fields show the one plug pressure drop.
    EXPECT_EQ(e.texts[kMethod1Plug], "70");
}

TEST(RodEstimator, AcceptScalesToTheMeasuredRod) {
    const struct {
        const char *onCigarette, *measured, *written;
    } cases[] = {{"60", "120", "120.00"}, {"60", "150", "60.00"}, {"", "", "60.00"}};
    for (const auto& c : cases) {
        RodEstimator e = estimatorOfUndisplayedPages();
        e.texts[kMethod1Closed] = "130";
        RodPageState rod;
        rod.texts[kRodLength] = c.onCigarette;
        rod.texts[kMeasuredRodLength] = c.measured;
        e.accept(rod);
        EXPECT_EQ(rod.texts[kRodPressureDrop], c.written) << c.onCigarette << " / " << c.measured;
        EXPECT_EQ(rod.texts[kRodLength], c.onCigarette);
    }
}

}  // namespace
}  // namespace veltrano
