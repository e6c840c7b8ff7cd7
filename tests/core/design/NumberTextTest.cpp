#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "core/design/NumberText.h"

namespace veltrano {
namespace {

TEST(ReadNumber, EntryConventionExamples) {
    const double max = std::numeric_limits<double>::max();
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {" 12.5abc", 12.5},
        {"+5", 5},
        {".5", 0.5},
        {"5.", 5},
        {"1e3", 1000},
        {"1e", 1},
        {"1e+", 1},
        {"nan", 0},
        {"inf", 0},
        {"0x10", 0},
        {"1,5", 1},
        {"", 0},
        {"-", 0},
        {".", 0},
        {"\t -2.25e-1x", -0.225},
        {"  -0", -0.0},
        {"1e400", max},
        {"-1e400", -max},
        {"1e-400", 0},
        {"123456789012345678901234567890e300", max},
        {"0.000e999999999999", 0},
        {"e5", 0},
        {"12 34", 12},
        {"7E2", 700},
        {"\n5", 0},
    };
    for (const auto& c : cases) {
        const double v = readNumber(c.text);
        EXPECT_TRUE(std::isfinite(v)) << c.text;
        EXPECT_EQ(v, c.value) << '"' << c.text << '"';
    }
}

TEST(FormatText, PrintfFormatsWithoutLocale) {
    EXPECT_EQ(formatNumber("%.2f", 12.5), "12.50");
    EXPECT_EQ(formatNumber("%.0f", 2.5), "2");  // round half to even on the exact value, like printf
    EXPECT_EQ(formatNumber("%.0f", 3.5), "4");
    EXPECT_EQ(formatNumber("%.3f", 1.0005), "1.000");  // 1.0005 is stored just below
    EXPECT_EQ(formatNumber("%6.2f", 3.14159), "  3.14");
    EXPECT_EQ(formatNumber("%8.4f", -0.5), " -0.5000");
    EXPECT_EQ(formatNumber("%10.7e", 1234.5), "1.2345000e+03");
    EXPECT_EQ(formatNumber("%10.7e", 0.0), "0.0000000e+00");
    EXPECT_EQ(formatNumber("%.1f", -0.04), "-0.0");
    EXPECT_EQ(formatText("%08X", {0x87FFFFFFLL}), "87FFFFFF");
    EXPECT_EQ(formatText("%08X", {255LL}), "000000FF");
    EXPECT_EQ(formatText("%03i", {-1LL}), "-01");
    EXPECT_EQ(formatText("%i", {2.9}), "2");
    EXPECT_EQ(formatText("Puff #%i data", {3}), "Puff #3 data");
    EXPECT_EQ(formatText("%.0f/%.0f/%.0f/%.0f%%", {35.0, 2.0, 60.0, 0.0}), "35/2/60/0%");
    EXPECT_EQ(formatText("%s - %s", {"veltrano 4.1", "/tmp/a.cig"}), "veltrano 4.1 - /tmp/a.cig");
    EXPECT_EQ(formatText("%4.2f", {4.1}), "4.10");
    EXPECT_EQ(formatText("%-5i|", {7}), "7    |");
    EXPECT_EQ(formatNumber("%.2f", std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(formatNumber("%.2f", -std::numeric_limits<double>::quiet_NaN()), "-nan");
    EXPECT_EQ(formatNumber("%.2f", 1e300).size(), 304u);
    EXPECT_EQ(formatText("%q %i", {5}), "%q 5");
}

TEST(CheckedToInt, ClampsAndTruncates) {
    EXPECT_EQ(checkedToInt(2.9), 2);
    EXPECT_EQ(checkedToInt(-2.9), -2);
    EXPECT_EQ(checkedToInt(std::nan("")), 0);
    EXPECT_EQ(checkedToInt(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(checkedToInt(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(checkedToInt(-std::numeric_limits<double>::infinity()), std::numeric_limits<int>::min());
    EXPECT_EQ(checkedFloorToInt(-2.1), -3);
}

}  // namespace
}  // namespace veltrano
