#pragma once

#include <initializer_list>

namespace veltrano {

// The values an axis spans, from its minimum (0 for the result views) to its maximum, and the
// distance of its ticks.
struct AxisRange {
    double maximum = 0.0;
    double step = 1.0;
    double minimum = 0.0;
};

// An axis has a scale only when its ends are finite with the maximum above the minimum and its step
// is finite and above 0; otherwise it is drawn as its line and arrowhead alone.
bool hasScale(const AxisRange& range);

// Pixels (or sheet units) per unit for an axis of `plotLength` that spans the range.
inline double axisScale(int plotLength, const AxisRange& range) {
    return plotLength / (range.maximum - range.minimum);
}

// The step rules of the charts. Every comparison is strict; a NaN input falls to the last branch.
AxisRange pressureStep(double maximum);        // stationary suction: 5 / 10 / 20 mm H2O
AxisRange profileFlowStep(double maximum);     // stationary flow: 1 / 2 cm³/s
AxisRange lengthStep(double cigaretteLength);  // 1 / 2 / 5 mm

// The peak of the ISO sine puff, 35 ml in 2 s: 35 × π / 4 with π = 3.141592654, the value the puff
// simulation computes (27.4889357225 rounded).
inline constexpr double kIsoPeakFlow = 35.0 * 3.141592654 / 4.0;
AxisRange puffFlowAxis(double altTableFlowMaximum);    // at least the ISO peak
AxisRange puffTimeAxis(double altDuration);            // at least 2 s
AxisRange ventilationAxis(double largestVentilation);  // 25 / 50 / 100 %
AxisRange suctionStep(double maximum);                 // characteristic suction: 2 / 5 / 10 / 20 / 50
AxisRange tableFlowAxis(double maximum);               // characteristic flow: 1 / 2 / 4 / 10
AxisRange yieldAxis(double maximum);                   // per-puff yields: 0.05 / 0.1 / 0.2 mg
AxisRange puffVentStep(double maximum);                // per-puff ventilation: 1 / 2 / 5 %
AxisRange puffPressureStep(double maximum);            // per-puff draw resistance: 5 / 10 / 20 / 50

// The largest of the values, starting from `start`; NaN never wins.
double largestOf(double start, std::initializer_list<double> values);

}  // namespace veltrano
