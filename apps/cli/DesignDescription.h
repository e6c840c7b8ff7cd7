#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/design/DesignSet.h"

namespace veltrano::cli {

// "reference", "workingReference" or "current"; nullptr for any other name.
CigaretteDesign* designByName(DesignSet& designs, std::string_view name);
const CigaretteDesign* designByName(const DesignSet& designs, std::string_view name);

// A puff shape file a design of a description names ("altProfileFile"), to be read as the regime page's
// "Load from file" reads it.
struct ShapeFileRequest {
    std::string design;  // "reference", "workingReference" or "current"
    std::string path;
};

// What `build` makes of a description: the designs, the shape files they name, or why it refuses it.
struct DesignDescription {
    DesignSet designs;  // default designs filled from the description
    std::vector<ShapeFileRequest> shapeFiles;
    std::string problem;  // what is refused, naming the key; empty when the description was read
};

// Reads the designs from JSON in the form `evaluate` prints: members "reference", "workingReference"
// and "current" holding fields by name (absent fields keep their defaults), an optional
// "informationText" and "errors" (what evaluate reported; not an input). Refused: text that is not JSON
// or nests too deep, a key given twice, an unknown member or field, a wrong type, anything that would
// give a file Open refuses (a "magic" other than "QMX") and, with `checkInputs`, an input that is not a
// finite number or a magnitude below zero. `source` names the text in the messages.
DesignDescription readDesignDescription(std::string_view text, std::string_view source, bool checkInputs);

}  // namespace veltrano::cli
