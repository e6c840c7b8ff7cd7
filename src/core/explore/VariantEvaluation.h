#pragma once

#include <vector>

#include "core/design/CigaretteDesign.h"
#include "core/design/ModelParameters.h"
#include "core/model/ParallelTasks.h"

namespace veltrano {

// What every variant of the current design is computed against: the reference, the working reference
// that a recalculation made from it, and the model parameters. None of them changes while variants run.
struct ExploreBasis {
    const DesignValues& reference;
    const DesignValues& workingReference;
    const ModelParameters& mp;
};

enum class VariantStatus {
    NotRun,    // cancelled before it started
    Refused,   // a page's rules refuse the values
    Computed,  // recalculated
};

// One variant of the current design after OK's checks and the recalculation.
struct VariantResult {
    VariantStatus status = VariantStatus::NotRun;
    int refusedPage = -1;     // the sheet page whose rules refused it (a SheetPage)
    std::vector<int> errors;  // the refusing page's errors, or 76/77 of the online perforation fit
    DesignValues values;      // the recalculated design (Computed only)
    // The puff-by-puff data, when asked for and the reference's puff number is known.
    std::int32_t puffNumber = 0;
    std::vector<std::int32_t> puffSize;
    std::vector<std::vector<double>> puffSeries;  // in the order of puffArrays()
};

// Checks `variant` with the rules of the current design's sheet and, when they pass, recalculates it as
// the current design, exactly as OK and the recalculation would, without reporting anything. With
// `puffs` the puff-by-puff analysis runs on it too. `threads` bounds the model's own table threads.
VariantResult evaluateVariant(const DesignValues& variant, const ExploreBasis& basis, bool puffs,
                              InnerThreads threads);

}  // namespace veltrano
