#include "core/explore/OutputLimit.h"

#include "core/design/NumberText.h"

namespace veltrano {

std::optional<OutputLimit> parseOutputLimit(std::string_view text, std::string& problem) {
    std::optional<DesignTarget> target = parseTarget(text, problem);
    if (!target) return std::nullopt;
    if (target->kind == TargetKind::Equal || text.find(':') != std::string_view::npos) {
        problem = "'" + std::string(text) + "': a limit reads NAME<=VALUE or NAME>=VALUE, without a weight";
        return std::nullopt;
    }
    return target;
}

std::string limitText(const OutputLimit& limit) {
    return std::string(limit.output->name) + std::string(relationText(limit.kind)) +
           shortestText(limit.value);
}

bool isOutside(const OutputLimit& limit, double value) {
    return !targetReached(limit, value, 1).met;
}

}  // namespace veltrano
