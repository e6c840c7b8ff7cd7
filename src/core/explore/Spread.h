#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrano {

// How much one input of a design varies between cigarettes: a normal spread of standard deviation
// `amount`, or a uniform one of ±`amount`, in percent of today's value or in the input's own unit.
struct Spread {
    enum class Shape { Normal, Uniform };
    Shape shape = Shape::Normal;
    double amount = 0;     // >= 0
    bool percent = false;  // amount in % of today's value
};

// Reads a spread as it is typed: "5%" (normal, relative), "0.4" (normal, in the input's unit), "u10%" or
// "u0.4" (uniform ±). The amount is a finite decimal number, not negative; anything else is nothing.
std::optional<Spread> parseSpread(std::string_view text);
// The text parseSpread reads back to the same spread.
std::string spreadText(const Spread& spread);

// The value of an input of today's value `today` for the draw `u` in (0, 1): the normal quantile of u
// or a point of the uniform interval, scaled by the spread. A zero amount gives `today` exactly.
double spreadValue(const Spread& spread, double today, double u);

}  // namespace veltrano
