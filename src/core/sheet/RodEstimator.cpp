#include "core/sheet/RodEstimator.h"

#include "core/design/NumberText.h"

namespace veltrano {

namespace {

constexpr std::string_view kIso6565 = "(according to ISO 6565)";
constexpr std::string_view kPlug = "Filter plug pressure drop";

const std::array<FieldSpec, kEstimatorFieldCount> kFields{{
    {"method1_plug", kEstimatorMethodLabels[0], kPlug, kIso6565, "mm H2O", nullptr, KnownBit::None, false,
     "%.2f", 0},
    {"method1_closed", kEstimatorMethodLabels[0], "Closed draw resistance", kIso6565, "mm H2O", nullptr,
     KnownBit::None, false, "%.2f", 0},
    {"method2_plug", kEstimatorMethodLabels[1], kPlug, kIso6565, "mm H2O", nullptr, KnownBit::None, false,
     "%.2f", 0},
    {"method2_open", kEstimatorMethodLabels[1], "Open draw resistance", kIso6565, "mm H2O", nullptr,
     KnownBit::None, false, "%.2f", 0},
    {"method2_ventilation", kEstimatorMethodLabels[1], "Degree of filter ventilation", kIso6565, "%", nullptr,
     KnownBit::None, false, "%.2f", 0},
}};

// A value outside lo..hi is replaced by `fallback`.
double within(double value, double lo, double hi, double fallback) {
    return value < lo || value > hi ? fallback : value;
}

}  // namespace

RodEstimator::RodEstimator(const FilterPageState& filter, const PaperPageState& paper,
                           const YieldsPageState& yields) {
    const double Pf = filter.value(kFilterRodPressureDrop), lp = filter.value(kPlugLength),
                 lf = filter.value(kFilterRodLength);
    // The plug's share of the measured filter rod.
    const double plug = (lp >= 5 && lp <= 45 && lf >= 5 && lf <= 200) ? Pf * lp / lf : Pf;
    plugPressureDrop = within(plug, 15, 800, 70);
    paperPermeability = within(paper.value(kAirPermeability), 0, 220, 50);
    filterVentilation = within(yields.value(kFilterVentilation), 0, 99.999, 15);
    openDrawResistance = within(yields.value(kOpenDrawResistance), 20, 300, 120);
    closedDrawResistance = within(yields.value(kClosedDrawResistance), 20, 300, 130);

    texts[kMethod1Plug] = texts[kMethod2Plug] = formatNumber("%.2f", plugPressureDrop);
    texts[kMethod1Closed] = formatNumber("%.2f", closedDrawResistance);
    texts[kMethod2Open] = formatNumber("%.2f", openDrawResistance);
    texts[kMethod2Ventilation] = formatNumber("%.2f", filterVentilation);
}

std::span<const FieldSpec> RodEstimator::fields() {
    return kFields;
}

bool RodEstimator::fieldEnabled(int field) const {
    return (field == kMethod1Plug || field == kMethod1Closed) == (method_ == 1);
}

void RodEstimator::recompute() {
    double estimate = 0;
    if (method_ == 1) {
        const double p = readNumber(texts[kMethod1Plug]), c = readNumber(texts[kMethod1Closed]);
        plugPressureDrop = p;
        closedDrawResistance = c;
        estimate = (c < 30 || c > 300 || p < 0 || p > c) ? 0 : c - p;
    } else {
        const double p = readNumber(texts[kMethod2Plug]), o = readNumber(texts[kMethod2Open]),
                     v = readNumber(texts[kMethod2Ventilation]);
        plugPressureDrop = p;
        openDrawResistance = o;
        filterVentilation = v;
        if (o < 30 || o > 300 || v < 0 || v >= 100 || p < 0 || p > 300)
            estimate = 0;
        else if (100 - v > 0.001)
            // The open draw resistance without ventilation, less the plug, plus the paper's share.
            estimate = (o - p / 2) * 100 / (100 - v) - p / 2 + paperPermeability * 0.11335165;
        else
            estimate = rodPressureDrop;  // too close to full ventilation: the estimate stands
    }
    rodPressureDrop = estimate < 30 || estimate > 300 ? 0 : estimate;
    estimateText = formatNumber("%.2f", rodPressureDrop);
    // Both plug fields show the one plug pressure drop.
    const std::string& plugText = texts[method_ == 1 ? kMethod1Plug : kMethod2Plug];
    texts[method_ == 1 ? kMethod2Plug : kMethod1Plug] = plugText;
}

void RodEstimator::accept(RodPageState& rod) {
    recompute();
    const double onCigarette = rod.value(kRodLength), measured = rod.value(kMeasuredRodLength);
    const bool scalable = onCigarette > 30 && onCigarette < 150 && measured > 30 && measured < 150;
    rod.texts[kRodPressureDrop] =
        formatNumber("%.2f", scalable ? rodPressureDrop * measured / onCigarette : rodPressureDrop);
}

}  // namespace veltrano
