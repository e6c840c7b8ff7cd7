#include "render/views/AxisRules.h"

#include <cmath>

namespace veltrano {

bool hasScale(const AxisRange& range) {
    return std::isfinite(range.minimum) && std::isfinite(range.maximum) && range.maximum > range.minimum &&
           std::isfinite(range.step) && range.step > 0.0;
}

AxisRange pressureStep(double p) {
    return {p, p < 101 ? 5.0 : p < 201 ? 10.0 : 20.0};
}

AxisRange profileFlowStep(double f) {
    return {f, f < 20 ? 1.0 : 2.0};
}

AxisRange lengthStep(double length) {
    return {length, length < 51 ? 1.0 : length < 101 ? 2.0 : 5.0};
}

AxisRange puffFlowAxis(double m) {
    if (m > kIsoPeakFlow) return {m, m < 50 ? 1.0 : m < 80 ? 2.0 : m < 100 ? 4.0 : 10.0};
    return {kIsoPeakFlow, 1.0};
}

AxisRange puffTimeAxis(double duration) {
    const double t = duration > 2.0 ? duration : 2.0;
    return {t, t < 4 ? 0.1 : 0.2};
}

AxisRange ventilationAxis(double g) {
    if (g < 26) return {25.0, 1.0};
    if (g < 51) return {50.0, 2.0};
    return {100.0, 5.0};
}

AxisRange suctionStep(double t) {
    return {t, t < 51 ? 2.0 : t < 101 ? 5.0 : t < 201 ? 10.0 : t < 401 ? 20.0 : 50.0};
}

AxisRange tableFlowAxis(double b) {
    return {b, b < 50 ? 1.0 : b < 80 ? 2.0 : b < 100 ? 4.0 : 10.0};
}

AxisRange yieldAxis(double g) {
    return {g, g < 1.1 ? 0.05 : g < 2.1 ? 0.1 : 0.2};
}

AxisRange puffVentStep(double d) {
    return {d, d < 20 ? 1.0 : d < 50 ? 2.0 : 5.0};
}

AxisRange puffPressureStep(double e) {
    return {e, e < 101 ? 5.0 : e < 201 ? 10.0 : e < 401 ? 20.0 : 50.0};
}

double largestOf(double start, std::initializer_list<double> values) {
    double largest = start;
    for (double v : values)
        if (v > largest) largest = v;
    return largest;
}

}  // namespace veltrano
