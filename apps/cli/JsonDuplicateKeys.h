#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrano::cli {

// A key that an object of the JSON text holds twice, as "'key'" or "'key' in 'object'" (the object
// named by its own key), or nothing. JSON parsers keep one of the two values without a word, so
// whoever reads a description checks this first. `text` must be valid JSON.
std::optional<std::string> findDuplicateKey(std::string_view text);

}  // namespace veltrano::cli
