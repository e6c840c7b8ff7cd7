#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "core/design/CigaretteDesign.h"

namespace veltrano {

// What a problem solver search aims at (`SolverTarget`).
enum class SolverTarget : int {
    FilterVentilation = 1,  // degree of filter ventilation, %
    Tar = 2,                // ISO 'tar', mg/cig
    Nicotine = 3,           // ISO nicotine, mg/cig
    CarbonMonoxide = 4,     // ISO carbon monoxide, mg/cig
    RodVentilation = 5,     // degree of rod ventilation, %
    PuffNumber = 6,         // ISO puff number
};

// The target of a code 1 to 6 as the command line gives it; nothing for any other number.
std::optional<SolverTarget> solverTargetFromCode(int code);

// The two searches of the problem solver: a tipping/plug wrap combination or a cigarette paper.
enum class SolverGroup { Tipping, Paper };

// One item of a target list: its text, its code and the known bit of the current design that offers it
// (None: always offered).
struct TargetItem {
    std::string_view text;
    SolverTarget code;
    KnownBit knownBit;
};

inline constexpr std::array<TargetItem, 4> kTippingTargetItems{{
    {"the degree of filter ventilation", SolverTarget::FilterVentilation, KnownBit::None},
    {"nicotine-free dry particulate matter ('tar')", SolverTarget::Tar, KnownBit::IsoTar},
    {"nicotine", SolverTarget::Nicotine, KnownBit::IsoNicotine},
    {"carbon monoxide (CO)", SolverTarget::CarbonMonoxide, KnownBit::IsoCo},
}};
inline constexpr std::array<TargetItem, 3> kPaperTargetItems{{
    {"the degree of rod ventilation", SolverTarget::RodVentilation, KnownBit::None},
    {"carbon monoxide (CO)", SolverTarget::CarbonMonoxide, KnownBit::IsoCo},
    {"the puff number", SolverTarget::PuffNumber, KnownBit::IsoPuffNumber},
}};

// The items of a group's target list that the design's known bits offer, in list order.
std::vector<TargetItem> offeredTargets(SolverGroup group, const DesignValues& design);
bool targetOffered(SolverGroup group, SolverTarget code, const DesignValues& design);

// Whether a group's search can run on the design: the tipping search needs an electrostatic, micro or
// macro laser perforation; the paper search is refused only for online perforation.
bool groupOffered(SolverGroup group, const DesignValues& design);

// The unit label after a target field: "%." for ventilations, "mg/cig." for yields, "." for puffs.
std::string_view targetUnit(SolverTarget code);

}  // namespace veltrano
