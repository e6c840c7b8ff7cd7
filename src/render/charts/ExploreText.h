#pragma once

#include <string>

#include "core/explore/ExploreFields.h"
#include "core/explore/ExploreOutputs.h"

namespace veltrano {

// How the exploration dialogs, charts and tables name inputs and outputs, and write their values.

// The field's label as its page shows it; where two offered fields share a label, the group
// ("Plug Wrap Paper: Permeability exponent") or the sub-label tells them apart.
std::string fieldTitle(const ExploreField& field);
// The title with its unit in brackets ("Air permeability (ISO 2965) [CU]"); no brackets without a unit.
std::string fieldTitleWithUnit(const ExploreField& field);
std::string outputTitleWithUnit(const ExploreOutput& output);
// The unit an axis of the output is headed with ("puffs" for the puff numbers, which have none).
std::string axisUnit(const ExploreOutput& output);

// An input as the field shows it ("%.2f" and the like), and as it is stored: the shortest text that
// reads back as the same number.
std::string shownInput(const ExploreField& field, double value);
std::string storedInput(double value);
// An output in the tables, the hover box and the map's numbers: three decimals, dashes for a value
// that is not a number.
std::string outputText(double value);

}  // namespace veltrano
