#pragma once

#include <array>

namespace veltrano {

// The nine plug wrap permeability grades in CU, ascending: what the tipping page's Help offers and what
// the searches round a plug wrap result up to.
inline constexpr std::array<double, 9> plugWrapGrades{3300,  4800,  6000,  8000, 10000,
                                                      12000, 15000, 24000, 26000};

}  // namespace veltrano
