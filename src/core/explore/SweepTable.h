#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/explore/ExploreFields.h"
#include "core/explore/ExploreOutputs.h"
#include "core/explore/Sweep.h"

namespace veltrano {

// The columns of a sweep's table: the point index, the varied fields, the status, the outputs, with the
// puff-by-puff analysis its puff count and per-puff lists, and the point's errors.
struct SweepColumns {
    std::vector<const ExploreField*> inputs;
    std::vector<const ExploreOutput*> outputs;
    bool puffs = false;
};
SweepColumns sweepColumns(const SweepGrid& grid, std::vector<const ExploreOutput*> outputs, bool puffs);

// The status word of a row: "ok" or "refused".
std::string_view statusWord(VariantStatus status);
// The texts of the errors, one after the other.
std::string errorTexts(const std::vector<int>& errors);

// The per-puff lists as rows name them ("puff_size", then the eight lists of puffArrays()) and their units.
struct PuffColumn {
    std::string_view name;
    std::string_view unit;
};
const std::vector<PuffColumn>& puffColumns();

// The table as CSV (RFC 4180: comma-separated, CR LF line ends, fields quoted where needed), numbers at
// full precision with a '.' whatever the locale. The header names each column with its unit in
// brackets; a refused point leaves its outputs empty; a per-puff list is one field of numbers separated
// by spaces.
std::string sweepCsvHeader(const SweepColumns& columns);
std::string sweepCsvRow(const SweepColumns& columns, const SweepPoint& point);

}  // namespace veltrano
