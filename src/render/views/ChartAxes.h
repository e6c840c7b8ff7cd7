#pragma once

#include "core/design/CigaretteDesign.h"
#include "render/views/AxisRules.h"

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

// What the puff and characteristic charts show of one smoking regime, on screen and on paper.
struct RegimeCurves {
    const std::vector<double>& profFlow;
    const std::vector<double>& profFivent;
    const std::vector<double>& profRovent;
    const std::vector<double>& tabFlow;
    const std::vector<double>& tabFivent;
    const std::vector<double>& tabRovent;
    const std::vector<double>& tabPdo;
    const std::vector<double>& tabPvent;
    double duration;             // how much of the time axis the puff spans
    double fivent, rovent, pdo;  // the averages over the puff
};
RegimeCurves isoRegimeCurves(const CigaretteDesign& d);
RegimeCurves alternativeRegimeCurves(const CigaretteDesign& d);

}  // namespace veltrano
