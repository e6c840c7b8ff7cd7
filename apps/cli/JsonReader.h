#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace veltrano::cli {

// Objects and lists nest at most this deep: what `evaluate` prints nests three levels, and deeper text
// would cost the parser memory and the value's copies their stack, in proportion to the nesting.
inline constexpr int kMaxJsonDepth = 64;

// A JSON text read whole. JSON parsers keep one of two values given under the same key without a
// word, so the reading also names the first key an object holds twice, and whoever reads a
// description refuses it.
struct JsonReading {
    nlohmann::json value;
    // Why the text was not read, to follow its name: "is not valid JSON: line 1, column 24: ..." or
    // "nests objects and lists deeper than 64 levels"; empty when it was read.
    std::string error;
    std::optional<std::string>
        duplicateKey;  // "'key'", or "'key' in 'object'" (the object named by its own key)
};

JsonReading readJson(std::string_view text);

}  // namespace veltrano::cli
