#include "core/sheet/RodPageRules.h"

#include <array>

namespace veltrano {

namespace {

constexpr std::string_view kGroup = "Tobacco Rod";
constexpr std::string_view kForMeasuring = "(as used for measuring its pressure drop)";

const std::array<FieldSpec, kRodFieldCount> kFields{{
    {"ro_len", kGroup, "Length of the tobacco rod", "(as used on the cigarette)", "mm", &DesignValues::ro_len,
     KnownBit::None, false, "%.2f", 0},
    {"ro_totlen", kGroup, "Length of the tobacco rod", kForMeasuring, "mm", &DesignValues::ro_totlen,
     KnownBit::None, false, "%.2f", 0},
    {"ro_totpd", kGroup, "Tobacco rod pressure drop", "(according to ISO 6565)", "mm H2O",
     &DesignValues::ro_totpd, KnownBit::None, false, "%.2f", 0},
    {"ro_exponent", kGroup, "Pressure drop exponent", "", "", &DesignValues::ro_exponent,
     KnownBit::RodExponent, true, "%.2f", 0},
    {"ro_totmass", kGroup, "Mass of tobacco in the rod", kForMeasuring, "mg", &DesignValues::ro_totmass,
     KnownBit::TobaccoMass, true, "%.2f", 0},
}};

const std::array<HelpSpec, 2> kHelps{{
    {"ro_totpd_help", kRodPressureDrop, true},
    {"ro_exponent_help", kRodExponent, false},
}};

}  // namespace

std::span<const FieldSpec> RodPageRules::fields() {
    return kFields;
}
std::span<const HelpSpec> RodPageRules::helps() {
    return kHelps;
}

void RodPageRules::loadPage(State& page, const DesignValues& design) {
    page::load(page, kFields, design);
}

PageEnabling RodPageRules::updateEnabling(const State& page) {
    return page::enablingByBoxes(page, kFields, kHelps);
}

void RodPageRules::storePage(const State& page, DesignValues& design) {
    page::store(page, kFields, design);
}

bool RodPageRules::validatePage(const DesignValues& d, ErrorReporter& reporter) {
    RuleCheck check(reporter);
    check.require(d.ro_len >= 30, kErrorRodOnCigaretteTooShort);
    check.inRange(d.ro_totlen, 30, 150, kErrorRodMeasurementLength);
    check.inRange(d.ro_totpd, 20, 300, kErrorRodPressureDrop);
    check.inRange(d.fi_len + d.ro_len, 50, 125, kErrorCigaretteLength);
    if (d.isKnown(KnownBit::RodExponent)) check.inRange(d.ro_exponent, 0.7, 2.3, kErrorRodExponent);
    if (d.isKnown(KnownBit::TobaccoMass)) check.inRange(d.ro_totmass, 300, 3000, kErrorTobaccoMass);
    return check.passed();
}

void RodPageRules::exponentHelp(State& page) {
    page.texts[kRodExponent] = "1.20";
}

}  // namespace veltrano
