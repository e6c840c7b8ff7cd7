#include "render/charts/ChartScale.h"

#include <algorithm>
#include <cmath>

namespace veltrano {

namespace {

// Equal ends are widened by this share of their size (or by this much around 0).
constexpr double kFlatShare = 0.01, kFlatAround0 = 1e-3;
// Labels never need more decimals than this.
constexpr int kMostDecimals = 10;
// The last tick lies on the axis's end: the limit lies just beyond it.
constexpr int kLimitBeyondEnd = 2;

}  // namespace

TickAxis ChartScale::axis(AxisDirection direction, int at, int start, int length) const {
    const int limit =
        direction == AxisDirection::Up ? start - length - kLimitBeyondEnd : start + length + kLimitBeyondEnd;
    return {direction, at, start, limit, length, range};
}

TickStyle ChartScale::tickStyle(int labelGap) const {
    return {3, 6, labelEvery, labelFormat.c_str(), labelGap};
}

ChartScale chartScale(double lo, double hi, int length, int labelSpacing, ScaleEnds ends) {
    ChartScale scale;
    if (!std::isfinite(lo) || !std::isfinite(hi) || !std::isfinite(hi - lo)) return scale;
    if (lo > hi) std::swap(lo, hi);
    if (hi - lo <= std::fabs(lo) * 1e-12) {
        const double pad = lo == 0 ? kFlatAround0 : std::fabs(lo) * kFlatShare;
        lo -= pad;
        hi += pad;
    }
    const int labelled = std::max(1, length / std::max(1, labelSpacing));
    const double raw = (hi - lo) / labelled;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / power;
    const double mantissa = f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10;
    const double major = mantissa * power;
    scale.labelEvery = mantissa == 2 ? 4 : 5;
    const bool exact = ends == ScaleEnds::Exact;
    const double minimum = exact ? lo : std::floor(lo / major) * major;
    const double maximum = exact ? hi : std::ceil(hi / major) * major;
    scale.range = {maximum, major / scale.labelEvery, minimum};
    if (!hasScale(scale.range)) {
        scale.range = {};
        return scale;
    }
    const int decimals =
        std::clamp(-static_cast<int>(std::floor(std::log10(major) + 1e-9)), 0, kMostDecimals);
    scale.labelFormat = "%." + std::to_string(decimals) + "f";
    return scale;
}

}  // namespace veltrano
