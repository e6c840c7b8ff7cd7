#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/design/CigaretteDesign.h"
#include "core/design/ModelParameters.h"
#include "core/explore/ExploreFields.h"

namespace veltrano {

// The model ties a paper's diffusion capacity to its air permeability (predictDiffusion). A design whose
// diffusion capacity is marked known keeps the value typed on the sheet whatever the permeability, so
// an exploration that varies the permeability of such a design compares papers that differ in
// permeability alone. Coupling lets the diffusion follow instead, by the model's own relation as the
// problem solver's Accept uses it, scaled so that today's permeability gives today's value: a point of
// permeability P gets D0 * predictDiffusion(P) / predictDiffusion(P0), where the current design holds D0
// at P0. A design whose diffusion is not marked known has it predicted at every point anyway.

// Whether the design's diffusion capacity is marked known (only then does coupling change anything).
bool holdsKnownDiffusion(const DesignValues& current);

// Why an exploration varying `varied` cannot couple the diffusion on `current`: the diffusion capacity
// is varied itself, or today's permeability predicts no positive diffusion to scale from. Nothing when
// it can.
std::optional<std::string> couplingProblem(std::span<const ExploreField* const> varied,
                                           const DesignValues& current, const ModelParameters& mp);

// Gives `point` (the current design with explored values stored) the coupled diffusion capacity; leaves
// it as it is where the current design's diffusion is not marked known.
void coupleDiffusion(DesignValues& point, const DesignValues& current, const ModelParameters& mp);

// The known values of `current` that the points of an exploration varying `varied` hold although the
// model ties them to a varied input, by record field name: "cp_diff" when the diffusion capacity is
// marked known, the permeability varies and the diffusion is not coupled. Empty when none are held.
std::vector<std::string_view> heldKnownValues(std::span<const ExploreField* const> varied,
                                              const DesignValues& current, bool coupled);

// Says which known values are held, for the messages of the command line and the dialogs:
// "known values held at today's value while the inputs they follow vary: cp_diff"; empty when none are.
std::string heldText(std::span<const std::string_view> held);

// Why coupling changes nothing on a design whose diffusion is not marked known.
inline constexpr std::string_view kDiffusionPredictedAnyway =
    "the diffusion capacity is not marked known: the model predicts it from the permeability at every "
    "point anyway";

}  // namespace veltrano
