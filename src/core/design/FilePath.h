#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace veltrano {

// The core takes paths as UTF-8 texts. A std::filesystem::path made from plain chars, or turned into
// them, goes through the system's code page on Windows; these two go through UTF-8 on every system.
inline std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace veltrano
