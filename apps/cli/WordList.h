#pragma once

#include <string>
#include <string_view>

namespace veltrano::cli {

// Appends `word` to a list separated by `separator` (the names a usage message offers, the fields a warning
// names). Appending in place also spares GCC 12 at -O3 a false overlapping-copy warning that
// `"" + std::string` chains provoke.
inline void appendWord(std::string& list, std::string_view word, std::string_view separator = " ") {
    if (!list.empty()) list += separator;
    list += word;
}

}  // namespace veltrano::cli
