#include <gtest/gtest.h>

#include "core/design/Utf8.h"

namespace veltrano {
namespace {

TEST(Utf8, EveryLengthOfSequenceGoesBothWays) {
    const std::u32string text = U"a\u00e4\u07FF\u0800\u20AC\uFFFF\U00010000\U0001F600\U0010FFFF";
    const std::string bytes = encodeUtf8(text);
    EXPECT_EQ(bytes,
              "a\xC3\xA4\xDF\xBF\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBF\xF0\x90\x80\x80\xF0\x9F\x98\x80"
              "\xF4\x8F\xBF\xBF");
    EXPECT_EQ(decodeUtf8(bytes), text);
    EXPECT_EQ(decodeUtf8(""), std::u32string());
    EXPECT_EQ(decodeUtf8(std::string("a\0b", 3)), std::u32string(U"a\0b", 3));
}

TEST(Utf8, WhatIsNotUtf8IsRefused) {
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"a continuation byte alone", "\x80"},
        {"a sequence cut at the end", "a\xE2\x82"},
        {"a sequence cut by a plain byte", "\xC3("},
        {"an overlong slash", "\xC0\xAF"},
        {"an overlong three-byte form", "\xE0\x80\xAF"},
        {"an overlong four-byte form", "\xF0\x8F\xBF\xBF"},
        {"a surrogate", "\xED\xA0\x80"},
        {"past U+10FFFF", "\xF4\x90\x80\x80"},
        {"a five-byte lead", "\xF8\x88\x80\x80\x80"},
        {"a byte no sequence has", "\xFF"},
    };
    for (const auto& c : cases) EXPECT_FALSE(decodeUtf8(c.bytes).has_value()) << c.what;
}

TEST(Utf8, WhatIsNoCodePointIsWrittenAsTheReplacementCharacter) {
    EXPECT_EQ(encodeUtf8(std::u32string{U'a', char32_t{0xD800}, char32_t{0x110000}}),
              "a\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace veltrano
