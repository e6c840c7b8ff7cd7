#pragma once

#include <cmath>
#include <tuple>

#include "core/design/CigaretteDesign.h"
#include "core/design/DesignSet.h"

namespace veltrano::test {

// Designs with arrays filled by simple, realistic shapes, so the views have something to draw
// without running the model.

// Stationary profiles of a perforated 84 mm cigarette: suction falls from the mouth end to the lit
// end; the open flow drops behind the perforation and along the paper.
inline void fillStationary(CigaretteDesign& d) {
    for (int i = 0; i < kProfileSamples; ++i) {
        const double x = d.ci_len * i / kProfileSamples;
        d.stat_pres_closed[i] = 124.0 * (1.0 - x / d.ci_len);
        d.stat_pres_open[i] = 110.0 * (1.0 - x / d.ci_len);
        d.stat_flow_closed[i] = 17.5 - 1.5 * x / d.ci_len;
        d.stat_flow_open[i] = x < d.tp_perfopos ? 17.5 : 14.0 - 2.0 * (x - d.tp_perfopos) / d.ci_len;
    }
}

// Puff curves (a sine puff) and characteristic tables of both regimes.
inline void fillPuffCurves(CigaretteDesign& d) {
    const double altPeak = d.alt_volume / d.alt_duration * 3.141592654 / 2.0;
    for (int i = 0; i < kCurveSamples; ++i) {
        const double s = std::sin(3.141592654 * i / (kCurveSamples - 1));
        d.iso_prof_flow[i] = 27.4889357225 * s;
        d.iso_prof_fivent[i] = 0.25 * d.iso_prof_flow[i];
        d.iso_prof_rovent[i] = 0.10 * d.iso_prof_flow[i];
        d.alt_prof_flow[i] = altPeak * s;
        d.alt_prof_fivent[i] = 0.22 * d.alt_prof_flow[i];
        d.alt_prof_rovent[i] = 0.09 * d.alt_prof_flow[i];
    }
    for (int k = 0; k < kTableSamples; ++k) {
        const double u = double(k) / (kTableSamples - 1);
        d.iso_tab_flow[k] = 30.0 * u;
        d.alt_tab_flow[k] = 1.1 * altPeak * u;
        for (auto [flow, fivent, rovent, pdo, pvent] :
             {std::tuple{d.iso_tab_flow[k], &d.iso_tab_fivent, &d.iso_tab_rovent, &d.iso_tab_pdo,
                         &d.iso_tab_pvent},
              std::tuple{d.alt_tab_flow[k], &d.alt_tab_fivent, &d.alt_tab_rovent, &d.alt_tab_pdo,
                         &d.alt_tab_pvent}}) {
            (*fivent)[k] = 24.0 - 4.0 * u;
            (*rovent)[k] = 9.0 + 2.0 * u;
            (*pdo)[k] = 3.5 * flow + 0.02 * flow * flow;
            (*pvent)[k] = 0.7 * (*pdo)[k];
        }
    }
    d.iso_fivent = 22.0, d.iso_rovent = 10.0, d.iso_pdo = 108.0;
    d.alt_fivent = 21.0, d.alt_rovent = 10.5, d.alt_pdo = 140.0, d.alt_puff = 7.6;
    d.alt_nfdpm = 15.2, d.alt_nico = 1.21, d.alt_co = 16.8;
}

// n puffs of the puff-by-puff analysis; the last one is six tenths of a full puff.
inline void fillPuffs(CigaretteDesign& d, int n) {
    d.allocatePuffData(n);
    for (int i = 0; i < n; ++i) {
        d.puff_size[i] = i + 1 == n ? 6 : 10;
        d.puff_pos[i] = 7.5 * i;
        d.puff_mass[i] = 3.0 + 0.2 * i;
        d.puff_fivent[i] = 20.0 + 0.5 * i;
        d.puff_rovent[i] = 9.0 - 0.05 * i;
        d.puff_avgpd[i] = 100.0 + 2.0 * i;
        d.puff_nfdpm[i] = 0.9 + 0.08 * i;
        d.puff_nico[i] = 0.07 + 0.006 * i;
        d.puff_co[i] = 1.1 + 0.1 * i;
    }
}

inline CigaretteDesign syntheticDesign(int puffs = 8) {
    CigaretteDesign d;
    d.alt_volume = 55.0, d.alt_duration = 2.0, d.alt_interval = 30.0;
    fillStationary(d);
    fillPuffCurves(d);
    if (puffs > 0) fillPuffs(d, puffs);
    return d;
}

inline DesignSet syntheticDesignSet(int puffs = 8) {
    DesignSet set;
    set.currentDesign = syntheticDesign(puffs);
    set.referenceDesign = syntheticDesign(0);
    set.workingReference = syntheticDesign(0);
    set.referenceDesign.known = 0x007FFFFF;  // measured stationary values, no yields
    return set;
}

}  // namespace veltrano::test
