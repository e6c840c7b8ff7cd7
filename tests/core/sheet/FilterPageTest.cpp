#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "core/sheet/FilterPageRules.h"

namespace veltrano {
namespace {

using Texts = std::vector<std::string>;

TEST(FilterPage, LoadAndStoreFollowTheTitersBoxes) {
    DesignValues d;
    d.known &= ~(known::bit(KnownBit::FilterTotalDenier) | known::bit(KnownBit::FilterFibreDenier));
    FilterPageState page;
    FilterPageRules::loadPage(page, d);
    EXPECT_EQ(page.texts, (Texts{"24.00", "7.90", "144.00", "420.00", "1.00", "", ""}));
    EXPECT_EQ(FilterPageRules::updateEnabling(page).field, (std::vector<bool>{1, 1, 1, 1, 1, 0, 0}));
    EXPECT_EQ(FilterPageRules::updateEnabling(page).help, std::vector<bool>{1});

    // Unchecked titers store 0 and are not checked.
    FilterPageRules::storePage(page, d);
    EXPECT_EQ(d.fi_totden, 0);
    EXPECT_EQ(d.fi_fibden, 0);
    EXPECT_EQ(d.fi_totpd, 420);
    EXPECT_EQ(testing::errorsOf(FilterPageRules::validatePage, d), std::vector<int>{});

    testing::setBox(page, KnownBit::FilterExponent, false);
    EXPECT_EQ(FilterPageRules::updateEnabling(page).help, std::vector<bool>{0});
    FilterPageRules::exponentHelp(page);
    EXPECT_EQ(page.texts[kFilterExponent], "1.00");
}

TEST(FilterPage, ValidationRulesInOrder) {
    auto rod = [](double length, double pressureDrop) {
        return [=](DesignValues& d) {
            d.fi_totlen = length;
            d.fi_totpd = pressureDrop;
        };
    };
    const testing::RuleCase cases[] = {
        {"default design", [](DesignValues&) {}, {}},
        {"0.8 per mm", rod(100, 80), {}},
        {"0.79 per mm", rod(100, 79), {62}},
        {"5 per mm", rod(100, 500), {}},
        {"low pressure drop", rod(100, 10), {21, 62}},
        {"empty rod length", rod(0, 420), {20, 62}},
        {"every rule",
         [](DesignValues& d) {
             d.fi_len = 4.9;
             d.fi_diam = 8.6;
             d.fi_totlen = 4;
             d.fi_totpd = 801;
             d.fi_exponent = 2.4;
             d.fi_fibden = 1.4;
             d.fi_totden = 50001;
         },
         {18, 19, 20, 21, 62, 22, 23, 24}},
    };
    testing::expectRuleCases(FilterPageRules::validatePage, cases);
}

}  // namespace
}  // namespace veltrano
