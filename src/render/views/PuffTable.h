#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/design/CigaretteDesign.h"

namespace veltrano {

// The per-puff results of a design as the summary view and the printed page list them.

// Where a table is drawn: the screen and the paper differ in a few texts.
enum class Medium { Screen, Paper };

// The puffs whose per-puff values exist: `puff_number`, bounded by the lengths of the arrays.
int puffCount(const CigaretteDesign& design);

// The per-puff cells are filled only when puffs exist, the ISO puff number is known (bit 23) and
// the per-puff data belong to the present inputs.
bool puffTableFilled(const CigaretteDesign& design, bool puffByPuffValid);

// The puff shown in each of `columns` columns (indices from 0). Up to `columns` puffs fill the
// columns in order; more puffs show the first five, a column of dots (kDotsColumn) and the last
// columns − 6. The result has min(puffs, columns) entries.
inline constexpr int kDotsColumn = -1;
inline constexpr char kDots[] = ".....";
std::vector<int> puffTableColumns(int puffs, int columns);

// The seven rows: label and unit.
inline constexpr int kPuffTableRows = 7;
struct PuffTableRow {
    const char* label;
    const char* unit;
};
const std::array<PuffTableRow, kPuffTableRows>& puffTableRows(Medium medium);

// The text of row `row` for puff `puff` (below puffCount): "%.2f", or "-.--" for a yield whose
// bit is clear.
std::string puffCellText(const CigaretteDesign& design, int row, int puff);

}  // namespace veltrano
