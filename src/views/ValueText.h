#pragma once

#include <string>
#include <string_view>

namespace veltrano {

// A value formatted with its printf format when its condition holds, its placeholder ("--.--",
// "-.--", ...) otherwise. The value is not looked at when the condition fails.
std::string valueOr(bool condition, std::string_view format, double value, std::string_view placeholder);

}  // namespace veltrano
