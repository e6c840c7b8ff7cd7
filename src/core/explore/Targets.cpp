#include "core/explore/Targets.h"

#include <cmath>

#include "core/design/NumberText.h"

namespace veltrano {

namespace {

struct Relation {
    std::string_view text;
    TargetKind kind;
};
// The two-character relations first, so that "<=" is not read as a name ending in '<'.
constexpr Relation kRelations[] = {
    {"<=", TargetKind::AtMost}, {">=", TargetKind::AtLeast}, {"=", TargetKind::Equal}};

std::string outputNames() {
    std::string names;
    for (const ExploreOutput& o : exploreOutputs()) {
        if (!names.empty()) names += ' ';
        names += o.name;
    }
    return names;
}

}  // namespace

std::string_view relationText(TargetKind kind) {
    for (const Relation& r : kRelations)
        if (r.kind == kind) return r.text;
    return "=";
}

std::optional<DesignTarget> parseTarget(std::string_view text, std::string& problem) {
    const std::string shown(text);
    const std::size_t at = text.find_first_of("<>=");
    const Relation* relation = nullptr;
    if (at != std::string_view::npos)
        for (const Relation& r : kRelations)
            if (text.substr(at, r.text.size()) == r.text) {
                relation = &r;
                break;
            }
    if (!relation) {
        problem =
            "'" + shown + "': expected NAME=VALUE, NAME<=VALUE or NAME>=VALUE, each with an optional :WEIGHT";
        return std::nullopt;
    }
    DesignTarget target;
    target.kind = relation->kind;
    target.output = findExploreOutput(text.substr(0, at));
    if (!target.output) {
        problem = "'" + shown + "': '" + std::string(text.substr(0, at)) +
                  "' is not an output; outputs: " + outputNames();
        return std::nullopt;
    }
    const std::string_view numbers = text.substr(at + relation->text.size());
    const std::size_t colon = numbers.find(':');
    const std::optional<double> value = finiteNumber(numbers.substr(0, colon));
    const std::optional<double> weight =
        colon == std::string_view::npos ? std::optional(1.0) : finiteNumber(numbers.substr(colon + 1));
    if (!value || !weight) {
        problem = "'" + shown + "': the value and the weight must be numbers";
        return std::nullopt;
    }
    target.value = *value;
    target.weight = *weight;
    if (const std::optional<std::string> why = checkTarget(target)) {
        problem = "'" + shown + "': " + *why;
        return std::nullopt;
    }
    return target;
}

std::optional<std::string> checkTarget(const DesignTarget& target) {
    if (!target.output) return "a target names no output";
    const std::string name(target.output->name);
    if (!std::isfinite(target.value)) return "the target of " + name + " must be a number";
    if (target.value < 0) return "the target of " + name + " cannot be negative: " + name + " never is";
    if (target.value == 0 && !target.output->canBeZero)
        return "the target of " + name + " cannot be 0: " + name + " is always above 0";
    if (!std::isfinite(target.weight) || !(target.weight > 0))
        return "the weight of " + name + " must be above 0";
    if (!std::isfinite(target.tolerance) || !(target.tolerance > 0)) return "the tolerance must be above 0";
    return std::nullopt;
}

std::optional<std::string> checkTargets(std::span<const DesignTarget> targets) {
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (std::optional<std::string> why = checkTarget(targets[i])) return why;
        for (std::size_t j = 0; j < i; ++j)
            if (targets[j].output == targets[i].output)
                return "the output " + std::string(targets[i].output->name) + " is named twice";
    }
    return std::nullopt;
}

double deviationScale(const DesignTarget& target, double today) {
    if (target.value != 0) return std::fabs(target.value);
    if (std::isfinite(today) && today != 0) return std::fabs(today);
    return 1;
}

TargetReached targetReached(const DesignTarget& target, double reached, double scale) {
    TargetReached r;
    r.reached = reached;
    r.deviation = (reached - target.value) / scale;
    switch (target.kind) {
        case TargetKind::Equal:
            r.miss = r.deviation;
            r.met = std::fabs(r.deviation) <= target.tolerance;
            break;
        case TargetKind::AtMost:
            r.miss = std::max(r.deviation, 0.0);
            r.met = reached <= target.value;
            break;
        case TargetKind::AtLeast:
            r.miss = std::min(r.deviation, 0.0);
            r.met = reached >= target.value;
            break;
    }
    // A comparison with NaN is false, so nothing is met; the miss stays NaN and costs a search the most.
    if (std::isnan(reached)) r.miss = reached;
    return r;
}

}  // namespace veltrano
