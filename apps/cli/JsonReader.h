#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace veltrano::cli {

// A JSON text read whole. JSON parsers keep one of two values given under the same key without a
// word, so the reading also names the first key an object holds twice, and whoever reads a
// description refuses it.
struct JsonReading {
    nlohmann::json value;
    std::string error;  // why the text is not JSON ("line 1, column 24: ..."); empty when it is
    std::optional<std::string>
        duplicateKey;  // "'key'", or "'key' in 'object'" (the object named by its own key)
};

JsonReading readJson(std::string_view text);

}  // namespace veltrano::cli
