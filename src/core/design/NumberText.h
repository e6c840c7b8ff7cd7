#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace veltrano {

// Reads a number the way every entry field, puff shape file line and solver target is read:
// leading blanks and tabs skipped, an optional sign, digits with an optional decimal point (at least
// one digit), an optional exponent; the longest such prefix is the value, 0 when there is none.
// No inf, NaN, hexadecimal or decimal comma, whatever the locale. An overflowing prefix reads as
// ±1.7976931348623157e308, so the result is always finite.
double readNumber(std::string_view text);

// One argument of formatText: integers, doubles and strings.
using FormatArg = std::variant<long long, double, std::string_view>;

// printf-style formatting, independent of the locale: %d %i %u %x %X %f %e %E %s %c and %%, with the
// flags "-+ 0", a width and a precision ("%.2f", "%08X", "%10.7e", "%03i"). A double given to an
// integer conversion is truncated through checkedToInt; an integer given to %f is widened.
std::string formatText(std::string_view format, std::initializer_list<FormatArg> args);

// Shorthand for a single value: formatNumber("%.2f", x).
std::string formatNumber(std::string_view format, double value);

// A number at full precision for files other programs read: 17 significant digits as "%.17g" writes
// them, whatever the locale; non-finite numbers as "NaN", "Infinity" and "-Infinity".
std::string fullPrecisionText(double value);

// The one conversion of a double to an int: truncates toward zero, NaN gives 0, values beyond the
// int range clamp to its ends.
int checkedToInt(double value);

// floor() into an int with the same clamping.
int checkedFloorToInt(double value);

}  // namespace veltrano
