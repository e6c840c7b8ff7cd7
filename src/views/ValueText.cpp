#include "views/ValueText.h"

#include "design/NumberText.h"

namespace veltrano {

std::string valueOr(bool condition, std::string_view format, double value, std::string_view placeholder) {
    return condition ? formatNumber(format, value) : std::string(placeholder);
}

}  // namespace veltrano
