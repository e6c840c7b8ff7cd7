#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/design/ByteStream.h"
#include "core/design/CigaretteDesign.h"
#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"

namespace veltrano {

// A cigarette file of the 3.xx generation: two records in an older layout (SI units, an inverted flag
// word) and the information text. Only its first 44576 bytes are read.
inline constexpr std::size_t kLegacyFileSize = 44576;
inline constexpr std::size_t kLegacyReferenceOffset = 8;
inline constexpr std::size_t kLegacyCurrentOffset = 26288;
inline constexpr std::size_t kLegacyTextOffset = 44064;
// The part of a legacy record that holds values: up to and including its flag word at 8496.
inline constexpr std::size_t kLegacyRecordSize = 8500;

// A record with the constructor's defaults that takes the values of a legacy record, converted to this
// version's units, and the `known` word built from the legacy flag word. Any bit pattern converts:
// implausible values (NaN, huge, negative) are taken as they are and left to the sheet pages.
DesignValues convertLegacyRecord(std::span<const std::uint8_t, kLegacyRecordSize> record);

// Imports a legacy file. Returns 0 when it was imported: the three designs lose their puff-by-puff data,
// the current design and the reference take the converted records (their arrays stay), the working
// reference is left for the next recalculation, and the information text takes the file's 512 bytes
// as they are. Otherwise reports and returns 73 (the file cannot be opened) or 74 (fewer than 44576
// bytes), and nothing changes.
int importLegacyFile(const std::string& path, DesignSet& designs, ErrorReporter& errors);
int importLegacyFile(ByteSource& source, DesignSet& designs, ErrorReporter& errors);

}  // namespace veltrano
