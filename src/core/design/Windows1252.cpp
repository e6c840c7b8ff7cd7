#include "core/design/Windows1252.h"

#include <array>

namespace veltrano {

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the range equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::u32string decodeWindows1252(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(b >= 0x80 && b <= 0x9F ? kHighControls[b - 0x80] : static_cast<char32_t>(b));
    }
    return out;
}

std::optional<std::string> encodeWindows1252(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        bool found = false;
        for (std::size_t i = 0; i < kHighControls.size() && !found; ++i) {
            if (kHighControls[i] == c) {
                out.push_back(static_cast<char>(0x80 + i));
                found = true;
            }
        }
        if (!found) return std::nullopt;
    }
    return out;
}

}  // namespace veltrano
