#pragma once

#include <string_view>
#include <vector>

#include "core/design/CigaretteDesign.h"

namespace veltrano {

// An input of a design that no design sheet stores: a value that is not a finite number, or a
// magnitude below zero. `field` is the record's name of it.
struct InputProblem {
    std::string_view field;
    bool negative;  // finite but below zero; otherwise not a finite number
};
// Every such input of `values`, in record order (the puff shape counts once, for any of its slots).
std::vector<InputProblem> impossibleInputs(const DesignValues& values);

// The names of the results (and derived coefficients) of `values` that are not finite numbers, in record
// order.
std::vector<std::string_view> nonFiniteResults(const DesignValues& values);

}  // namespace veltrano
