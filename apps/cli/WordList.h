#pragma once

#include <string>
#include <string_view>

namespace veltrano::cli {

// Appends `word` to a space-separated list (the names a usage message offers). Appending in place also
// spares GCC 12 at -O3 a false overlapping-copy warning that `"" + std::string` chains provoke.
inline void appendWord(std::string& list, std::string_view word) {
    if (!list.empty()) list += ' ';
    list += word;
}

}  // namespace veltrano::cli
