#pragma once

#include <array>
#include <span>
#include <string_view>

#include "core/design/CigaretteDesign.h"

namespace veltrano {

// A result of the recalculated current design that sweeps show and target searches aim at. Most are
// record fields; the totals are defined as the views define them.
struct ExploreOutput {
    std::string_view name;  // the record field name, or the name of the total
    std::string_view label;
    std::string_view unit;  // empty for a count
    double (*read)(const DesignValues& design);
    bool targetable;  // offered as a target of the design search
};

// Every output, in the order rows show them.
std::span<const ExploreOutput> exploreOutputs();
// The output of that name, or nullptr.
const ExploreOutput* findExploreOutput(std::string_view name);

// The values of the sheet's live results strip, in its order.
inline constexpr std::array<std::string_view, 8> kPreviewOutputNames{
    "stat_pdo", "stat_pdc", "stat_fivent", "stat_rovent", "iso_puff", "iso_nfdpm", "iso_nico", "iso_co"};

}  // namespace veltrano
