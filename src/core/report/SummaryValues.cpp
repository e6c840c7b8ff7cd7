#include "core/report/SummaryValues.h"

#include <stdexcept>
#include <utility>

namespace veltrano {

namespace {

// One design's column: the design shown, which column it is, and the working reference beside it.
struct Shown {
    const DesignValues& d;
    bool reference;
    const DesignValues& working;

    bool known(KnownBit b) const { return d.isKnown(b); }
    int type() const { return d.tp_perfotype; }
    bool perforated() const { return type() != kNoPerforation; }
    bool plainPerforation() const { return perforated() && type() != kOnlineLaser; }
    // A measured value of the reference, a prediction of the current design.
    bool measured(KnownBit b) const { return !reference || known(b); }
    // Alternative yields: the current design's follow its ISO bits, the reference's its own measured
    // alternative bits (each four bits above its ISO twin).
    bool alternativeKnown(KnownBit isoBit) const {
        return known(reference ? static_cast<KnownBit>(static_cast<int>(isoBit) + 4) : isoBit);
    }
};

using Rule = std::optional<double> (*)(const Shown& s);

std::optional<double> when(bool shown, double value) {
    return shown ? std::optional(value) : std::nullopt;
}

// clang-format off
constexpr std::pair<std::string_view, Rule> kRules[] = {
    // Cigarette parameters.
    {"ci_len", [](const Shown& s) { return when(true, s.d.ci_len); }},
    {"tp_width", [](const Shown& s) { return when(s.known(KnownBit::TippingLength), s.d.tp_width); }},
    {"tp_perfotype", [](const Shown& s) { return when(true, double(s.d.tp_perfotype)); }},
    {"tp_perfopos", [](const Shown& s) {
         return when(s.perforated() && s.known(KnownBit::PerforationPosition), s.d.tp_perfopos); }},
    {"tp_perfowidth", [](const Shown& s) {
         return when(s.plainPerforation() && s.known(KnownBit::PerforationWidth), s.d.tp_perfowidth); }},
    {"tp_perfoperm", [](const Shown& s) { return when(s.plainPerforation(), s.d.tp_perfoperm); }},
    {"tp_exponent", [](const Shown& s) {
         return when(s.plainPerforation() && s.known(KnownBit::TippingExponent), s.d.tp_exponent); }},
    {"tp_onlinevent", [](const Shown& s) { return when(true, s.d.tp_onlinevent); }},
    {"pw_perm", [](const Shown& s) {
         return when(s.known(KnownBit::PlugWrapPermeability) && s.type() != kOnlineLaser, s.d.pw_perm); }},
    {"pw_exponent", [](const Shown& s) {
         return when(s.known(KnownBit::PlugWrapExponent) && s.type() != kOnlineLaser, s.d.pw_exponent); }},
    {"cp_perm", [](const Shown& s) { return when(s.known(KnownBit::PaperPermeability), s.d.cp_perm); }},
    {"cp_exponent", [](const Shown& s) { return when(s.known(KnownBit::PaperExponent), s.d.cp_exponent); }},
    {"cp_diff", [](const Shown& s) { return when(s.known(KnownBit::PaperDiffusion), s.d.cp_diff); }},
    {"cp_fiber", [](const Shown& s) { return when(s.known(KnownBit::PaperComposition), s.d.cp_fiber); }},
    {"cp_filler", [](const Shown& s) { return when(s.known(KnownBit::PaperComposition), s.d.cp_filler); }},
    {"cp_citrate", [](const Shown& s) { return when(s.known(KnownBit::PaperCitrate), s.d.cp_citrate); }},
    {"cp_lip", [](const Shown& s) { return when(true, s.d.cp_lip); }},
    {"cp_bandperm", [](const Shown& s) { return when(s.d.cp_lip == 1, s.d.cp_bandperm); }},
    {"cp_banddiff", [](const Shown& s) { return when(s.d.cp_lip == 1, s.d.cp_banddiff); }},
    {"cp_bandwidth", [](const Shown& s) { return when(s.d.cp_lip == 1, s.d.cp_bandwidth); }},
    {"cp_bandspace", [](const Shown& s) { return when(s.d.cp_lip == 1, s.d.cp_bandspace); }},
    {"fi_len", [](const Shown& s) { return when(true, s.d.fi_len); }},
    {"fi_diam", [](const Shown& s) { return when(true, s.d.fi_diam); }},
    {"fi_pd", [](const Shown& s) { return when(true, s.reference ? s.working.fi_pd : s.d.fi_pd); }},
    {"fi_exponent", [](const Shown& s) { return when(s.known(KnownBit::FilterExponent), s.d.fi_exponent); }},
    {"fi_totden", [](const Shown& s) { return when(s.known(KnownBit::FilterTotalDenier), s.d.fi_totden); }},
    {"fi_fibden", [](const Shown& s) { return when(s.known(KnownBit::FilterFibreDenier), s.d.fi_fibden); }},
    {"ro_len", [](const Shown& s) { return when(true, s.d.ro_len); }},
    {"ro_pd", [](const Shown& s) {
         return when(true, s.reference ? s.d.ro_totpd * s.d.ro_len / s.d.ro_totlen : s.d.ro_pd); }},
    {"ro_exponent", [](const Shown& s) { return when(s.known(KnownBit::RodExponent), s.d.ro_exponent); }},
    {"ro_totlen", [](const Shown& s) { return when(true, s.d.ro_totlen); }},
    {"ro_totpd", [](const Shown& s) { return when(true, s.d.ro_totpd); }},
    {"ro_totmass", [](const Shown& s) { return when(s.known(KnownBit::TobaccoMass), s.d.ro_totmass); }},
    // Stationary flow.
    {"stat_pdo", [](const Shown& s) { return when(s.measured(KnownBit::OpenDrawResistance), s.d.stat_pdo); }},
    {"stat_pdc", [](const Shown& s) { return when(s.measured(KnownBit::ClosedDrawResistance), s.d.stat_pdc); }},
    {"stat_fivent", [](const Shown& s) {
         return when(s.measured(KnownBit::FilterVentilation) || s.type() == kOnlineLaser, s.d.stat_fivent); }},
    {"stat_rovent", [](const Shown& s) { return when(s.measured(KnownBit::RodVentilation), s.d.stat_rovent); }},
    {"stat_mbr", [](const Shown& s) { return when(s.known(KnownBit::StaticBurnRate), s.d.stat_mbr); }},
    // The ISO regime: the puff averages are predictions only.
    {"iso_pdo", [](const Shown& s) { return when(!s.reference, s.d.iso_pdo); }},
    {"iso_fivent", [](const Shown& s) { return when(!s.reference, s.d.iso_fivent); }},
    {"iso_rovent", [](const Shown& s) { return when(!s.reference, s.d.iso_rovent); }},
    {"iso_puff", [](const Shown& s) { return when(s.known(KnownBit::IsoPuffNumber), s.d.iso_puff); }},
    {"iso_nfdpm", [](const Shown& s) { return when(s.known(KnownBit::IsoTar), s.d.iso_nfdpm); }},
    {"iso_nico", [](const Shown& s) { return when(s.known(KnownBit::IsoNicotine), s.d.iso_nico); }},
    {"iso_co", [](const Shown& s) { return when(s.known(KnownBit::IsoCo), s.d.iso_co); }},
    // The alternative regime.
    {"alt_volume", [](const Shown& s) { return when(true, s.d.alt_volume); }},
    {"alt_duration", [](const Shown& s) { return when(true, s.d.alt_duration); }},
    {"alt_interval", [](const Shown& s) { return when(true, s.d.alt_interval); }},
    {"alt_blocking", [](const Shown& s) { return when(true, s.d.alt_blocking); }},
    {"alt_pdo", [](const Shown& s) { return when(!s.reference, s.d.alt_pdo); }},
    {"alt_fivent", [](const Shown& s) { return when(!s.reference, s.d.alt_fivent); }},
    {"alt_rovent", [](const Shown& s) { return when(!s.reference, s.d.alt_rovent); }},
    {"alt_puff", [](const Shown& s) { return when(s.alternativeKnown(KnownBit::IsoPuffNumber), s.d.alt_puff); }},
    {"alt_nfdpm", [](const Shown& s) { return when(s.alternativeKnown(KnownBit::IsoTar), s.d.alt_nfdpm); }},
    {"alt_nico", [](const Shown& s) { return when(s.alternativeKnown(KnownBit::IsoNicotine), s.d.alt_nico); }},
    {"alt_co", [](const Shown& s) { return when(s.alternativeKnown(KnownBit::IsoCo), s.d.alt_co); }},
};
// clang-format on

}  // namespace

std::optional<double> summaryValue(const DesignSet& designs, SummaryColumn column, std::string_view field) {
    const bool reference = column == SummaryColumn::Reference;
    const Shown shown{(reference ? designs.referenceDesign : designs.currentDesign).values(), reference,
                      designs.workingReference.values()};
    for (const auto& [name, rule] : kRules)
        if (name == field) return rule(shown);
    throw std::logic_error("the data summary has no rule for a field of that name");
}

bool puffValuesShown(const DesignValues& current, std::string_view field) {
    if (field == "puff_nfdpm") return current.isKnown(KnownBit::IsoTar);
    if (field == "puff_nico") return current.isKnown(KnownBit::IsoNicotine);
    if (field == "puff_co") return current.isKnown(KnownBit::IsoCo);
    return true;
}

}  // namespace veltrano
