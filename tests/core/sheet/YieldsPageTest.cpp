#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "core/sheet/YieldsPageRules.h"

namespace veltrano {
namespace {

using Texts = std::vector<std::string>;

RodPageState rodTexts(const char* measuredLength, const char* mass) {
    RodPageState rod;
    rod.texts[kMeasuredRodLength] = measuredLength;
    rod.texts[kTobaccoMass] = mass;
    return rod;
}

TEST(YieldsPage, LoadShowsKnownValuesAndTheLinearBurnRate) {
    DesignValues d;
    d.stat_mbr = 50;
    d.known &= ~known::bit(KnownBit::ClosedDrawResistance);
    YieldsPageState page;
    YieldsPageRules::loadPage(page, d, rodTexts("60", "750"));
    EXPECT_EQ(page.texts, (Texts{"116.00", "", "13.00", "10.00", "50.00", "4.00", "8.00", "11.00", "0.70",
                                 "13.00", "", "", "", ""}));
    EXPECT_EQ(page.massPerLength, 12.5);
    EXPECT_EQ(page.boxes, 0x07F40000u);
    const PageEnabling e = YieldsPageRules::updateEnabling(page);
    EXPECT_EQ(e.field, (std::vector<bool>{1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0}));

    // A rod page that was never displayed has no mass per length.
    YieldsPageRules::loadPage(page, d, RodPageState{});
    EXPECT_EQ(page.texts[kLinearBurnRate], "");
    EXPECT_EQ(page.massPerLength, -1);
    EXPECT_FALSE(YieldsPageRules::updateEnabling(page).field[kLinearBurnRate]);
}

TEST(YieldsPage, BurnRateConversions) {
    EXPECT_EQ(massPerLength(rodTexts("60", "750")), 12.5);
    EXPECT_EQ(massPerLength(rodTexts("29.9", "750")), -1);
    EXPECT_EQ(massPerLength(rodTexts("150", "3000")), 20);
    EXPECT_EQ(massPerLength(rodTexts("60", "200")), -1);

    YieldsPageState page;
    testing::setBox(page, KnownBit::StaticBurnRate, true);
    const RodPageState rod = rodTexts("60", "750");
    page.texts[kMassBurnRate] = "50";
    YieldsPageRules::massToLinear(page, rod);
    EXPECT_EQ(page.texts[kLinearBurnRate], "4.00");
    page.texts[kLinearBurnRate] = "5";
    YieldsPageRules::linearToMass(page, rod);
    EXPECT_EQ(page.texts[kMassBurnRate], "62.50");
    EXPECT_TRUE(YieldsPageRules::updateEnabling(page).field[kLinearBurnRate]);

    // The tobacco mass changed to 200 mg on the rod page: the mass burn rate empties, linear disables.
    YieldsPageRules::linearToMass(page, rodTexts("60", "200"));
    EXPECT_EQ(page.texts[kMassBurnRate], "");
    EXPECT_FALSE(YieldsPageRules::updateEnabling(page).field[kLinearBurnRate]);
}

TEST(YieldsPage, OnlinePerforationStoresTheTargetedVentilation) {
    YieldsPageState page;
    DesignValues loaded;
    YieldsPageRules::loadPage(page, loaded, RodPageState{});
    page.texts[kFilterVentilation] = "70";
    page.texts[kLinearBurnRate] = "999";

    DesignValues online;
    online.tp_perfotype = kOnlineLaser;
    online.tp_onlinevent = 42.5;
    YieldsPageRules::storePage(page, online);
    EXPECT_FALSE(online.isKnown(KnownBit::FilterVentilation));
    EXPECT_EQ(online.stat_fivent, 42.5);
    EXPECT_EQ(online.stat_mbr, 60);  // the linear burn rate is not stored

    DesignValues laser;
    YieldsPageRules::storePage(page, laser);
    EXPECT_TRUE(laser.isKnown(KnownBit::FilterVentilation));
    EXPECT_EQ(laser.stat_fivent, 70);
}

TEST(YieldsPage, ValidationRulesInOrder) {
    // 84 mm cigarette: rod 60 mm, filter 24 mm, tipping 28 mm, so a 32 mm butt; 750 mg on a 60 mm rod.
    auto balance = [](double burnRate) {
        return [=](DesignValues& d) {
            d.tp_width = 28;
            d.iso_puff = 9;
            d.stat_mbr = burnRate;
        };
    };
    const testing::RuleCase cases[] = {
        {"default design", [](DesignValues&) {}, {}},
        {"ventilation sum",
         [](DesignValues& d) {
             d.stat_fivent = 60;
             d.stat_rovent = 40;
         },
         {36}},
        {"ventilation sum just below",
         [](DesignValues& d) {
             d.stat_fivent = 60;
             d.stat_rovent = 39.9;
         },
         {}},
        {"649.6 mg of 650", balance(84), {}},
        {"657.3 mg of 650", balance(85), {63}},
        {"balance needs the burn rate",
         [&](DesignValues& d) {
             balance(85)(d);
             d.known &= ~known::bit(KnownBit::StaticBurnRate);
         },
         {}},
        // An unknown tobacco mass counts with the model's 750 mg, not with the 0 its empty field stored.
        {"unknown tobacco mass",
         [&](DesignValues& d) {
             balance(84)(d);
             d.known &= ~known::bit(KnownBit::TobaccoMass);
             d.ro_totmass = 0;
         },
         {}},
        {"puff number and balance",
         [&](DesignValues& d) {
             balance(85)(d);
             d.iso_puff = 31;
         },
         {38, 63}},
        {"every range",
         [](DesignValues& d) {
             d.known |= 0x78000000u;
             d.stat_pdo = 29;
             d.stat_pdc = 301;
             d.stat_fivent = 100;
             d.stat_rovent = -1;
             d.stat_mbr = 9;
             d.iso_puff = 0.5;
             d.iso_nfdpm = 51;
             d.iso_nico = 0.009;
             d.iso_co = 81;
             d.alt_puff = 31;
             d.alt_nfdpm = 0.09;
             d.alt_nico = 11;
             d.alt_co = 0.09;
         },
         {32, 33, 34, 35, 37, 38, 39, 40, 41, 42, 43, 44, 45}},
        {"unknown values",
         [](DesignValues& d) {
             d.known &= ~0x7FFC0000u;
             d.stat_pdo = 0;
             d.iso_puff = 0;
         },
         {}},
    };
    const ModelParameters mp;
    auto validate = [&mp](const DesignValues& d, ErrorReporter& r) {
        return YieldsPageRules::validatePage(d, mp, r);
    };
    testing::expectRuleCases(validate, cases);
}

}  // namespace
}  // namespace veltrano
