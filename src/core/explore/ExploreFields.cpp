#include "core/explore/ExploreFields.h"

#include <algorithm>
#include <array>

namespace veltrano {

namespace {

using V = DesignValues;

ValueRange narrowed(ValueRange r, double lo, double hi) {
    return {std::max(r.lo, lo), std::min(r.hi, hi)};
}

bool perforated(const V& d) {
    return d.tp_perfotype != kNoPerforation;
}
bool positionChecked(const V& d) {
    return perforated(d) && d.isKnown(KnownBit::PerforationPosition);
}
bool positionInFilterChecked(const V& d) {
    return perforated(d) && d.isKnown(KnownBit::PerforationWidth) && d.isKnown(KnownBit::PerforationPosition);
}

// The tipping page: the paper lies between the filter plus 1 mm and the cigarette less 1 mm, and the
// perforated zone keeps 1 mm from both tipping edges and from the filter end.
ValueRange tippingLengthLimits(const V& d, ValueRange r) {
    r = narrowed(r, d.fi_len + 1, d.ro_len + d.fi_len - 1);
    if (positionChecked(d)) r = narrowed(r, d.tp_perfopos + d.tp_perfowidth / 2 + 1, r.hi);
    return r;
}
ValueRange positionLimits(const V& d, ValueRange r) {
    const double halfWidth = d.tp_perfowidth / 2;
    r = narrowed(r, halfWidth + 1, d.tp_width - halfWidth - 1);
    if (d.isKnown(KnownBit::PerforationWidth)) r = narrowed(r, r.lo, d.fi_len - 1 - halfWidth);
    return r;
}
ValueRange widthLimits(const V& d, ValueRange r) {
    if (!d.isKnown(KnownBit::PerforationPosition)) return r;
    const double p = d.tp_perfopos;
    return narrowed(r, r.lo, 2 * std::min({p - 1, d.tp_width - 1 - p, d.fi_len - 1 - p}));
}
// The filter page: 0.8 to 5 mmH2O per mm of filter rod.
ValueRange filterRodLengthLimits(const V& d, ValueRange r) {
    return narrowed(r, d.fi_totpd / 5, d.fi_totpd / 0.8);
}
ValueRange filterRodPressureDropLimits(const V& d, ValueRange r) {
    return narrowed(r, 0.8 * d.fi_totlen, 5 * d.fi_totlen);
}
// The plug length meets the tipping rules and, with the rod, a cigarette of 50 to 125 mm.
ValueRange plugLengthLimits(const V& d, ValueRange r) {
    r = narrowed(r, 50 - d.ro_len, 125 - d.ro_len);
    if (d.isKnown(KnownBit::TippingLength)) r = narrowed(r, d.tp_width - d.ro_len + 1, d.tp_width - 1);
    if (positionInFilterChecked(d)) r = narrowed(r, d.tp_perfowidth / 2 + d.tp_perfopos + 1, r.hi);
    return r;
}
ValueRange rodLengthLimits(const V& d, ValueRange r) {
    r = narrowed(r, 50 - d.fi_len, 125 - d.fi_len);
    if (d.isKnown(KnownBit::TippingLength)) r = narrowed(r, d.tp_width - d.fi_len + 1, r.hi);
    return r;
}

// The rod has no upper length of its own; the cigarette's 125 mm bound it. A position has none either;
// the longest tipping paper bounds it.
constexpr double kLongestRod = 125, kFurthestPosition = 80;

const std::array<ExploreField, 32> kFields{{
    {kTippingPage, kTippingLength, {15, 80}, tippingLengthLimits},
    {kTippingPage, kPerforationPermeability, {0, 8000}, nullptr},
    {kTippingPage, kPerforationExponent, {0.3, 1.3}, nullptr},
    {kTippingPage, kPerforationPosition, {0, kFurthestPosition}, positionLimits},
    {kTippingPage, kPerforationWidth, {0.1, 10}, widthLimits},
    {kTippingPage, kPlugWrapPermeability, {0, 30000}, nullptr},
    {kTippingPage, kPlugWrapExponent, {0.3, 1.3}, nullptr},
    {kTippingPage, kTargetedVentilation, {15, 85}, nullptr},
    {kPaperPage, kBurnAdditive, {0, 2}, nullptr},
    {kPaperPage, kAirPermeability, {0, 220}, nullptr},
    {kPaperPage, kPaperExponent, {0.3, 1.3}, nullptr},
    {kPaperPage, kDiffusionCapacity, {0, 3.5}, nullptr},
    {kPaperPage, kBandWidth, {1, 50}, nullptr},
    {kPaperPage, kBandSpacing, {1, 99}, nullptr},
    {kPaperPage, kBandPermeability, {0, 220}, nullptr},
    {kPaperPage, kBandDiffusion, {0, 3.5}, nullptr},
    {kFilterPage, kPlugLength, {5, 45}, plugLengthLimits},
    {kFilterPage, kCigaretteDiameter, {2.5, 8.5}, nullptr},
    {kFilterPage, kFilterRodLength, {5, 200}, filterRodLengthLimits},
    {kFilterPage, kFilterRodPressureDrop, {15, 800}, filterRodPressureDropLimits},
    {kFilterPage, kFilterExponent, {0.7, 2.3}, nullptr},
    {kFilterPage, kTotalTiter, {20000, 50000}, nullptr},
    {kFilterPage, kFilamentTiter, {1.5, 8}, nullptr},
    {kRodPage, kRodLength, {30, kLongestRod}, rodLengthLimits},
    {kRodPage, kMeasuredRodLength, {30, 150}, nullptr},
    {kRodPage, kRodPressureDrop, {20, 300}, nullptr},
    {kRodPage, kRodExponent, {0.7, 2.3}, nullptr},
    {kRodPage, kTobaccoMass, {300, 3000}, nullptr},
    {kRegimePage, kPuffVolume, {10, 100}, nullptr},
    {kRegimePage, kPuffDuration, {0.5, 8}, nullptr},
    {kRegimePage, kPuffInterval, {10, 180}, nullptr},
    {kRegimePage, kVentilationBlocking, {0, 100}, nullptr},
}};

// The enabling the page shows for the design right after it is loaded; `adjust` may change the state
// first as a click that changes no value would.
template <class Rules>
bool enabledAfterLoad(const DesignValues& design, int field,
                      void (*adjust)(typename Rules::State&) = nullptr) {
    typename Rules::State state;
    Rules::loadPage(state, design);
    if (adjust) adjust(state);
    return Rules::updateEnabling(state).field.at(static_cast<std::size_t>(field));
}

void pickOtherRegime(RegimePageState& state) {
    state.preset = 0;
}

}  // namespace

const FieldSpec& ExploreField::tableEntry() const {
    const auto at = [this](std::span<const FieldSpec> fields) -> const FieldSpec& {
        return fields[static_cast<std::size_t>(pageField)];
    };
    switch (page) {
        case kTippingPage:
            return at(TippingPageRules::fields());
        case kPaperPage:
            return at(PaperPageRules::fields());
        case kFilterPage:
            return at(FilterPageRules::fields());
        case kRodPage:
            return at(RodPageRules::fields());
        default:
            return at(RegimePageRules::fields());
    }
}

std::span<const ExploreField> exploreFields() {
    return kFields;
}

const ExploreField* findExploreField(std::string_view name) {
    for (const ExploreField& f : exploreFields())
        if (f.name() == name) return &f;
    return nullptr;
}

bool isOffered(const ExploreField& field, const DesignValues& current) {
    switch (field.page) {
        case kTippingPage:
            return enabledAfterLoad<TippingPageRules>(current, field.pageField);
        case kPaperPage:
            return enabledAfterLoad<PaperPageRules>(current, field.pageField);
        case kFilterPage:
            return enabledAfterLoad<FilterPageRules>(current, field.pageField);
        case kRodPage:
            return enabledAfterLoad<RodPageRules>(current, field.pageField);
        default:
            return enabledAfterLoad<RegimePageRules>(current, field.pageField, pickOtherRegime);
    }
}

ValueRange validRange(const ExploreField& field, const DesignValues& design) {
    if (!field.crossLimits) return field.own;
    const ValueRange r = field.crossLimits(design, field.own);
    return r.lo <= r.hi ? r : field.own;
}

ValueRange proposedSweepRange(const ExploreField& field, const DesignValues& design) {
    const ValueRange valid = validRange(field, design);
    const double today = design.*field.member();
    if (!(today > 0) || today < valid.lo || today > valid.hi) return valid;
    const ValueRange around{std::max(valid.lo, today / 2), std::min(valid.hi, today * 2)};
    return around.lo < around.hi ? around : valid;
}

void storeValue(const ExploreField& field, DesignValues& design, double value) {
    design.*field.member() = value;
    // The tipping page stores an online target as the design's filter ventilation too.
    if (field.member() == &DesignValues::tp_onlinevent) design.stat_fivent = value;
}

}  // namespace veltrano
