#include "core/design/Utf8.h"

namespace veltrano {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isScalarValue(char32_t c) {
    return c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

// What the first byte of a sequence says: how many bytes follow, its own bits of the code point, and
// the smallest code point a sequence of that length may hold (below it, the form is overlong).
struct LeadByte {
    std::size_t continuation;
    char32_t bits;
    char32_t smallest;
};

std::optional<LeadByte> leadByte(unsigned char b) {
    if (b < 0x80) return LeadByte{0, b, 0};
    if ((b & 0xE0) == 0xC0) return LeadByte{1, b & 0x1Fu, 0x80};
    if ((b & 0xF0) == 0xE0) return LeadByte{2, b & 0x0Fu, 0x800};
    if ((b & 0xF8) == 0xF0) return LeadByte{3, b & 0x07u, 0x10000};
    return std::nullopt;  // a continuation byte, or a lead byte no code point needs
}

}  // namespace

std::optional<std::u32string> decodeUtf8(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::optional<LeadByte> lead = leadByte(static_cast<unsigned char>(bytes[i]));
        if (!lead || bytes.size() - i <= lead->continuation) return std::nullopt;
        char32_t c = lead->bits;
        for (std::size_t k = 1; k <= lead->continuation; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < lead->smallest || !isScalarValue(c)) return std::nullopt;
        out.push_back(c);
        i += lead->continuation + 1;
    }
    return out;
}

std::string encodeUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (!isScalarValue(c)) c = kReplacement;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

}  // namespace veltrano
