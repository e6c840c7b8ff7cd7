#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrano {

// The information text and the message texts of files from every version are Windows-1252.
// Decoding never fails (the five unassigned bytes map to the C1 controls of the same value);
// encoding gives nothing when a character has no Windows-1252 byte.
std::u32string decodeWindows1252(std::string_view bytes);
std::optional<std::string> encodeWindows1252(std::u32string_view text);

}  // namespace veltrano
