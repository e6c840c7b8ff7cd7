#include "core/sheet/PaperPageRules.h"

#include <array>

#include "core/design/NumberText.h"
#include "core/model/Characteristics.h"

namespace veltrano {

namespace {

constexpr std::string_view kGroup = "Cigarette Paper";

const std::array<FieldSpec, kPaperFieldCount> kFields{{
    {"basis_weight", kGroup, "Basis weight", "", "g/m²", nullptr, KnownBit::PaperComposition, true, "%.2f",
     0},
    {"filler_content", kGroup, "Filler content", "", "%", nullptr, KnownBit::PaperComposition, false, "%.2f",
     0},
    {"cp_citrate", kGroup, "Burn additive content", "", "%", &DesignValues::cp_citrate,
     KnownBit::PaperCitrate, true, "%.2f", 0},
    {"cp_perm", kGroup, "Air permeability (ISO 2965)", "", "CU", &DesignValues::cp_perm,
     KnownBit::PaperPermeability, true, "%.0f", 0},
    {"cp_exponent", kGroup, "Air permeability exponent (ISO 2965)", "", "", &DesignValues::cp_exponent,
     KnownBit::PaperExponent, true, "%.2f", 0},
    {"cp_diff", kGroup, "Diffusion capacity", "", "cm/s", &DesignValues::cp_diff, KnownBit::PaperDiffusion,
     true, "%.3f", 0},
    {"cp_bandwidth", kGroup, "Width of bands", "", "mm", &DesignValues::cp_bandwidth, KnownBit::None, false,
     "%.2f", 6},
    {"cp_bandspace", kGroup, "Spacing between bands", "", "mm", &DesignValues::cp_bandspace, KnownBit::None,
     false, "%.2f", 6},
    {"cp_bandperm", kGroup, "Air permeability of bands", "", "CU", &DesignValues::cp_bandperm, KnownBit::None,
     false, "%.1f", 8},
    {"cp_banddiff", kGroup, "Diffusion capacity of bands", "", "cm/s", &DesignValues::cp_banddiff,
     KnownBit::None, false, "%.3f", 8},
}};

const std::array<HelpSpec, 2> kHelps{{
    {"cp_exponent_help", kPaperExponent, false},
    {"cp_diff_help", kDiffusionCapacity, false},
}};

constexpr std::array<int, 4> kBandFields{kBandWidth, kBandSpacing, kBandPermeability, kBandDiffusion};

}  // namespace

std::span<const FieldSpec> PaperPageRules::fields() {
    return kFields;
}
std::span<const HelpSpec> PaperPageRules::helps() {
    return kHelps;
}

void PaperPageRules::loadPage(State& page, const DesignValues& d) {
    page::load(page, kFields, d);
    page.lowIgnitionPropensity = d.cp_lip == 1;
    page.texts[kBasisWeight].clear();
    page.texts[kFillerContent].clear();
    if (d.isKnown(KnownBit::PaperComposition)) {
        const double basisWeight = d.cp_fiber + d.cp_filler;
        // A paper of no mass has no filler share; 0 % rather than a non-number in the field.
        const double share = basisWeight != 0 ? 100 * d.cp_filler / (d.cp_filler + d.cp_fiber) : 0.0;
        page.texts[kBasisWeight] = formatNumber("%.2f", basisWeight);
        page.texts[kFillerContent] = formatNumber("%.2f", share);
    }
    if (!page.lowIgnitionPropensity)
        for (int f : kBandFields) page.texts[static_cast<std::size_t>(f)].clear();
}

PageEnabling PaperPageRules::updateEnabling(const State& page) {
    PageEnabling e = page::enablingByBoxes(page, kFields, kHelps);
    for (int f : kBandFields) e.field[static_cast<std::size_t>(f)] = page.lowIgnitionPropensity;
    return e;
}

void PaperPageRules::storePage(const State& page, DesignValues& d) {
    // Plain paper shows no bands: when the paper changes, the band fields store as entered.
    const bool paperChanged = page.lowIgnitionPropensity != (d.cp_lip == 1);
    page::store(page, kFields, d, paperChanged ? std::span<const int>(kBandFields) : std::span<const int>());
    if (paperChanged) d.cp_lip = page.lowIgnitionPropensity ? 1 : 0;
    // Basis weight and filler content are two texts for the pair fibre and filler: both keep their values
    // unless one of the texts stores.
    if (!page::storesText(page, kFields, kBasisWeight) && !page::storesText(page, kFields, kFillerContent))
        return;
    const double basisWeight = page.value(kBasisWeight), fillerShare = page.value(kFillerContent);
    d.cp_filler = fillerShare * basisWeight / 100;
    d.cp_fiber = basisWeight - d.cp_filler;
}

bool PaperPageRules::validatePage(const DesignValues& d, ErrorReporter& reporter) {
    RuleCheck check(reporter);
    if (d.isKnown(KnownBit::PaperPermeability)) check.inRange(d.cp_perm, 0, 220, kErrorPaperPermeability);
    if (d.isKnown(KnownBit::PaperExponent)) check.inRange(d.cp_exponent, 0.3, 1.3, kErrorPaperExponent);
    if (d.isKnown(KnownBit::PaperCitrate)) check.inRange(d.cp_citrate, 0, 2, kErrorCitrate);
    if (d.isKnown(KnownBit::PaperDiffusion)) check.inRange(d.cp_diff, 0, 3.5, kErrorPaperDiffusion);
    if (d.isKnown(KnownBit::PaperComposition)) {
        check.inRange(d.cp_fiber + d.cp_filler, 15, 45, kErrorBasisWeight);
        // Filler shares of 5 % (0.05/0.95 of the fibre, with a relative tolerance of one millionth) to
        // 35 % (0.35/0.65) of the basis weight.
        check.inRange(d.cp_filler, d.cp_fiber * 0.999999 * 0.052631578947368425,
                      d.cp_fiber * 0.5384615384615384, kErrorFillerContent);
    }
    if (d.cp_lip == 1) {
        check.inRange(d.cp_bandwidth, 1, 50, kErrorBandWidth);
        check.inRange(d.cp_bandspace, 1, 99, kErrorBandSpacing);
        check.inRange(d.cp_bandperm, 0, 220, kErrorBandPermeability);
        check.inRange(d.cp_banddiff, 0, 3.5, kErrorBandDiffusion);
    }
    return check.passed();
}

void PaperPageRules::exponentHelp(State& page) {
    page.texts[kPaperExponent] = "1.0";
}

void PaperPageRules::diffusionHelp(State& page, const ModelParameters& mp) {
    const double P = page.value(kAirPermeability);
    if (!(P >= 0 && P <= 220)) {
        page.texts[kDiffusionCapacity] = "1.000";
        return;
    }
    // The capacity of a paper of this permeability alone, its composition left out.
    DesignValues paper;
    paper.known = known::bit(KnownBit::PaperPermeability);
    paper.cp_perm = P;
    page.texts[kDiffusionCapacity] = formatNumber("%.3f", predictDiffusion(paper, mp));
}

}  // namespace veltrano
