#pragma once

#include <vector>

#include "render/charts/ChartParts.h"
#include "render/charts/SweepData.h"

namespace veltrano {

// What the pointer and the user pick on a chart: the point under the pointer and the point chosen
// (−1: none). Exports draw neither.
struct ChartMarks {
    int hovered = -1;
    int selected = -1;
};

// A point's numbers as the pointer's box and the dialog show them: the varied values, then each shown
// output (in its curve's colour when `coloured`), or that the sheet's rules refused it; then the
// texts of its errors (the refusing page's, or those the recalculation reported).
std::vector<InfoLine> pointInfoLines(const SweepData& data, int point, bool coloured);

}  // namespace veltrano
