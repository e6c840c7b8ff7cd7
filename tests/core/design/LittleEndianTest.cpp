#include <array>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "core/design/LittleEndian.h"

namespace veltrano {
namespace {

using Bytes8 = std::array<std::uint8_t, 8>;

// The byte patterns the files hold, least significant byte first, whatever the machine's own order.
TEST(LittleEndian, NumbersAsTheFilesHoldThem) {
    const struct {
        double value;
        Bytes8 bytes;
    } doubles[] = {
        {1.0, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
        {-2.5, {0, 0, 0, 0, 0, 0, 0x04, 0xC0}},
        {84.0, {0, 0, 0, 0, 0, 0, 0x55, 0x40}},
        {4.9e-324, {1, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& d : doubles) {
        Bytes8 out{};
        storeLittleEndian(out, 0, d.value);
        EXPECT_EQ(out, d.bytes) << d.value;
        EXPECT_EQ(loadLittleEndian<double>(d.bytes, 0), d.value) << d.value;
    }

    std::array<std::uint8_t, 6> out{};
    storeLittleEndian(out, 1, std::int32_t{-2});
    EXPECT_EQ(out, (std::array<std::uint8_t, 6>{0, 0xFE, 0xFF, 0xFF, 0xFF, 0}));
    EXPECT_EQ(loadLittleEndian<std::int32_t>(out, 1), -2);
    storeLittleEndian(out, 2, std::uint32_t{0x87FFFFFFu});
    EXPECT_EQ(loadLittleEndian<std::uint32_t>(out, 2), 0x87FFFFFFu);
    EXPECT_EQ(out[5], 0x87);

    // A NaN keeps its payload bit for bit.
    const Bytes8 nan{0xEE, 0xFF, 0xC0, 0, 0, 0, 0xF4, 0x7F};
    Bytes8 again{};
    storeLittleEndian(again, 0, loadLittleEndian<double>(nan, 0));
    EXPECT_EQ(again, nan);
}

}  // namespace
}  // namespace veltrano
