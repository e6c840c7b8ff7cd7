#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "core/sheet/TippingPageRules.h"

namespace veltrano {
namespace {

using Texts = std::vector<std::string>;

TEST(TippingPage, LoadShowsWhatThePerforationTypeUses) {
    const struct {
        std::int32_t type;
        std::uint32_t clearedBits;
        Texts texts;
    } cases[] = {
        {kElectrostatic, 0, {"32.00", "120", "0.68", "12.00", "3.00", "", "2400", "0.68", ""}},
        {kMicroLaser, 0, {"32.00", "120", "0.68", "12.00", "3.00", "3", "2400", "0.68", ""}},
        {kMacroLaser,
         known::bit(KnownBit::TippingLength) | known::bit(KnownBit::TippingExponent) |
             known::bit(KnownBit::PlugWrapPermeability),
         {"", "120", "", "12.00", "3.00", "3", "", "0.68", ""}},
        {kOnlineLaser, 0, {"32.00", "", "", "12.00", "", "", "", "", "25.50"}},
        {kOnlineLaser,
         known::bit(KnownBit::PerforationPosition),
         {"32.00", "", "", "", "", "", "", "", "25.50"}},
        {kNoPerforation, 0, {"32.00", "", "", "", "", "", "", "", ""}},
    };
    for (const auto& c : cases) {
        DesignValues d;
        d.tp_perfotype = c.type;
        d.tp_perfotrack = 3;
        d.tp_onlinevent = 25.5;
        d.known &= ~c.clearedBits;
        TippingPageState page;
        TippingPageRules::loadPage(page, d);
        EXPECT_EQ(page.texts, c.texts) << "type " << c.type;
        EXPECT_EQ(page.perforationType, c.type);
        EXPECT_EQ(page.boxes, 0x77u & ~c.clearedBits);
    }
}

TEST(TippingPage, EnablingFollowsTypeAndBoxes) {
    using E = std::vector<bool>;
    const struct {
        std::int32_t type;
        std::uint32_t boxes;
        E fields, helps;
    } cases[] = {
        {kNoPerforation, 0x77, {1, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0}},
        {kElectrostatic, 0x77, {1, 1, 1, 1, 1, 0, 1, 1, 0}, {1, 1, 1}},
        {kMacroLaser, 0x77, {1, 1, 1, 1, 1, 1, 1, 1, 0}, {1, 1, 1}},
        {kMacroLaser, 0x00, {0, 1, 0, 0, 0, 1, 0, 0, 0}, {0, 0, 0}},
        {kOnlineLaser, 0x77, {1, 0, 0, 1, 0, 0, 0, 0, 1}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        TippingPageState page;
        page.perforationType = c.type;
        page.boxes = c.boxes;
        const PageEnabling e = TippingPageRules::updateEnabling(page);
        EXPECT_EQ(e.field, c.fields) << "type " << c.type;
        EXPECT_EQ(e.help, c.helps) << "type " << c.type;
    }
}

TippingPageState typedPage(std::int32_t type, Texts texts, std::uint32_t boxes = 0x77) {
    TippingPageState page;
    page.perforationType = type;
    page.texts = std::move(texts);
    page.boxes = boxes;
    return page;
}

TEST(TippingPage, StoreRulesByType) {
    const Texts entries{"30", "450", "0.75", "11.5", "2.5", "2.5", "5000", "0.8", "40"};

    DesignValues none;
    TippingPageRules::storePage(typedPage(kNoPerforation, entries), none);
    EXPECT_EQ(none.tp_width, 30);
    EXPECT_EQ(none.tp_exponent, 1.0);
    EXPECT_EQ(none.tp_perfoperm, 0);
    EXPECT_EQ(none.tp_perfopos, 2.0);
    EXPECT_EQ(none.tp_perfowidth, 0);
    EXPECT_EQ(none.tp_perfotrack, 0);
    EXPECT_EQ(none.pw_exponent, 1.0);
    EXPECT_EQ(none.pw_perm, 0);
    EXPECT_EQ(none.tp_onlinevent, 0);

    DesignValues online;
    TippingPageRules::storePage(typedPage(kOnlineLaser, entries), online);
    EXPECT_EQ(online.tp_perfotype, kOnlineLaser);
    EXPECT_EQ(online.tp_exponent, 0.5);
    EXPECT_EQ(online.tp_perfoperm, 3000);
    EXPECT_EQ(online.tp_perfopos, 11.5);
    EXPECT_EQ(online.tp_perfowidth, 1.0);
    EXPECT_EQ(online.tp_perfotrack, 2.0);
    EXPECT_EQ(online.pw_perm, 30000);
    EXPECT_EQ(online.pw_exponent, 0.6);
    EXPECT_FALSE(online.isKnown(KnownBit::FilterVentilation));
    EXPECT_EQ(online.stat_fivent, 40);
    EXPECT_EQ(online.tp_onlinevent, 40);

    DesignValues macro;
    TippingPageRules::storePage(typedPage(kMacroLaser, entries), macro);
    EXPECT_EQ(macro.tp_perfoperm, 450);
    EXPECT_EQ(macro.tp_exponent, 0.75);
    EXPECT_EQ(macro.tp_perfowidth, 2.5);
    EXPECT_EQ(macro.pw_perm, 5000);
    EXPECT_EQ(macro.tp_perfotrack, 3);  // halves round up
    EXPECT_EQ(macro.tp_onlinevent, 0);
    EXPECT_TRUE(macro.isKnown(KnownBit::FilterVentilation));

    const struct {
        std::int32_t type;
        const char* tracks;
        double stored;
    } tracks[] = {
        {kMicroLaser, "2.49", 2}, {kMicroLaser, "2.5", 3}, {kMacroLaser, "abc", 0}, {kElectrostatic, "4", 0}};
    for (const auto& t : tracks) {
        Texts texts = entries;
        texts[kPerforationTracks] = t.tracks;
        DesignValues d;
        TippingPageRules::storePage(typedPage(t.type, texts), d);
        EXPECT_EQ(d.tp_perfotrack, t.stored) << t.tracks;
    }
}

TEST(TippingPage, StoreWritesOnlyItsOwnBits) {
    DesignValues d;
    d.known = 0xFFFFFFFFu;
    // Boxes cleared: their fields are empty and store 0; bits 3, 12 and 31 have no box.
    TippingPageRules::storePage(typedPage(kElectrostatic, Texts(kTippingFieldCount), 0), d);
    EXPECT_EQ(d.known, 0xFFFFFFFFu & ~0x77u);
    EXPECT_EQ(d.tp_width, 0);
    EXPECT_EQ(d.pw_perm, 0);
}

TEST(TippingPage, ValidationRulesInOrder) {
    // Online perforation as the page stores it (two tracks) with a targeted ventilation.
    auto online = [](double target) {
        return [=](DesignValues& d) {
            d.tp_perfotype = kOnlineLaser;
            d.tp_perfotrack = 2;
            d.tp_onlinevent = target;
        };
    };
    const testing::RuleCase cases[] = {
        {"default design", [](DesignValues&) {}, {}},
        {"too short", [](DesignValues& d) { d.tp_width = 14.9; }, {1, 9}},
        {"1 mm over the plug", [](DesignValues& d) { d.tp_width = 25; }, {}},
        {"under the plug", [](DesignValues& d) { d.tp_width = 24.9; }, {9}},
        {"1 mm short of the cigarette",
         [](DesignValues& d) {
             d.ro_len = 20;
             d.tp_width = 43;
             d.tp_perfopos = 12;
         },
         {}},
        {"reaches the cigarette end",
         [](DesignValues& d) {
             d.ro_len = 20;
             d.tp_width = 43.5;
         },
         {8}},
        {"length unknown",
         [](DesignValues& d) {
             d.known &= ~known::bit(KnownBit::TippingLength);
             d.tp_width = 90;
         },
         {}},
        // A position is judged on the stored paper even when its length box is clear (stored 0).
        {"position on an unknown paper",
         [](DesignValues& d) {
             d.known &= ~0x3u;
             d.tp_width = d.tp_perfowidth = 0;
         },
         {5}},
        {"none checks the length only",
         [](DesignValues& d) {
             d.tp_perfotype = kNoPerforation;
             d.tp_perfoperm = 9000;
             d.pw_exponent = 5;
         },
         {}},
        {"two failures",
         [](DesignValues& d) {
             d.tp_perfoperm = 8001;
             d.pw_exponent = 1.31;
         },
         {2, 11}},
        {"exponent", [](DesignValues& d) { d.tp_exponent = 0.29; }, {3}},
        {"width", [](DesignValues& d) { d.tp_perfowidth = 10.5; }, {4}},
        {"near the tipping edge", [](DesignValues& d) { d.tp_perfopos = 2.4; }, {5}},
        {"near the filter end", [](DesignValues& d) { d.tp_perfopos = 21.6; }, {7}},
        {"micro laser without tracks", [](DesignValues& d) { d.tp_perfotype = kMicroLaser; }, {6}},
        {"electrostatic needs no tracks", [](DesignValues& d) { d.tp_perfotrack = 0; }, {}},
        {"plug wrap", [](DesignValues& d) { d.pw_perm = 30001; }, {10}},
        {"online target 15", online(15), {}},
        {"online target 85", online(85), {}},
        {"online target low", online(14.99), {75}},
        {"online target high", online(85.01), {75}},
    };
    testing::expectRuleCases(TippingPageRules::validatePage, cases);
}

TEST(TippingPage, HelpButtons) {
    const struct {
        std::int32_t type;
        const char* exponent;
    } exponents[] = {
        {kElectrostatic, "0.80"}, {kMicroLaser, "0.70"}, {kMacroLaser, "0.55"}, {kNoPerforation, "1.0"}};
    for (const auto& c : exponents) {
        TippingPageState page = typedPage(c.type, Texts(kTippingFieldCount));
        TippingPageRules::perforationExponentHelp(page);
        EXPECT_EQ(page.texts[kPerforationExponent], c.exponent);
    }

    const struct {
        const char *permeability, *width, *grade;
    } grades[] = {
        {"480", "4", "10000"},   // 480 * 80 / 4 = 9600
        {"480", "12", "6000"},   // width out of range: 480 * 12 = 5760
        {"600", "4", "12000"},   // exactly a grade
        {"2000", "4", "26000"},  // beyond every grade
        {"", "", "3300"},
    };
    for (const auto& c : grades) {
        TippingPageState page = typedPage(kMacroLaser, Texts(kTippingFieldCount));
        page.texts[kPerforationPermeability] = c.permeability;
        page.texts[kPerforationWidth] = c.width;
        page.texts[kTippingLength] = "31.5";
        TippingPageRules::plugWrapPermeabilityHelp(page);
        EXPECT_EQ(page.texts[kPlugWrapPermeability], c.grade)
            << c.permeability << " CU, " << c.width << " mm";
        EXPECT_EQ(page.texts[kTippingLength], "31.5");  // the other entries stay
    }

    TippingPageState page = typedPage(kMacroLaser, Texts(kTippingFieldCount));
    page.texts[kPlugWrapPermeability] = "11999";
    TippingPageRules::plugWrapExponentHelp(page);
    EXPECT_EQ(page.texts[kPlugWrapExponent], "0.9");
    page.texts[kPlugWrapPermeability] = "12000";
    TippingPageRules::plugWrapExponentHelp(page);
    EXPECT_EQ(page.texts[kPlugWrapExponent], "0.85");
}

}  // namespace
}  // namespace veltrano
