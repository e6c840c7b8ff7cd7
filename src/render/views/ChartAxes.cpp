#include "render/views/ChartAxes.h"

#include <limits>

#include "render/views/Curves.h"

namespace veltrano {

namespace {

constexpr double kNothing = -std::numeric_limits<double>::infinity();

double first(const std::vector<double>& a) {
    return entryOf(a, 0);
}
double last(const std::vector<double>& a, std::size_t count) {
    return entryOf(a, count - 1);
}

}  // namespace

StationaryAxes stationaryAxes(const CigaretteDesign& d) {
    return {pressureStep(largestOf(kNothing, {first(d.stat_pres_open), first(d.stat_pres_closed)})),
            profileFlowStep(largestOf(kNothing, {first(d.stat_flow_open), first(d.stat_flow_closed)})),
            lengthStep(d.ci_len)};
}

PuffChartAxes puffChartAxes(const CigaretteDesign& d) {
    constexpr std::size_t n = kTableSamples;
    const double ventilation =
        largestOf(kNothing, {first(d.iso_tab_fivent), last(d.iso_tab_fivent, n), first(d.iso_tab_rovent),
                             last(d.iso_tab_rovent, n), first(d.alt_tab_fivent), last(d.alt_tab_fivent, n),
                             first(d.alt_tab_rovent), last(d.alt_tab_rovent, n)});
    return {puffFlowAxis(last(d.alt_tab_flow, n)), puffTimeAxis(d.alt_duration), ventilationAxis(ventilation),
            suctionStep(largestOf(kNothing, {last(d.iso_tab_pdo, n), last(d.alt_tab_pdo, n)})),
            tableFlowAxis(largestOf(kNothing, {last(d.iso_tab_flow, n), last(d.alt_tab_flow, n)}))};
}

RegimeCurves isoRegimeCurves(const CigaretteDesign& d) {
    return {d.iso_prof_flow, d.iso_prof_fivent, d.iso_prof_rovent,
            d.iso_tab_flow,  d.iso_tab_fivent,  d.iso_tab_rovent,
            d.iso_tab_pdo,   d.iso_tab_pvent,   2.0,
            d.iso_fivent,    d.iso_rovent,      d.iso_pdo};
}

RegimeCurves alternativeRegimeCurves(const CigaretteDesign& d) {
    return {d.alt_prof_flow,  d.alt_prof_fivent, d.alt_prof_rovent, d.alt_tab_flow,
            d.alt_tab_fivent, d.alt_tab_rovent,  d.alt_tab_pdo,     d.alt_tab_pvent,
            d.alt_duration,   d.alt_fivent,      d.alt_rovent,      d.alt_pdo};
}

}  // namespace veltrano
