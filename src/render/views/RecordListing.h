#pragma once

#include <string>
#include <vector>

#include "core/design/CigaretteDesign.h"

namespace veltrano {

// The lines of the raw listing of a design, top to bottom, 12 pixels apart: the magic, then one
// line per field ("tp_width       %6.2f", ...), then the nine puff-by-puff lines with the values
// joined by "/". A line holds at most 255 characters; a value that does not fit is left off, and
// so are the values after it. The text is Windows-1252 (the magic comes from a file).
inline constexpr int kListingLineHeight = 12;
inline constexpr std::size_t kListingLineLimit = 255;
std::vector<std::string> recordListingLines(const CigaretteDesign& design);

}  // namespace veltrano
