#pragma once

#include <string>

#include "core/design/CigaretteDesign.h"

namespace veltrano {

// Whether a tipping perforation of x CU (a whole number, just found by the tipping search) can be made
// well with the design's kind of perforation, its width and its number of tracks: at most one piece of
// advice, empty when there is none.
std::string perforationHints(double x, const DesignValues& design);

}  // namespace veltrano
