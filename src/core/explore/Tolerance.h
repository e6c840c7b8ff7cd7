#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/explore/ExploreFields.h"
#include "core/explore/ExploreOutputs.h"
#include "core/explore/OutputLimit.h"
#include "core/explore/Spread.h"
#include "core/explore/VariantEvaluation.h"

namespace veltrano {

// Samples of one tolerance run: 1 to ten million.
inline constexpr int kMaxToleranceSamples = 10'000'000;

struct ToleranceInput {
    const ExploreField* field = nullptr;
    Spread spread;
};

// A Monte Carlo run over the spreads of some inputs of the current design: sample i is today's design
// with every input drawn from its spread by the seed and i alone. With `coupleDiffusion` a known
// diffusion capacity follows each sample's paper permeability (core/explore/DiffusionCoupling.h).
struct ToleranceSetup {
    std::vector<ToleranceInput> inputs;
    std::vector<const ExploreOutput*> outputs;
    std::vector<OutputLimit> limits;  // each on one of `outputs`
    int samples = 1000;
    std::uint64_t seed = 1;
    bool coupleDiffusion = false;

    std::vector<const ExploreField*> fields() const;
};

// The spread a field's material or machine usually has, to start from: permeabilities ±10 to 15 %,
// pressure drops ±3 to 5 %, tobacco mass ±2 to 3 %, lengths a few tenths of a millimetre; the smoking
// regime is set by the test and varies little.
Spread typicalSpread(const ExploreField& field);
// Whether a tolerance run varies the field unless told otherwise: the four materials whose spread moves
// the results most often (perforation, plug wrap and paper permeability, filter pressure drop, rod mass).
bool variedByDefault(const ExploreField& field);

// Why the setup cannot run on `current` (an input missing, repeated, not offered by the sheet or whose
// known bit is clear, so that its value never reaches the model; no outputs; a limit on an output not
// among them; samples out of range; a coupling of the diffusion the inputs do not allow), or nothing.
std::optional<std::string> checkToleranceSetup(const ToleranceSetup& setup, const DesignValues& current,
                                               const ModelParameters& mp);

// The known values of `current` the samples hold at today's value although the model ties them to a
// varied input ("cp_diff" while the permeability varies without the coupling).
std::vector<std::string> heldValues(const ToleranceSetup& setup, const DesignValues& current);

// Why the field's value does not reach the model on `current` (its known bit is clear), or nothing.
std::optional<std::string> unknownFieldProblem(const ExploreField& field, const DesignValues& current);

// The values sample `index` draws for the inputs, in input order. Each input draws from a stream of its
// own (its place among exploreFields()), so adding an input leaves the others' draws as they were.
std::vector<double> drawnValues(const ToleranceSetup& setup, const DesignValues& current, int index);

// Today's design with the drawn values stored as OK stores typed values, the diffusion coupled when
// asked.
DesignValues toleranceVariant(const ToleranceSetup& setup, const DesignValues& current,
                              std::span<const double> drawn, const ModelParameters& mp);

struct ToleranceSample {
    int index = 0;
    std::vector<double> drawn;  // in input order
    bool refused = false;
    std::vector<double> outputs;  // in output order; empty when refused
    std::vector<int> errors;      // the refusing page's errors, or those the recalculation reported
};

// What the caller of a run sees while it runs; both are called on the thread that runs it.
struct ToleranceCallbacks {
    // A finished sample, in the order of the indices given; samples skipped by a cancel are not passed.
    std::function<void(ToleranceSample&& sample)> sampleDone;
    // Polled between samples: true stops starting new ones (the samples done are kept).
    std::function<bool()> cancelRequested;
};

// Runs the samples `indices` in parallel as a sweep runs its points. Returns how many finished.
int runTolerance(const ToleranceSetup& setup, std::span<const int> indices, const DesignValues& current,
                 const ExploreBasis& basis, const ToleranceCallbacks& callbacks);

}  // namespace veltrano
