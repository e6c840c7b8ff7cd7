#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/design/ByteStream.h"
#include "core/design/DesignFields.h"
#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"
#include "core/design/SafeSave.h"

namespace veltrano {

// A cigarette file: the images of the reference, the working reference and the current design, then the
// 512 bytes of information text. Nothing else, nothing more.
inline constexpr std::size_t kCigaretteFileSize = 3 * kImageSize + kInformationTextSize;  // 13016

// The designs whose images the file holds, in file order.
inline constexpr CigaretteDesign DesignSet::*kCigaretteImageOrder[3] = {
    &DesignSet::referenceDesign, &DesignSet::workingReference, &DesignSet::currentDesign};

// The bytes of a cigarette file of `designs`.
std::vector<std::uint8_t> encodeCigaretteFile(const DesignSet& designs);

// The check Open makes on a file's bytes: it accepts exactly 13016 bytes whose three images each begin
// with the record magic. Writers run it too, so that they never write a file Open refuses.
struct CigaretteFileCheck {
    bool rightSize = false;
    std::array<bool, 3> imageAccepted{};  // in file order
    bool accepted() const { return rightSize && imageAccepted[0] && imageAccepted[1] && imageAccepted[2]; }
};
CigaretteFileCheck checkCigaretteFile(std::span<const std::uint8_t> bytes);

// Reads a cigarette file, all or nothing. Returns 0 when the file was accepted: the three designs lose
// their puff-by-puff data and take the values of the file's images (their own arrays stay), and the
// information text takes the file's 512 bytes as they are. Otherwise reports and returns
// 54 (the file cannot be opened) or 55 (not exactly 13016 bytes, or an image without the record magic),
// and nothing changes. At most 13017 bytes are read, whatever the size of the file.
int readCigaretteFile(const std::string& path, DesignSet& designs, ErrorReporter& errors);
int readCigaretteFile(ByteSource& source, DesignSet& designs, ErrorReporter& errors);

// Writes the cigarette file of `designs` to `path` through the safe save. Returns 0 when the whole file
// is in place; 52 when the file could not be opened for writing (reported once); 53 when a piece (the
// three images and the text) was not written completely (reported once per piece) or the file could not
// be made or put in place (reported once). After 52 or 53 an old file is unchanged, unless its folder
// refuses new files and it had to be written in place.
int saveCigaretteFile(const std::string& path, const DesignSet& designs, ErrorReporter& errors,
                      SaveFileSystem& fileSystem);
int saveCigaretteFile(const std::string& path, const DesignSet& designs, ErrorReporter& errors);

}  // namespace veltrano
