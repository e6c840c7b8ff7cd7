#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/explore/ExploreOutputs.h"

namespace veltrano {

// A one-sided bound on an output: NAME<=VALUE (a ceiling) or NAME>=VALUE (a floor).
struct OutputLimit {
    const ExploreOutput* output = nullptr;
    bool ceiling = true;
    double value = 0;
};

// Reads "NAME<=VALUE" or "NAME>=VALUE" (NAME an output of exploreOutputs(), VALUE a finite number);
// nothing, with `problem` saying why, when the text is not one.
std::optional<OutputLimit> parseOutputLimit(std::string_view text, std::string& problem);
// The text parseOutputLimit reads back to the same limit.
std::string limitText(const OutputLimit& limit);

// Whether `value` breaks the limit; a value that is not a number cannot be shown to keep it and does.
bool isOutside(const OutputLimit& limit, double value);

}  // namespace veltrano
