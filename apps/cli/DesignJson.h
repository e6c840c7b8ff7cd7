#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "JsonWriter.h"
#include "core/design/CigaretteDesign.h"
#include "core/design/DesignSet.h"

namespace veltrano::cli {

// Every value of the record under its name, then the owned arrays (when the design has them) and the
// puff-by-puff arrays (when it holds puffs).
void writeDesign(JsonWriter& json, const CigaretteDesign& design);

// The information text as UTF-8 (the bytes are Windows-1252).
std::string informationTextUtf8(const InformationText& text);

// Reads the values named in `object` (a JSON object) into `values`; absent names keep what `values` holds.
// Array names of the output schema are accepted and ignored (files do not keep arrays). Returns a message
// naming the first unknown field or wrong type, or nothing when all is well.
std::optional<std::string> readDesign(const nlohmann::json& object, DesignValues& values);

// Windows-1252 bytes of a UTF-8 text for the information text, or a message.
std::optional<std::string> informationTextFromUtf8(const std::string& utf8, InformationText& text);

}  // namespace veltrano::cli
