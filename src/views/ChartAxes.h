#pragma once

#include "design/CigaretteDesign.h"
#include "views/AxisRules.h"

namespace veltrano {

// The axis ranges of the charts of a design, the same on screen and on paper.

// Stationary flow chart: suction and flow at the mouth end, length of the cigarette.
struct StationaryAxes {
    AxisRange pressure, flow, length;
};
StationaryAxes stationaryAxes(const CigaretteDesign& design);

// Puff and characteristic charts, computed once from both regimes so the rows compare directly.
struct PuffChartAxes {
    AxisRange puffFlow, puffTime, ventilation, suction, tableFlow;
};
PuffChartAxes puffChartAxes(const CigaretteDesign& design);

}  // namespace veltrano
