#include "core/solver/SolverTargets.h"

#include <span>

namespace veltrano {

namespace {

std::span<const TargetItem> itemsOf(SolverGroup group) {
    if (group == SolverGroup::Tipping) return kTippingTargetItems;
    return kPaperTargetItems;
}

bool offered(const TargetItem& item, const DesignValues& design) {
    return item.knownBit == KnownBit::None || design.isKnown(item.knownBit);
}

}  // namespace

std::optional<SolverTarget> solverTargetFromCode(int code) {
    if (code < static_cast<int>(SolverTarget::FilterVentilation) ||
        code > static_cast<int>(SolverTarget::PuffNumber))
        return std::nullopt;
    return static_cast<SolverTarget>(code);
}

std::vector<TargetItem> offeredTargets(SolverGroup group, const DesignValues& design) {
    std::vector<TargetItem> items;
    for (const TargetItem& item : itemsOf(group))
        if (offered(item, design)) items.push_back(item);
    return items;
}

bool targetOffered(SolverGroup group, SolverTarget code, const DesignValues& design) {
    for (const TargetItem& item : itemsOf(group))
        if (item.code == code) return offered(item, design);
    return false;
}

bool groupOffered(SolverGroup group, const DesignValues& design) {
    const std::int32_t type = design.tp_perfotype;
    if (group == SolverGroup::Tipping)
        return type == kElectrostatic || type == kMicroLaser || type == kMacroLaser;
    // A type outside 0..4 ventilates nothing in the model: like no perforation, only the paper is left.
    return type != kOnlineLaser;
}

std::string_view targetUnit(SolverTarget code) {
    switch (code) {
        case SolverTarget::FilterVentilation:
        case SolverTarget::RodVentilation:
            return "%.";
        case SolverTarget::PuffNumber:
            return ".";
        default:
            return "mg/cig.";
    }
}

}  // namespace veltrano
