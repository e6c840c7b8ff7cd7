#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "design/CigaretteDesign.h"

namespace veltrano {

// What a problem solver search aims at (`SolverTarget`).
enum SolverTarget : int {
    kFilterVentilationTarget = 1,  // degree of filter ventilation, %
    kTarTarget = 2,                // ISO 'tar', mg/cig
    kNicotineTarget = 3,           // ISO nicotine, mg/cig
    kCarbonMonoxideTarget = 4,     // ISO carbon monoxide, mg/cig
    kRodVentilationTarget = 5,     // degree of rod ventilation, %
    kPuffNumberTarget = 6,         // ISO puff number
};

// The two searches of the problem solver: a tipping/plug wrap combination or a cigarette paper.
enum class SolverGroup { Tipping, Paper };

// One item of a target list: its text, its code and the known bit of the current design that offers it
// (-1: always offered).
struct TargetItem {
    std::string_view text;
    int code;
    int knownBit;
};

inline constexpr std::array<TargetItem, 4> kTippingTargetItems{{
    {"the degree of filter ventilation", kFilterVentilationTarget, -1},
    {"nicotine-free dry particulate matter ('tar')", kTarTarget, 25},
    {"nicotine", kNicotineTarget, 24},
    {"carbon monoxide (CO)", kCarbonMonoxideTarget, 26},
}};
inline constexpr std::array<TargetItem, 3> kPaperTargetItems{{
    {"the degree of rod ventilation", kRodVentilationTarget, -1},
    {"carbon monoxide (CO)", kCarbonMonoxideTarget, 26},
    {"the puff number", kPuffNumberTarget, 23},
}};

// The items of a group's target list that the design's known bits offer, in list order.
std::vector<TargetItem> offeredTargets(SolverGroup group, const DesignValues& design);
bool targetOffered(SolverGroup group, int code, const DesignValues& design);

// Whether a group's search can run on the design: the tipping search needs an electrostatic, micro or
// macro laser perforation; the paper search is refused only for online perforation.
bool groupOffered(SolverGroup group, const DesignValues& design);

// The unit label after a target field: "%." for ventilations, "mg/cig." for yields, "." for puffs.
std::string_view targetUnit(int code);

}  // namespace veltrano
