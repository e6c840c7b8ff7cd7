#include "core/sheet/FilterPageRules.h"

#include <array>

namespace veltrano {

namespace {

constexpr std::string_view kGroup = "Filter";
constexpr std::string_view kForMeasuring = "(as used for measuring its pressure drop)";

const std::array<FieldSpec, kFilterFieldCount> kFields{{
    {"fi_len", kGroup, "Length of the filter plug", "(as used on the cigarette)", "mm", &DesignValues::fi_len,
     KnownBit::None, false, "%.2f", 0},
    {"fi_diam", kGroup, "Cigarette diameter", "", "mm", &DesignValues::fi_diam, KnownBit::None, false, "%.2f",
     0},
    {"fi_totlen", kGroup, "Length of the filter rod", kForMeasuring, "mm", &DesignValues::fi_totlen,
     KnownBit::None, false, "%.2f", 0},
    {"fi_totpd", kGroup, "Filter rod pressure drop", "(measured according to ISO 6565)", "mm H2O",
     &DesignValues::fi_totpd, KnownBit::None, false, "%.2f", 0},
    {"fi_exponent", kGroup, "Pressure drop exponent", "", "", &DesignValues::fi_exponent,
     KnownBit::FilterExponent, true, "%.2f", 0},
    {"fi_totden", kGroup, "Total titer", "(mass of 9000 m of tow in [g])", "den", &DesignValues::fi_totden,
     KnownBit::FilterTotalDenier, true, "%.0f", 0},
    {"fi_fibden", kGroup, "Filament titer", "(mass of 9000 m of a single fiber in [g])", "den",
     &DesignValues::fi_fibden, KnownBit::FilterFibreDenier, true, "%.2f", 0},
}};

const std::array<HelpSpec, 1> kHelps{{{"fi_exponent_help", kFilterExponent, false}}};

}  // namespace

std::span<const FieldSpec> FilterPageRules::fields() {
    return kFields;
}
std::span<const HelpSpec> FilterPageRules::helps() {
    return kHelps;
}

void FilterPageRules::loadPage(State& page, const DesignValues& design) {
    page::load(page, kFields, design);
}

PageEnabling FilterPageRules::updateEnabling(const State& page) {
    return page::enablingByBoxes(page, kFields, kHelps);
}

void FilterPageRules::storePage(const State& page, DesignValues& design) {
    page::store(page, kFields, design);
}

bool FilterPageRules::validatePage(const DesignValues& d, ErrorReporter& reporter) {
    RuleCheck check(reporter);
    check.inRange(d.fi_len, 5, 45, kErrorFilterLength);
    check.inRange(d.fi_diam, 2.5, 8.5, kErrorFilterDiameter);
    check.inRange(d.fi_totlen, 5, 200, kErrorFilterRodLength);
    check.inRange(d.fi_totpd, 15, 800, kErrorFilterRodPressureDrop);
    // Pressure drop per length between 0.8 and 5.0 mmH2O/mm.
    check.inRange(d.fi_totpd, 0.8 * d.fi_totlen, 5 * d.fi_totlen, kErrorFilterPressureDropPerLength);
    if (d.isKnown(KnownBit::FilterExponent)) check.inRange(d.fi_exponent, 0.7, 2.3, kErrorFilterExponent);
    if (d.isKnown(KnownBit::FilterFibreDenier)) check.inRange(d.fi_fibden, 1.5, 8, kErrorFibreTiter);
    if (d.isKnown(KnownBit::FilterTotalDenier)) check.inRange(d.fi_totden, 20000, 50000, kErrorTotalTiter);
    return check.passed();
}

void FilterPageRules::exponentHelp(State& page) {
    page.texts[kFilterExponent] = "1.00";
}

}  // namespace veltrano
