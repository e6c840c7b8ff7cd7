#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/design/ByteStream.h"
#include "core/design/CigaretteDesign.h"
#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"
#include "core/design/SafeSave.h"

namespace veltrano {

// The start-up design file's name, wherever it lies.
inline constexpr char kStartupDesignFileName[] = "Startup_cigarette.dat";

// A block of the start-up design file: the record image, the 28 owned arrays, then, when the image's
// `puff_number` n is above 0, `puff_size` (n i32) and the eight puff arrays (n f64 each).
inline constexpr std::uint64_t kStartupBlockSize = 71368;  // without puff-by-puff data
inline constexpr std::uint64_t kStartupBytesPerPuff = 68;

// Writes the block of `design`. Every array goes out with exactly its count of values (a missing or
// short array as zeros), so the block always has the length its image announces. Returns whether
// every write was taken.
bool writeBlock(ByteSink& sink, const CigaretteDesign& design);

// Reads one block into `design`. Returns 0, or 1 on any short read. The design takes the image's values
// (keeping its own arrays), then the 28 arrays; a design without arrays is given them. Its puff-by-puff
// data become exactly the block's: none when `puff_number` ≤ 0. A count whose puff data would exceed
// what the source still holds fails before anything is allocated; the design then has no puff data.
int readBlock(ByteSource& source, CigaretteDesign& design);

// Reads the blocks of `currentDesign`, `referenceDesign` and `workingReference`, in that order, stopping at
// the first failure; the designs read before it keep what was read. Returns 0, or 1 when the file
// cannot be opened or a block fails. Bytes after the third block are not read.
int loadStartupDesigns(const std::string& path, DesignSet& designs);
int loadStartupDesigns(ByteSource& source, DesignSet& designs);

// Writes the three blocks through the safe save (see saveAndReport) and reports a failure: 052 when
// the file cannot be opened for writing, 053 when it was not written completely. Returns 0 or the
// number reported first.
int saveStartupDesigns(const std::string& path, const DesignSet& designs, ErrorReporter& errors,
                       SaveFileSystem& fileSystem);
// The same without a report, as the about box's gesture saves: 0 only when the whole file is in
// place, otherwise 1.
int saveStartupDesigns(const std::string& path, const DesignSet& designs, SaveFileSystem& fileSystem);
int saveStartupDesigns(const std::string& path, const DesignSet& designs);

// Saves to the first of `targets` that takes the whole file, making its folder first when it is
// missing. Returns the path written, or nothing when none took it.
std::optional<std::filesystem::path> saveStartupDesignsToFirst(
    const std::vector<std::filesystem::path>& targets, const DesignSet& designs);

}  // namespace veltrano
