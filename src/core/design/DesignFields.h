#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

#include "core/design/CigaretteDesign.h"

namespace veltrano {

inline constexpr std::size_t kImageSize = 4168;
using DesignImage = std::array<std::uint8_t, kImageSize>;

// One named value of the record image: where it lies and which member holds it.
struct DesignField {
    using Member =
        std::variant<double DesignValues::*, std::int32_t DesignValues::*, std::uint32_t DesignValues::*,
                     std::array<char, 4> DesignValues::*, std::array<double, kShapeSlots> DesignValues::*>;
    std::string_view name;
    std::uint32_t offset;
    Member member;
};

// Every value of the record in image order. `puff_number` (offset 3868) is not a record value but
// belongs to the puff-by-puff data; the codec handles it beside the table.
std::span<const DesignField> designFields();
const DesignField* findDesignField(std::string_view name);

inline constexpr std::uint32_t kPuffNumberOffset = 3868;

// The image of a design: every value at its offset, little-endian, pointer slots and reserved bytes zero.
DesignImage encodeDesignImage(const CigaretteDesign& design);

// Reads the values of an image into `values`; returns the `puff_number` the image holds.
std::int32_t decodeDesignImage(std::span<const std::uint8_t, kImageSize> image, DesignValues& values);

// True when the image begins with 'Q', 'M', 'X', 0.
bool hasDesignMagic(std::span<const std::uint8_t, kImageSize> image);

}  // namespace veltrano
