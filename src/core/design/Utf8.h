#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrano {

// UTF-8, the encoding of texts that leave or enter the program as Unicode (JSON, file names).
// Decoding gives nothing for bytes that are not UTF-8: a cut or stray sequence, an overlong form, a
// surrogate or a code point past U+10FFFF. Encoding takes code points up to U+10FFFF, surrogates
// excepted, and writes U+FFFD for anything else.
std::optional<std::u32string> decodeUtf8(std::string_view bytes);
std::string encodeUtf8(std::u32string_view text);

}  // namespace veltrano
