#pragma once

#include "core/design/CigaretteDesign.h"
#include "core/design/ModelParameters.h"

namespace veltrano {

enum class FilterYield { Nicotine, Tar };

// The retention (0 to 1) of a filter plug of diameter d mm, length L mm, pressure drop dp mmH2O, total
// titer T den and filament titer t den.
double filterEfficiency(FilterYield kind, double d, double L, double dp, double T, double t,
                        const ModelParameters& mp);

// The raw ISO yields, puff number and static burn rate of a design from its stationary filter
// ventilation: sets `iso_nico`, `iso_nfdpm`, `iso_co`, `iso_puff` and `stat_mbr`.
void computeIsoYields(DesignValues& d, const ModelParameters& mp);

}  // namespace veltrano
