#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "core/sheet/RegimePageRules.h"

namespace veltrano {
namespace {

using Texts = std::vector<std::string>;

TEST(RegimePage, PresetIndexMatchesExactly) {
    const struct {
        double volume, duration, interval, blocking;
        int preset;
    } cases[] = {
        {35, 2, 60, 0, 1},  {35, 2, 60, 0.5, 0}, {35, 2, 30, 0, 2},   {55, 2, 30, 50, 3},
        {60, 2, 30, 50, 4}, {45, 2, 30, 100, 5}, {55, 2, 30, 100, 6}, {55, 2.0000001, 30, 100, 0},
    };
    for (const auto& c : cases) {
        DesignValues d;
        d.alt_volume = c.volume;
        d.alt_duration = c.duration;
        d.alt_interval = c.interval;
        d.alt_blocking = c.blocking;
        EXPECT_EQ(presetIndex(d), c.preset)
            << c.volume << "/" << c.duration << "/" << c.interval << "/" << c.blocking;
    }
}

TEST(RegimePage, PresetsWriteTheirTextsAndOtherKeepsThem) {
    DesignValues d;
    d.alt_blocking = 0.5;
    RegimePageState page;
    RegimePageRules::loadPage(page, d);
    EXPECT_EQ(page.preset, 0);
    EXPECT_EQ(page.shapeButton, -1);
    EXPECT_EQ(page.texts, (Texts{"35.00", "2.00", "60.00", "0.50"}));
    EXPECT_EQ(RegimePageRules::updateEnabling(page).field, std::vector<bool>(4, true));

    RegimePageRules::selectPreset(page, 5);
    EXPECT_EQ(page.texts, (Texts{"45.00", "2.00", "30.00", "100.00"}));
    EXPECT_EQ(RegimePageRules::updateEnabling(page).field, std::vector<bool>(4, false));
    RegimePageRules::selectPreset(page, 0);
    EXPECT_EQ(page.texts, (Texts{"45.00", "2.00", "30.00", "100.00"}));
    EXPECT_EQ(RegimePageRules::updateEnabling(page).field, std::vector<bool>(4, true));

    RegimePageRules::storePage(page, d);
    EXPECT_EQ(d.alt_volume, 45);
    EXPECT_EQ(d.alt_interval, 30);
    EXPECT_EQ(d.alt_blocking, 100);
}

TEST(RegimePage, ShapeButtonsAndFilesReplaceThePagesShape) {
    DesignValues d;
    d.alt_profile.fill(0.75);
    d.alt_profpnts = 400;
    RegimePageState page;
    RegimePageRules::loadPage(page, d);
    EXPECT_EQ(page.shape.count, 400);
    EXPECT_EQ(page.preview[0], 120);

    RegimePageRules::selectShape(page, BuiltInShape::Ramp);
    EXPECT_EQ(page.shapeButton, static_cast<int>(BuiltInShape::Ramp));
    EXPECT_EQ(page.preview[0], 0);
    EXPECT_EQ(page.preview[119], 120);

    RecordingErrorReporter reporter;
    EXPECT_FALSE(RegimePageRules::loadShapeFile(page, "/nonexistent/shape.txt", reporter));
    const std::string path = ::testing::TempDir() + "regime_one_point.txt";
    std::ofstream(path) << "1\n";
    EXPECT_FALSE(RegimePageRules::loadShapeFile(page, path, reporter));
    EXPECT_EQ(reporter.numbers, (std::vector<int>{50, 51}));
    EXPECT_EQ(page.shape.count, 2);  // still the ramp

    std::ofstream(path) << "1\n2\n4\n";
    EXPECT_TRUE(RegimePageRules::loadShapeFile(page, path, reporter));
    EXPECT_EQ(page.shapeButton, static_cast<int>(BuiltInShape::Ramp));  // the buttons stay as they were
    EXPECT_EQ(page.preview[0], 30);

    RegimePageRules::storePage(page, d);
    EXPECT_EQ(d.alt_profpnts, 3);
    EXPECT_EQ(d.alt_profile[0], 0.25);
    EXPECT_EQ(d.alt_profile[2], 1.0);
    EXPECT_EQ(d.alt_profile[3], 0.0);  // unused slots are cleared
}

TEST(RegimePage, AStoredPointCountOutsideItsRangeIsReadWithinIt) {
    DesignValues d;
    d.alt_profpnts = 100000;
    RegimePageState page;
    RegimePageRules::loadPage(page, d);
    EXPECT_EQ(page.shape.count, 400);
    d.alt_profpnts = -3;
    RegimePageRules::loadPage(page, d);
    EXPECT_EQ(page.shape.count, 2);
}

TEST(RegimePage, ValidationRulesInOrder) {
    const testing::RuleCase cases[] = {
        {"default design", [](DesignValues&) {}, {}},
        {"limits",
         [](DesignValues& d) {
             d.alt_volume = 100;
             d.alt_duration = 0.5;
             d.alt_interval = 180;
             d.alt_blocking = 100;
         },
         {}},
        {"every rule",
         [](DesignValues& d) {
             d.alt_volume = 9.99;
             d.alt_duration = 8.01;
             d.alt_interval = 9;
             d.alt_blocking = -1;
         },
         {46, 47, 48, 49}},
        {"interval", [](DesignValues& d) { d.alt_interval = 181; }, {48}},
    };
    testing::expectRuleCases(RegimePageRules::validatePage, cases);
}

}  // namespace
}  // namespace veltrano
