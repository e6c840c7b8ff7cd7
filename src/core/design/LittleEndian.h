#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

namespace veltrano {

// Every file of the program stores its numbers little-endian, least significant byte first. These two
// assemble and take apart such a number byte by byte, so the files come out the same on any machine.
// T is an integer or a double (stored as the bits of its IEEE 754 binary64 form).
template <typename T>
using LittleEndianBits = std::conditional_t<sizeof(T) == 8, std::uint64_t,
                                            std::conditional_t<sizeof(T) == 4, std::uint32_t, void>>;

template <typename T>
void storeLittleEndian(std::span<std::uint8_t> out, std::size_t offset, T value) {
    static_assert(std::is_arithmetic_v<T> && (sizeof(T) == 4 || sizeof(T) == 8));
    auto bits = std::bit_cast<LittleEndianBits<T>>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        out[offset + i] = static_cast<std::uint8_t>(bits & 0xFFu);
        bits >>= 8;
    }
}

template <typename T>
T loadLittleEndian(std::span<const std::uint8_t> in, std::size_t offset) {
    static_assert(std::is_arithmetic_v<T> && (sizeof(T) == 4 || sizeof(T) == 8));
    LittleEndianBits<T> bits = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        bits = static_cast<LittleEndianBits<T>>((bits << 8) | in[offset + i]);
    return std::bit_cast<T>(bits);
}

}  // namespace veltrano
