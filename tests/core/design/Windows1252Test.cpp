#include <gtest/gtest.h>

#include "core/design/Windows1252.h"

namespace veltrano {
namespace {

TEST(Windows1252, RoundTripOfEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::u32string text = decodeWindows1252(all);
    EXPECT_EQ(text[0x80 - 1], U'\u20AC');  // the euro sign
    EXPECT_EQ(text[0xE4 - 1], U'\u00E4');  // a-umlaut, as in Latin-1
    EXPECT_EQ(encodeWindows1252(text), all);
}

TEST(Windows1252, CharactersWithoutAByteAreRefused) {
    EXPECT_EQ(encodeWindows1252(U"a\u00e4\u20ac\r\n"), std::string("a\xE4\x80\r\n"));
    EXPECT_FALSE(encodeWindows1252(U"\u4e2d").has_value());
    EXPECT_FALSE(encodeWindows1252(U"\U0001F600").has_value());
}

}  // namespace
}  // namespace veltrano
