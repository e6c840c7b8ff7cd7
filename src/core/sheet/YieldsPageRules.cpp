#include "core/sheet/YieldsPageRules.h"

#include <array>

#include "core/design/NumberText.h"
#include "core/model/Characteristics.h"

namespace veltrano {

namespace {

constexpr std::string_view kStationary = "Stationary Flow", kIso = "ISO Smoke Yields",
                           kAlt = "Alternative Smoke Yields";
constexpr std::string_view kIso6565 = "(measured according to ISO 6565)";
constexpr std::string_view kTar = "Nicotine-free dry particulate matter ('tar')";

// Nicotine has the lower bit (24, 28) although 'tar' stands first on the page.
const std::array<FieldSpec, kYieldsFieldCount> kFields{{
    {"stat_pdo", kStationary, "Open draw resistance", kIso6565, "mm H2O", &DesignValues::stat_pdo,
     KnownBit::OpenDrawResistance, true, "%.2f", 0},
    {"stat_pdc", kStationary, "Closed draw resistance", kIso6565, "mm H2O", &DesignValues::stat_pdc,
     KnownBit::ClosedDrawResistance, true, "%.2f", 0},
    {"stat_fivent", kStationary, "Degree of filter ventilation", kIso6565, "%", &DesignValues::stat_fivent,
     KnownBit::FilterVentilation, true, "%.2f", 0},
    {"stat_rovent", kStationary, "Degree of rod ventilation", kIso6565, "%", &DesignValues::stat_rovent,
     KnownBit::RodVentilation, true, "%.2f", 0},
    {"stat_mbr", kStationary, "Mass burn rate during smouldering", "", "mg/min", &DesignValues::stat_mbr,
     KnownBit::StaticBurnRate, true, "%.2f", 0},
    {"linear_burn_rate", kStationary, "Linear burn rate during smouldering", "", "mm/min", nullptr,
     KnownBit::StaticBurnRate, false, "%.2f", 0},
    {"iso_puff", kIso, "Puff number", "", "", &DesignValues::iso_puff, KnownBit::IsoPuffNumber, true, "%.2f",
     0},
    {"iso_nfdpm", kIso, kTar, "", "mg/cig", &DesignValues::iso_nfdpm, KnownBit::IsoTar, true, "%.2f", 0},
    {"iso_nico", kIso, "Nicotine", "", "mg/cig", &DesignValues::iso_nico, KnownBit::IsoNicotine, true, "%.2f",
     0},
    {"iso_co", kIso, "Carbon monoxide (CO)", "", "mg/cig", &DesignValues::iso_co, KnownBit::IsoCo, true,
     "%.2f", 0},
    {"alt_puff", kAlt, "Puff number", "", "", &DesignValues::alt_puff, KnownBit::AltPuffNumber, true, "%.2f",
     0},
    {"alt_nfdpm", kAlt, kTar, "", "mg/cig", &DesignValues::alt_nfdpm, KnownBit::AltTar, true, "%.2f", 0},
    {"alt_nico", kAlt, "Nicotine", "", "mg/cig", &DesignValues::alt_nico, KnownBit::AltNicotine, true, "%.2f",
     0},
    {"alt_co", kAlt, "Carbon monoxide (CO)", "", "mg/cig", &DesignValues::alt_co, KnownBit::AltCo, true,
     "%.2f", 0},
}};

// The burn rates convert while the mass burn rate is known and the rod gives a mass per length.
bool burnRatesConvert(const YieldsPageState& page) {
    return page.box(KnownBit::StaticBurnRate) && page.massPerLength > 0;
}

}  // namespace

double massPerLength(const RodPageState& rod) {
    const double length = rod.value(kMeasuredRodLength), mass = rod.value(kTobaccoMass);
    return (length >= 30 && length <= 150 && mass >= 300 && mass <= 3000) ? mass / length : -1;
}

std::span<const FieldSpec> YieldsPageRules::fields() {
    return kFields;
}
std::span<const HelpSpec> YieldsPageRules::helps() {
    return {};
}

void YieldsPageRules::loadPage(State& page, const DesignValues& design, const RodPageState& rod) {
    page.massPerLength = -1;
    page::load(page, kFields, design);
    page.texts[kLinearBurnRate].clear();
    massToLinear(page, rod);
}

PageEnabling YieldsPageRules::updateEnabling(const State& page) {
    PageEnabling e = page::enablingByBoxes(page, kFields, {});
    e.field[kLinearBurnRate] = burnRatesConvert(page);
    return e;
}

void YieldsPageRules::massToLinear(State& page, const RodPageState& rod) {
    page.massPerLength = massPerLength(rod);
    page.texts[kLinearBurnRate] = burnRatesConvert(page)
                                      ? formatNumber("%.2f", page.value(kMassBurnRate) / page.massPerLength)
                                      : std::string();
}

void YieldsPageRules::linearToMass(State& page, const RodPageState& rod) {
    page.massPerLength = massPerLength(rod);
    page.texts[kMassBurnRate] = burnRatesConvert(page)
                                    ? formatNumber("%.2f", page.value(kLinearBurnRate) * page.massPerLength)
                                    : std::string();
}

void YieldsPageRules::storePage(const State& page, DesignValues& d) {
    page::store(page, kFields, d);
    if (d.tp_perfotype == kOnlineLaser) {
        // Online perforation is fitted to its targeted ventilation; a measured value has no place.
        d.known &= ~known::bit(KnownBit::FilterVentilation);
        d.stat_fivent = d.tp_onlinevent;
    }
}

bool YieldsPageRules::validatePage(const DesignValues& d, const ModelParameters& mp,
                                   ErrorReporter& reporter) {
    RuleCheck check(reporter);
    if (d.isKnown(KnownBit::OpenDrawResistance)) check.inRange(d.stat_pdo, 30, 300, kErrorOpenDrawResistance);
    if (d.isKnown(KnownBit::ClosedDrawResistance))
        check.inRange(d.stat_pdc, 30, 300, kErrorClosedDrawResistance);
    if (d.isKnown(KnownBit::FilterVentilation))
        check.inRange(d.stat_fivent, 0, 99.999, kErrorFilterVentilation);
    if (d.isKnown(KnownBit::RodVentilation)) check.inRange(d.stat_rovent, 0, 99.999, kErrorRodVentilation);
    if (d.isKnown(KnownBit::FilterVentilation) && d.isKnown(KnownBit::RodVentilation))
        check.inRange(d.stat_fivent + d.stat_rovent, 0, 99.999, kErrorTotalVentilation);
    if (d.isKnown(KnownBit::StaticBurnRate)) check.inRange(d.stat_mbr, 10, 200, kErrorBurnRate);
    if (d.isKnown(KnownBit::IsoPuffNumber)) {
        check.inRange(d.iso_puff, 1, 30, kErrorIsoPuffNumber);
        if (d.isKnown(KnownBit::StaticBurnRate)) {
            // Tobacco balance of ISO smoking: between two puffs, 60 s apart and 2 s long, the cigarette
            // smoulders for 58 s. The rod is taken as the model will take it, so an unknown tobacco mass
            // counts with its default rather than with the 0 its empty field stored.
            DesignValues rod = d;
            applyDefaults(rod, mp);
            const double butt = buttLength(rod);
            const double smouldered = (d.iso_puff - 1) * 58 / 60 * d.stat_mbr;
            const double available = (rod.ro_len + rod.fi_len - butt) * rod.ro_totmass / rod.ro_totlen;
            check.require(smouldered <= available, kErrorTobaccoOverconsumed);
        }
    }
    if (d.isKnown(KnownBit::IsoTar)) check.inRange(d.iso_nfdpm, 0.1, 50, kErrorIsoTar);
    if (d.isKnown(KnownBit::IsoNicotine)) check.inRange(d.iso_nico, 0.01, 10, kErrorIsoNicotine);
    if (d.isKnown(KnownBit::IsoCo)) check.inRange(d.iso_co, 0.1, 80, kErrorIsoCo);
    if (d.isKnown(KnownBit::AltPuffNumber)) check.inRange(d.alt_puff, 1, 30, kErrorAltPuffNumber);
    if (d.isKnown(KnownBit::AltTar)) check.inRange(d.alt_nfdpm, 0.1, 50, kErrorAltTar);
    if (d.isKnown(KnownBit::AltNicotine)) check.inRange(d.alt_nico, 0.01, 10, kErrorAltNicotine);
    if (d.isKnown(KnownBit::AltCo)) check.inRange(d.alt_co, 0.1, 80, kErrorAltCo);
    return check.passed();
}

}  // namespace veltrano
