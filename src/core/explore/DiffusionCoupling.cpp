#include "core/explore/DiffusionCoupling.h"

#include <algorithm>
#include <cmath>

#include "core/model/Characteristics.h"

namespace veltrano {

namespace {

bool varies(std::span<const ExploreField* const> varied, double DesignValues::*member) {
    return std::any_of(varied.begin(), varied.end(),
                       [member](const ExploreField* f) { return f && f->member() == member; });
}

}  // namespace

bool holdsKnownDiffusion(const DesignValues& current) {
    return current.isKnown(KnownBit::PaperDiffusion);
}

std::optional<std::string> couplingProblem(std::span<const ExploreField* const> varied,
                                           const DesignValues& current, const ModelParameters& mp) {
    if (varies(varied, &DesignValues::cp_diff))
        return "the diffusion capacity cp_diff cannot be varied while it follows the permeability";
    const double today = predictDiffusion(current, mp);
    if (holdsKnownDiffusion(current) && !(std::isfinite(today) && today > 0))
        return "the diffusion cannot follow the permeability: today's paper predicts no diffusion to scale "
               "from";
    return std::nullopt;
}

void coupleDiffusion(DesignValues& point, const DesignValues& current, const ModelParameters& mp) {
    if (!holdsKnownDiffusion(current)) return;
    // The ratio first, so that today's permeability gives today's value bit for bit.
    point.cp_diff = current.cp_diff * (predictDiffusion(point, mp) / predictDiffusion(current, mp));
}

std::vector<std::string_view> heldKnownValues(std::span<const ExploreField* const> varied,
                                              const DesignValues& current, bool coupled) {
    if (coupled || !holdsKnownDiffusion(current) || !varies(varied, &DesignValues::cp_perm)) return {};
    return {"cp_diff"};
}

std::string heldText(std::span<const std::string_view> held) {
    if (held.empty()) return {};
    std::string text = "known values held at today's value while the inputs they follow vary:";
    for (std::string_view name : held) text += " " + std::string(name);
    return text;
}

}  // namespace veltrano
