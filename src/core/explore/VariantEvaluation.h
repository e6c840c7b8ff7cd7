#pragma once

#include <functional>
#include <span>
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

// What the caller of a run of variants sees while it runs. Both are called on the thread that runs them.
struct VariantCallbacks {
    // A finished variant (computed or refused) with its number, in the order of the numbers given;
    // variants skipped by a cancel are not passed.
    std::function<void(int number, VariantResult&& result)> done;
    // Polled between variants: true stops starting new ones (the variants already done are kept).
    std::function<bool()> cancelRequested;
};

// Evaluates the variants `variantAt(n)` for every n of `numbers`, in parallel on the machine's threads
// (each variant's model runs its tables on its own thread): a result depends only on its variant, never
// on the thread count. Returns how many variants finished.
int runVariants(std::span<const int> numbers, const std::function<DesignValues(int number)>& variantAt,
                const ExploreBasis& basis, bool puffs, const VariantCallbacks& callbacks);

}  // namespace veltrano
