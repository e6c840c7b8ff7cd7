#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/explore/ExploreFields.h"
#include "core/explore/Targets.h"
#include "core/explore/VariantEvaluation.h"

namespace veltrano {

// 1 to 4 free variables, 1 to 6 targets.
inline constexpr std::size_t kMaxDesignVariables = 4, kMaxDesignTargets = 6;

// A free input of the current design and the values it may take.
struct DesignVariable {
    const ExploreField* field = nullptr;
    ValueRange bounds;
};

// What design to targets is asked: free inputs of the current design within bounds, the targets and
// limits on its outputs, and whether a known diffusion capacity follows the paper permeability
// (core/explore/DiffusionCoupling.h).
struct DesignQuestion {
    std::vector<DesignVariable> variables;
    std::vector<DesignTarget> targets;
    bool coupleDiffusion = false;

    std::vector<const ExploreField*> fields() const;
};

// Bounded work. The search first brings the targets as close as it can: it tries `starts` starting
// points (the current design first, then points drawn with `seed`), each with at most
// `evaluationsPerStart` recalculations, and takes the first start, in start order, that comes close
// enough (later starts stop once one has), else the closest of all. With more variables than targets to
// reach, a second phase of at most `evaluationsToNarrow` recalculations then looks for the smallest
// change of today's design that reaches the targets as closely. The same question therefore gives the
// same answer on any machine, however many threads run the starts.
struct TargetSearchLimits {
    int starts = 4;
    int evaluationsPerStart = 150;
    int evaluationsToNarrow = 150;
    std::uint32_t seed = 20240601;

    int mostEvaluations() const { return starts * evaluationsPerStart + evaluationsToNarrow; }
};

enum class BoundSide { None, Low, High };

struct TargetDesignResult {
    bool found = false;  // some variant passed the sheet's checks
    // The bounds searched: those asked for, within the values the sheet accepts; and whether the sheet
    // narrowed them. One of each per variable.
    std::vector<ValueRange> bounds;
    std::vector<bool> clipped;
    std::vector<double> variables;  // the answer, in the order of the variables
    std::vector<BoundSide> atBound;
    std::vector<TargetReached> targets;
    bool allMet = false;
    double objective = 0;     // the weighted sum of squared misses
    int evaluations = 0;      // the recalculations that led to the answer
    std::vector<int> errors;  // 76/77 of the answer's recalculation
    // The known values the answer holds although it varies what the model ties them to
    // (heldKnownValues).
    std::vector<std::string_view> held;
    DesignValues design;  // the current design with the answer stored, as Accept stores it
    bool cancelled = false;

    // The variables whose bounds hold back an answer that misses a target: those that sit at a bound.
    // Empty when every target is met.
    std::vector<std::size_t> heldBack() const;
};

// Both are called from the search's threads, one call at a time.
struct TargetSearchCallbacks {
    // After each recalculation, with the number done so far.
    std::function<void(int evaluations)> progress;
    // Polled before each recalculation: true ends the search with the best variant so far.
    std::function<bool()> cancelRequested;
};

// The bounds a variable is searched within: its asked bounds narrowed to the values the sheet accepts
// for the field on today's design (validRange).
ValueRange searchBounds(const DesignVariable& variable, const DesignValues& current);

// Why the question cannot be asked of `current` (counts, a field not offered or repeated, bounds that
// are not an increasing pair of numbers or leave nothing the sheet accepts, targets checkTargets
// refuses, a coupling the variables do not allow), or nothing.
std::optional<std::string> checkTargetDesign(const DesignQuestion& question, const DesignValues& current,
                                             const ModelParameters& mp);

// The current design with the variables' values stored and its diffusion coupled when asked: what
// Accept stores.
DesignValues designPoint(const DesignQuestion& question, const DesignValues& current,
                         const std::vector<double>& values, const ModelParameters& mp);

// How each target fares on a recalculated design, deviations of targets of 0 measured against `today`.
std::vector<TargetReached> targetsReached(const std::vector<DesignTarget>& targets,
                                          const DesignValues& design, const DesignValues& today);

// Searches the variables for the values that bring the recalculated current design to the targets:
// minimises the weighted squared misses with a bound-constrained derivative-free method (the model's
// flow tolerance makes its outputs slightly rough) until every target is within 1e-4 (or its tolerance,
// where smaller) and every limit on its side; then, where more variables than targets leave a choice,
// minimises the distance from today's design in the inputs scaled to 0..1 of their bounds, keeping every
// target as close and every limit on its side.
TargetDesignResult designToTargets(const DesignQuestion& question, const DesignValues& current,
                                   const ExploreBasis& basis, const TargetSearchLimits& limits = {},
                                   const TargetSearchCallbacks& callbacks = {});

}  // namespace veltrano
