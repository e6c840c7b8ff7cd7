#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/explore/ExploreOutputs.h"

namespace veltrano {

// What an output is asked for: to reach a value, or to stay at or below (a ceiling) or at or above (a
// floor) one.
enum class TargetKind { Equal, AtMost, AtLeast };

// A target or a limit on an output of the recalculated current design. `weight` scales how hard it pulls
// in a search; an Equal target is met within the relative deviation `tolerance`, a limit on its side.
struct DesignTarget {
    const ExploreOutput* output = nullptr;
    double value = 0;
    double weight = 1;
    double tolerance = 0.01;
    TargetKind kind = TargetKind::Equal;
};

// How a target fares on a recalculated design. `deviation` is signed: (reached - value) / scale, the
// scale being |value|, or for a value of 0 today's value of the output (see deviationScale). `miss` is
// the part of it that pulls a search: all of it for an Equal target, only the part beyond the limit for
// a ceiling or a floor (0 on its side).
struct TargetReached {
    double reached = 0;
    double deviation = 0;
    double miss = 0;
    bool met = false;
};

// Reads "NAME=VALUE", "NAME<=VALUE" or "NAME>=VALUE", each optionally followed by ":WEIGHT": NAME an
// output of exploreOutputs(), VALUE and WEIGHT whole numbers as the command line writes them. The value
// and the weight pass checkTarget. Nothing, with `problem` saying why, when the text is not such a target.
std::optional<DesignTarget> parseTarget(std::string_view text, std::string& problem);

// The relation as targets write it: "=", "<=" or ">=".
std::string_view relationText(TargetKind kind);

// Why the target cannot be asked for (no output, a value that is not a number, negative, or 0 for an
// output that cannot be 0, a weight or a tolerance that is not above 0), or nothing.
std::optional<std::string> checkTarget(const DesignTarget& target);

// Why a list of targets cannot be asked for together: a target that checkTarget refuses, or an output
// named twice. Nothing when they can.
std::optional<std::string> checkTargets(std::span<const DesignTarget> targets);

// What a deviation from `target` is measured against: |value|, or for a target of 0 (where a relative
// deviation means nothing) today's value of the output, so that 1 % is 1 % of today's value; the output's
// unit when today's value is 0 as well.
double deviationScale(const DesignTarget& target, double today);

// How `reached` fares against the target, its deviation measured against `scale`. A value that is not a
// number meets nothing.
TargetReached targetReached(const DesignTarget& target, double reached, double scale);

}  // namespace veltrano
