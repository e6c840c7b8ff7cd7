#pragma once

#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"
#include "core/design/ModelParameters.h"

// A deliberately plain model: the network solver, the stationary flow with its profiles, the online
// fit, the characteristic tables, the recalculation and the puff-by-puff analysis written out serially
// as the model describes them, with pow for every power, the table's ventilation blocking applied to the
// record and restored, and no shortcut. It shares the mends of the puff-by-puff analysis (puff count,
// coal flow share, zero sums) but not the shooting loop's: its designs must converge. The optimised model
// must agree with it.
namespace veltrano::plain {

// Passes of the shooting loop, summed over every solve.
struct PlainCounts {
    long long passes = 0;
};

void recalculate(DesignSet& designs, const ModelParameters& mp, ErrorReporter& errors, PlainCounts& counts);
void runPuffByPuff(CigaretteDesign& design, const ModelParameters& mp, PlainCounts& counts);

}  // namespace veltrano::plain
