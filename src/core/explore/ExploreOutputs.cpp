#include "core/explore/ExploreOutputs.h"

#include <array>

namespace veltrano {

namespace {

using V = DesignValues;

template <double V::*member>
double field(const V& d) {
    return d.*member;
}

// Total ventilation: filter plus rod ventilation. DPM: 'tar' plus nicotine.
double totalVentilation(const V& d) {
    return d.stat_fivent + d.stat_rovent;
}
double isoDpm(const V& d) {
    return d.iso_nfdpm + d.iso_nico;
}
double alternativeDpm(const V& d) {
    return d.alt_nfdpm + d.alt_nico;
}

constexpr std::string_view kPressure = "mm H2O", kPercent = "%", kYield = "mg/cig";

const std::array<ExploreOutput, 16> kOutputs{{
    {"stat_pdo", "Open draw resistance", kPressure, field<&V::stat_pdo>, true},
    {"stat_pdc", "Closed draw resistance", kPressure, field<&V::stat_pdc>, false},
    {"stat_fivent", "Degree of filter ventilation", kPercent, field<&V::stat_fivent>, true},
    {"stat_rovent", "Degree of rod ventilation", kPercent, field<&V::stat_rovent>, false},
    {"stat_totvent", "Total ventilation", kPercent, totalVentilation, true},
    {"stat_mbr", "Static burn rate", "mg/min", field<&V::stat_mbr>, false},
    {"iso_puff", "ISO puff number", "", field<&V::iso_puff>, true},
    {"alt_puff", "Alternative puff number", "", field<&V::alt_puff>, false},
    {"iso_dpm", "ISO DPM", kYield, isoDpm, false},
    {"iso_nfdpm", "ISO 'tar'", kYield, field<&V::iso_nfdpm>, true},
    {"iso_nico", "ISO nicotine", kYield, field<&V::iso_nico>, true},
    {"iso_co", "ISO CO", kYield, field<&V::iso_co>, true},
    {"alt_dpm", "Alternative DPM", kYield, alternativeDpm, false},
    {"alt_nfdpm", "Alternative 'tar'", kYield, field<&V::alt_nfdpm>, false},
    {"alt_nico", "Alternative nicotine", kYield, field<&V::alt_nico>, false},
    {"alt_co", "Alternative CO", kYield, field<&V::alt_co>, false},
}};

}  // namespace

std::span<const ExploreOutput> exploreOutputs() {
    return kOutputs;
}

const ExploreOutput* findExploreOutput(std::string_view name) {
    for (const ExploreOutput& o : kOutputs)
        if (o.name == name) return &o;
    return nullptr;
}

}  // namespace veltrano
