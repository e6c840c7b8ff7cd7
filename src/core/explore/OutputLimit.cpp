#include "core/explore/OutputLimit.h"

#include <cmath>

#include "core/design/NumberText.h"

namespace veltrano {

std::optional<OutputLimit> parseOutputLimit(std::string_view text, std::string& problem) {
    const std::size_t at = text.find_first_of("<>");
    if (at == std::string_view::npos || text.substr(at + 1, 1) != "=") {
        problem = "the limit '" + std::string(text) + "' must read NAME<=VALUE or NAME>=VALUE";
        return std::nullopt;
    }
    OutputLimit limit;
    limit.ceiling = text[at] == '<';
    const std::string_view name = text.substr(0, at);
    limit.output = findExploreOutput(name);
    if (!limit.output) {
        problem = "the limit '" + std::string(text) + "' names no output ('" + std::string(name) + "')";
        return std::nullopt;
    }
    const std::optional<double> value = finiteNumber(text.substr(at + 2));
    if (!value) {
        problem = "the value of the limit '" + std::string(text) + "' must be a finite number";
        return std::nullopt;
    }
    limit.value = *value;
    return limit;
}

std::string limitText(const OutputLimit& limit) {
    return std::string(limit.output->name) + (limit.ceiling ? "<=" : ">=") + shortestText(limit.value);
}

bool isOutside(const OutputLimit& limit, double value) {
    if (std::isnan(value)) return true;
    return limit.ceiling ? value > limit.value : value < limit.value;
}

}  // namespace veltrano
