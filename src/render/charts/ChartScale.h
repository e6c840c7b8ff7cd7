#pragma once

#include <string>

#include "render/views/Axis.h"

namespace veltrano {

// The scale of an exploration chart's axis: the values it spans, rounded out to labelled ticks, the
// distance of its ticks, which of them carry labels and how the labels are written.
struct ChartScale {
    AxisRange range;  // no scale when the values were not numbers
    int labelEvery = 5;
    std::string labelFormat = "%.0f";

    // Position of a value on an axis of this scale: `start` is where the minimum lies, `length` the
    // pixels to the maximum, upward or to the right.
    TickAxis axis(AxisDirection direction, int at, int start, int length) const;
    TickStyle tickStyle(int labelGap) const;
};

// A scale over the values lo to hi (either order; equal values are widened a little) whose labelled
// ticks are 1, 2 or 5 times a power of ten apart, about `labelSpacing` pixels of `length` apart, with
// four or five short ticks to each. Its ends are rounded out to labelled ticks, or kept exactly.
enum class ScaleEnds { RoundOut, Exact };
ChartScale chartScale(double lo, double hi, int length, int labelSpacing,
                      ScaleEnds ends = ScaleEnds::RoundOut);

}  // namespace veltrano
