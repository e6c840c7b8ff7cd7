#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "core/explore/ExploreFields.h"
#include "core/explore/ExploreOutputs.h"
#include "core/explore/VariantEvaluation.h"

namespace veltrano {

// The step of a sensitivity, in percent of each input's value: above 0, at most 50.
inline constexpr double kDefaultSensitivityStep = 5, kMaxSensitivityStep = 50;

// The elasticities of the outputs to one input: (relative change of the output) / (relative change of
// the input) between today's value less and plus the step, each stored as OK would store it.
struct SensitivityRow {
    const ExploreField* field = nullptr;
    double value = 0;  // today's
    bool refused = false;
    std::vector<int> errors;  // of the refused step (the sheet's), else of the recalculations
    // In output order; nothing where the input or the output is 0 today, a step is refused, or the
    // result is not a number.
    std::vector<std::optional<double>> elasticities;
};

// What the caller sees while the table is computed, on the thread that computes it.
struct SensitivityCallbacks {
    std::function<void(int done, int total)> progress;  // after each recalculation
    std::function<bool()> cancelRequested;              // polled between recalculations
};

// The rows of `fields` (each offered by the current design's sheet) for `outputs`, by central
// differences with `stepPercent` (0 < step <= 50). The recalculations run in parallel; a cancelled
// table is empty.
std::vector<SensitivityRow> computeSensitivities(std::span<const ExploreField* const> fields,
                                                 std::span<const ExploreOutput* const> outputs,
                                                 double stepPercent, const DesignValues& current,
                                                 const ExploreBasis& basis,
                                                 const SensitivityCallbacks& callbacks = {});

}  // namespace veltrano
