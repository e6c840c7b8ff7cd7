#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/explore/Targets.h"

namespace veltrano {

// A limit on an output is a one-sided target, NAME<=VALUE (a ceiling) or NAME>=VALUE (a floor), read by
// the same parser as design's targets.
using OutputLimit = DesignTarget;

// Reads a limit with parseTarget; a target of "=" or one with a weight is no limit.
std::optional<OutputLimit> parseOutputLimit(std::string_view text, std::string& problem);
// The text parseOutputLimit reads back to the same limit.
std::string limitText(const OutputLimit& limit);
inline bool isCeiling(const OutputLimit& limit) {
    return limit.kind == TargetKind::AtMost;
}

// Whether `value` breaks the limit (a value exactly on it keeps it); a value that is not a number cannot
// be shown to keep it and does.
bool isOutside(const OutputLimit& limit, double value);

}  // namespace veltrano
