#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "core/design/CigaretteDesign.h"

namespace veltrano {

// The one place where the views, the printed page and the raw listing turn a value into text.

// What a value cell of the result tables holds ("30000.00", "1.23e+06"): a longer number would run
// into its neighbours.
inline constexpr std::size_t kCellCharacters = 8;

// The value formatted with its printf format ("%.2f"). A value that is not a finite number (NaN or
// infinite, as a hostile file or a failed computation leaves it) shows `placeholder`, the dashes the
// cell shows when its value is not available. A text longer than `width` characters shows in
// exponent form, with as many decimals as fit ("1.23e+06", "-1e+300"; at least one significant digit,
// so the text may then still pass `width` by a few characters but never by hundreds).
std::string valueText(std::string_view format, double value, std::string_view placeholder,
                      std::size_t width = kCellCharacters);
// The same for a cell without dashes of its own: those of its format ("%.2f": "-.--", "%.1f":
// "-.-", "%.0f": "-"), padded to the format's width.
std::string valueText(std::string_view format, double value, std::size_t width = kCellCharacters);
std::string dashesOf(std::string_view format);

// A value shown only when its condition holds (usually a known bit); its placeholder otherwise. The
// value is not looked at when the condition fails.
std::string valueOr(bool condition, std::string_view format, double value, std::string_view placeholder);

// Several values in one text, each as valueText makes it within `width` characters, joined by
// `separator` ("35/2/60").
std::string joinedValues(std::string_view format, std::initializer_list<double> values,
                         std::string_view separator, std::string_view placeholder, std::size_t width);

// The alternative regime as the yields and puff views title it: "%.0f/%.0f/%.0f/%.0f%%" of volume,
// duration, interval and blocking.
std::string regimeTitle(const DesignValues& design);

}  // namespace veltrano
