#include "core/design/ErrorMessages.h"

#include <array>

#include "core/design/NumberText.h"

namespace veltrano {

namespace {

struct Slot {
    int number;
    const char* text;
};

// Texts exactly as users of every earlier version have seen them, slips included.
constexpr Slot kMessages[] = {
    {1, "Error 001: The tipping paper length has to be between 15 mm and 80 mm."},
    {2, "Error 002: The tipping paper permeability has to be between 0 CU and 8000 CU."},
    {3, "Error 003: The tipping paper exponent has to be between 0.3 and 1.3."},
    {4, "Error 004: The width of the perforation has to be between 0.1 and 10.0 mm."},
    {5, "Error 005: The perforation has to be at least 1 mm from the tipping paper edges."},
    {6, "Error 006: The number of perforation tracks has to be between 1 and 8."},
    {7, "Error 007: The perforation has to be at least 1 mm from the filter end."},
    {8, "Error 008: The tipping length must be smaller than the cigarette length by at least 1 mm."},
    {9, "Error 009: The tipping must be at least 1 mm wider than the filter length."},
    {10, "Error 010: The plug wrap paper permeability must be between 0 CU and 30000 CU."},
    {11, "Error 011: The plug wrap paper exponent has to be between 0.3 and 1.3."},
    {12, "Error 012: The cigarette paper permeability has to be between 0 CU and 220 CU."},
    {13, "Error 013: The cigarette paper exponent has to be between 0.3 and 1.3."},
    {14, "Error 014: The citrate content must be between 0% and 2%."},
    {15, "Error 015: The cigarette paper diffusion capacity has to between 0 cm/s and 3.5 cm/s."},
    {16, "Error 016: The cigarette paper basis weight has to be between 15 g/m² and 45 g/m²."},
    {17, "Error 017: The cigarette paper filler content has to be between 5% and 35%."},
    {18, "Error 018: The filter plug length has to be between 5 mm and 45 mm."},
    {19, "Error 019: The filter diameter has to be between 2.5 mm and 8.5 mm."},
    {20, "Error 020: The filter rod length has to be between 5 mm and 200 mm."},
    {21, "Error 021: The filter rod pressure drop has to be between 15 mm H2O and 800 mm H2O."},
    {22, "Error 022: The filter pressure drop exponent has to be between 0.7 and 2.3."},
    {23, "Error 023: The filter fiber titer has to be between 1.5 den and 8.0 den."},
    {24, "Error 024: The total titer has to be between 20000 den and 50000 den."},
    {25, "Error 025: The tobacco rod on the cigarette has to be at least 30 mm long."},
    {26, "Error 026: The tobacco rod (measurement) has to be between 30 mm and 150 mm long."},
    {27, "Error 027: The tobacco rod pressure drop has to be between 20 mm H2O and 300 mm H2O."},
    {28, "Error 028: The total cigarette length (filter+rod) has to be between 50 mm and 125 mm."},
    {29, "Error 029: The rod pressure drop exponent has to be between 0.7 and 2.3."},
    {30, "Error 030: The tobacco rod mass has to be between 300 mg and 3000 mg."},
    {32, "Error 032: The open draw resistance has to be between 30 mm H2O and 300 mm H2O."},
    {33, "Error 033: The closed draw resistance has to be between 30 mm H2O and 300 mm H2O."},
    {34, "Error 034: The degree of filter ventilation has to be between 0% and 100%."},
    {35, "Error 035: The degree of rod ventilation has to be between 0% and 100%."},
    {36, "Error 036: The sum of filter and rod ventilation has to be between 0% and 100%."},
    {37, "Error 037: The mass burn rate has to be between 10 mg/min and 200 mg/min."},
    {38, "Error 038: The ISO puff number has to be between 1 and 30."},
    {39, "Error 039: The ISO 'tar' value (NFDPM) has to be between 0.1 mg/cig and 50 mg/cig."},
    {40, "Error 040: The ISO nicotine value has to be between 0.01 mg/cig and 10 mg/cig."},
    {41, "Error 041: The ISO carbon monoxide value (CO) has to be between 0.1 mg/cig and 80 mg/cig."},
    {42, "Error 042: The alternative puff number has to be between 1 and 30."},
    {43, "Error 043: The alternative 'tar' value (NFDPM) has to be between 0.1 mg/cig and 50 mg/cig."},
    {44, "Error 044: The alternative nicotine value has to be between 0.01 mg/cig and 10 mg/cig."},
    {45, "Error 045: The alternative carbon monoxide value (CO) has to be between 0.1 mg/cig and 80 mg/cig."},
    {46, "Error 046: The puff volume has to be between 10 cm³ and 100 cm³."},
    {47, "Error 047: The puff duration has to be between 0.5 s and 8.0 s."},
    {48, "Error 048: The puff interval has to be between 10 s and 180 s."},
    {49, "Error 049: The value for ventilation blocking has to be between 0% and 100%."},
    {50, "Error 050: The specified puff shape file could not be opened for reading."},
    {51, "Error 051: The puff shape file must contain at least two data points."},
    {52, "Error 052: The cigarette file could not be opened for writing."},
    {53, "Error 053: The cigarette design could not be written to the specified file."},
    {54, "Error 054: The cigarette file could not be opened for reading."},
    {55, "Error 055: This file does not contain cigarette data."},
    {56, "Error 056: No appropriate tipping/plug wrap combination was found."},
    {57, "Error 057: No appropriate tipping paper permeability was found."},
    {58, "Error 058: No approproate degree of filter ventilation was found."},
    {59, "Error 059: Unknown identifier LIST_xxx. This is a program error."},
    {60, "Error 060: No appropriate cigarette paper permeability was found."},
    {62, "Error 062: The filter pressure drop per length has to be between 0.8 mmH2O/mm and 5.0 mmH2O/mm."},
    {63,
     "Error 063: More than the available tobacco is consumed during smouldering. Adjust puff number and/or "
     "burn rate."},
    {64, "Error 064: The printer device context could not be obtained."},
    {65, "Error 065: The printer device context handle could not be obtained."},
    {66, "Error 066: StartDoc() failed."},
    {67, "Error 067: StartPage() failed."},
    {68, "Error 068: EndPage() failed."},
    {69, "Error 069: EndDoc() failed."},
    {73, "Error 073: The file could not be opened."},
    {74, "Error 074: The file does not contain Veltrano 3.xx data."},
    {75, "Error 075: The target ventilation has to be between 15% and 85%."},
    {76, "Error 076: Targeted ventilation out of accessible range. Value set to maximum."},
    {77, "Error 077: No appropriate ventilation parameters could be found."},
    {78, "Error 078: The width of the band has to be between 1 mm and 50 mm."},
    {79, "Error 079: The space between bands has to be between 1 mm and 99 mm"},
    {80, "Error 080: The air permeability of the band has to be between 0 CU and 220 CU."},
    {81, "Error 081: The diffusion capacity of the band has to be between 0 cm/s and 3.5 cm/s"},
};

}  // namespace

std::optional<std::string> errorMessage(int n) {
    if (n == 0) return std::nullopt;
    if (n < 1 || n > kErrorSlots) return formatText("Unknown error : %03i", {n});
    for (const Slot& s : kMessages)
        if (s.number == n) return std::string(s.text);
    return std::string();
}

int ReportError(ErrorReporter& reporter, int n) {
    std::optional<std::string> text = errorMessage(n);
    if (!text) return -1;
    reporter.report(n, *text);
    return 1;
}

}  // namespace veltrano
