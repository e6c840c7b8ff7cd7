#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "core/design/ErrorMessages.h"

namespace veltrano {
namespace {

// The 81 slots as users have always read them, slips included; unused slots are empty.
const char* const kExpected[81] = {
    "Error 001: The tipping paper length has to be between 15 mm and 80 mm.",
    "Error 002: The tipping paper permeability has to be between 0 CU and 8000 CU.",
    "Error 003: The tipping paper exponent has to be between 0.3 and 1.3.",
    "Error 004: The width of the perforation has to be between 0.1 and 10.0 mm.",
    "Error 005: The perforation has to be at least 1 mm from the tipping paper edges.",
    "Error 006: The number of perforation tracks has to be between 1 and 8.",
    "Error 007: The perforation has to be at least 1 mm from the filter end.",
    "Error 008: The tipping length must be smaller than the cigarette length by at least 1 mm.",
    "Error 009: The tipping must be at least 1 mm wider than the filter length.",
    "Error 010: The plug wrap paper permeability must be between 0 CU and 30000 CU.",
    "Error 011: The plug wrap paper exponent has to be between 0.3 and 1.3.",
    "Error 012: The cigarette paper permeability has to be between 0 CU and 220 CU.",
    "Error 013: The cigarette paper exponent has to be between 0.3 and 1.3.",
    "Error 014: The citrate content must be between 0% and 2%.",
    "Error 015: The cigarette paper diffusion capacity has to between 0 cm/s and 3.5 cm/s.",
    "Error 016: The cigarette paper basis weight has to be between 15 g/m² and 45 g/m².",
    "Error 017: The cigarette paper filler content has to be between 5% and 35%.",
    "Error 018: The filter plug length has to be between 5 mm and 45 mm.",
    "Error 019: The filter diameter has to be between 2.5 mm and 8.5 mm.",
    "Error 020: The filter rod length has to be between 5 mm and 200 mm.",
    "Error 021: The filter rod pressure drop has to be between 15 mm H2O and 800 mm H2O.",
    "Error 022: The filter pressure drop exponent has to be between 0.7 and 2.3.",
    "Error 023: The filter fiber titer has to be between 1.5 den and 8.0 den.",
    "Error 024: The total titer has to be between 20000 den and 50000 den.",
    "Error 025: The tobacco rod on the cigarette has to be at least 30 mm long.",
    "Error 026: The tobacco rod (measurement) has to be between 30 mm and 150 mm long.",
    "Error 027: The tobacco rod pressure drop has to be between 20 mm H2O and 300 mm H2O.",
    "Error 028: The total cigarette length (filter+rod) has to be between 50 mm and 125 mm.",
    "Error 029: The rod pressure drop exponent has to be between 0.7 and 2.3.",
    "Error 030: The tobacco rod mass has to be between 300 mg and 3000 mg.",
    "",
    "Error 032: The open draw resistance has to be between 30 mm H2O and 300 mm H2O.",
    "Error 033: The closed draw resistance has to be between 30 mm H2O and 300 mm H2O.",
    "Error 034: The degree of filter ventilation has to be between 0% and 100%.",
    "Error 035: The degree of rod ventilation has to be between 0% and 100%.",
    "Error 036: The sum of filter and rod ventilation has to be between 0% and 100%.",
    "Error 037: The mass burn rate has to be between 10 mg/min and 200 mg/min.",
    "Error 038: The ISO puff number has to be between 1 and 30.",
    "Error 039: The ISO 'tar' value (NFDPM) has to be between 0.1 mg/cig and 50 mg/cig.",
    "Error 040: The ISO nicotine value has to be between 0.01 mg/cig and 10 mg/cig.",
    "Error 041: The ISO carbon monoxide value (CO) has to be between 0.1 mg/cig and 80 mg/cig.",
    "Error 042: The alternative puff number has to be between 1 and 30.",
    "Error 043: The alternative 'tar' value (NFDPM) has to be between 0.1 mg/cig and 50 mg/cig.",
    "Error 044: The alternative nicotine value has to be between 0.01 mg/cig and 10 mg/cig.",
    "Error 045: The alternative carbon monoxide value (CO) has to be between 0.1 mg/cig and 80 mg/cig.",
    "Error 046: The puff volume has to be between 10 cm³ and 100 cm³.",
    "Error 047: The puff duration has to be between 0.5 s and 8.0 s.",
    "Error 048: The puff interval has to be between 10 s and 180 s.",
    "Error 049: The value for ventilation blocking has to be between 0% and 100%.",
    "Error 050: The specified puff shape file could not be opened for reading.",
    "Error 051: The puff shape file must contain at least two data points.",
    "Error 052: The cigarette file could not be opened for writing.",
    "Error 053: The cigarette design could not be written to the specified file.",
    "Error 054: The cigarette file could not be opened for reading.",
    "Error 055: This file does not contain cigarette data.",
    "Error 056: No appropriate tipping/plug wrap combination was found.",
    "Error 057: No appropriate tipping paper permeability was found.",
    "Error 058: No approproate degree of filter ventilation was found.",
    "Error 059: Unknown identifier LIST_xxx. This is a program error.",
    "Error 060: No appropriate cigarette paper permeability was found.",
    "",
    "Error 062: The filter pressure drop per length has to be between 0.8 mmH2O/mm and 5.0 mmH2O/mm.",
    // clang-format off
    "Error 063: More than the available tobacco is consumed during smouldering. Adjust puff number and/or burn rate.",
    // clang-format on
    "Error 064: The printer device context could not be obtained.",
    "Error 065: The printer device context handle could not be obtained.",
    "Error 066: StartDoc() failed.",
    "Error 067: StartPage() failed.",
    "Error 068: EndPage() failed.",
    "Error 069: EndDoc() failed.",
    "",
    "",
    "",
    "Error 073: The file could not be opened.",
    "Error 074: The file does not contain Veltrano 3.xx data.",
    "Error 075: The target ventilation has to be between 15% and 85%.",
    "Error 076: Targeted ventilation out of accessible range. Value set to maximum.",
    "Error 077: No appropriate ventilation parameters could be found.",
    "Error 078: The width of the band has to be between 1 mm and 50 mm.",
    "Error 079: The space between bands has to be between 1 mm and 99 mm",
    "Error 080: The air permeability of the band has to be between 0 CU and 220 CU.",
    "Error 081: The diffusion capacity of the band has to be between 0 cm/s and 3.5 cm/s",
};

TEST(ErrorMessages, EverySlotMatchesByteForByte) {
    for (int n = 1; n <= 81; ++n) {
        ASSERT_TRUE(errorMessage(n).has_value()) << n;
        EXPECT_EQ(*errorMessage(n), kExpected[n - 1]) << n;
        if (*errorMessage(n) != "") {
            char prefix[16];
            std::snprintf(prefix, sizeof prefix, "Error %03d:", n);
            EXPECT_EQ(errorMessage(n)->rfind(prefix, 0), 0u) << n;
        }
    }
}

TEST(ErrorMessages, ZeroAndUnknownNumbers) {
    EXPECT_FALSE(errorMessage(0).has_value());
    EXPECT_EQ(*errorMessage(82), "Unknown error : 082");
    EXPECT_EQ(*errorMessage(-1), "Unknown error : -01");
    EXPECT_EQ(*errorMessage(1234), "Unknown error : 1234");

    RecordingErrorReporter reporter;
    EXPECT_EQ(ReportError(reporter, 0), -1);
    EXPECT_TRUE(reporter.numbers.empty());
    EXPECT_EQ(ReportError(reporter, 55), 1);
    EXPECT_EQ(ReportError(reporter, 82), 1);
    EXPECT_EQ(reporter.numbers, (std::vector<int>{55, 82}));
}

}  // namespace
}  // namespace veltrano
