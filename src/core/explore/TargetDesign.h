#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/explore/ExploreFields.h"
#include "core/explore/ExploreOutputs.h"
#include "core/explore/VariantEvaluation.h"

namespace veltrano {

// 1 to 4 free variables, 1 to 6 targets.
inline constexpr std::size_t kMaxDesignVariables = 4, kMaxDesignTargets = 6;

// A free input of the current design and the values it may take.
struct DesignVariable {
    const ExploreField* field = nullptr;
    ValueRange bounds;
};

// An output to reach: met when its relative deviation |reached - value| / |value| is within `tolerance`.
struct DesignTarget {
    const ExploreOutput* output = nullptr;
    double value = 0;
    double weight = 1;
    double tolerance = 0.01;
};

// Bounded work: the search tries `starts` starting points (the current design first, then points drawn
// with `seed`), each with at most `evaluationsPerStart` recalculations. The answer is the first start, in
// start order, that meets every target (later starts stop once it has), else the best compromise of all;
// so the same question gives the same answer on any machine, however many threads run the starts.
struct TargetSearchLimits {
    int starts = 4;
    int evaluationsPerStart = 150;
    std::uint32_t seed = 20240601;
};

struct TargetReached {
    double reached = 0;
    double deviation = 0;  // relative, signed
    bool met = false;
};

struct TargetDesignResult {
    bool found = false;             // some variant passed the sheet's checks
    std::vector<double> variables;  // the best compromise, in the order of the variables
    std::vector<TargetReached> targets;
    bool allMet = false;
    double objective = 0;     // the weighted sum of squared relative deviations
    int evaluations = 0;      // the recalculations of the starts up to the answer's
    std::vector<int> errors;  // 76/77 of the best variant's recalculation
    bool cancelled = false;
};

// Both are called from the search's threads, one call at a time.
struct TargetSearchCallbacks {
    // After each recalculation, with the number done so far.
    std::function<void(int evaluations)> progress;
    // Polled before each recalculation: true ends the search with the best variant so far.
    std::function<bool()> cancelRequested;
};

// Why the question cannot be asked of `current` (counts, a field not offered or repeated, bounds that
// are not an increasing pair of numbers, an output that is not a target, a target value of 0 or not a
// number, a weight that is not positive, a tolerance that is not positive), or nothing.
std::optional<std::string> checkTargetDesign(const std::vector<DesignVariable>& variables,
                                             const std::vector<DesignTarget>& targets,
                                             const DesignValues& current);

// The current design with the variables' values stored.
DesignValues designWithVariables(const DesignValues& current, const std::vector<DesignVariable>& variables,
                                 const std::vector<double>& values);

// How each target fares on a recalculated design.
std::vector<TargetReached> targetsReached(const std::vector<DesignTarget>& targets,
                                          const DesignValues& design);

// Searches the variables for the values that bring the recalculated current design closest to the
// targets: minimises the weighted squared relative deviations with a bound-constrained derivative-free
// method (the model's shooting tolerance makes its outputs slightly rough).
TargetDesignResult designToTargets(const std::vector<DesignVariable>& variables,
                                   const std::vector<DesignTarget>& targets, const DesignValues& current,
                                   const ExploreBasis& basis, const TargetSearchLimits& limits = {},
                                   const TargetSearchCallbacks& callbacks = {});

}  // namespace veltrano
