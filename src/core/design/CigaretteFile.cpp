#include "core/design/CigaretteFile.h"

#include <algorithm>
#include <array>

namespace veltrano {

namespace {

std::span<const std::uint8_t, kImageSize> imageAt(std::span<const std::uint8_t> bytes, std::size_t index) {
    return std::span<const std::uint8_t, kImageSize>(bytes.data() + index * kImageSize, kImageSize);
}

}  // namespace

std::vector<std::uint8_t> encodeCigaretteFile(const DesignSet& designs) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kCigaretteFileSize);
    for (auto member : kCigaretteImageOrder) {
        const DesignImage image = encodeDesignImage(designs.*member);
        bytes.insert(bytes.end(), image.begin(), image.end());
    }
    bytes.insert(bytes.end(), designs.informationText.begin(), designs.informationText.end());
    return bytes;
}

CigaretteFileCheck checkCigaretteFile(std::span<const std::uint8_t> bytes) {
    CigaretteFileCheck check;
    check.rightSize = bytes.size() == kCigaretteFileSize;
    for (std::size_t i = 0; i < 3; ++i)
        check.imageAccepted[i] = bytes.size() >= (i + 1) * kImageSize && hasDesignMagic(imageAt(bytes, i));
    return check;
}

int readCigaretteFile(const std::string& path, DesignSet& designs, ErrorReporter& errors) {
    auto source = FileByteSource::open(path);
    if (!source) {
        ReportError(errors, kErrorCigaretteNotReadable);
        return kErrorCigaretteNotReadable;
    }
    return readCigaretteFile(*source, designs, errors);
}

int readCigaretteFile(ByteSource& source, DesignSet& designs, ErrorReporter& errors) {
    // One byte more than a file holds tells a longer file from an exact one.
    std::vector<std::uint8_t> bytes(kCigaretteFileSize + 1);
    const std::size_t got = source.read(bytes);
    if (!checkCigaretteFile(std::span(bytes).first(got)).accepted()) {
        ReportError(errors, kErrorNotCigaretteData);
        return kErrorNotCigaretteData;
    }

    std::array<DesignValues, 3> values;
    for (std::size_t i = 0; i < 3; ++i) decodeDesignImage(imageAt(bytes, i), values[i]);
    for (std::size_t i = 0; i < 3; ++i) {
        CigaretteDesign& design = designs.*kCigaretteImageOrder[i];
        design.freePuffData();
        design.assign(values[i]);
    }
    std::copy_n(bytes.begin() + 3 * kImageSize, kInformationTextSize, designs.informationText.begin());
    return 0;
}

int saveCigaretteFile(const std::string& path, const DesignSet& designs, ErrorReporter& errors,
                      SaveFileSystem& fileSystem) {
    const std::vector<std::uint8_t> bytes = encodeCigaretteFile(designs);
    const std::span<const std::uint8_t> all(bytes);
    const std::array<std::span<const std::uint8_t>, 4> pieces{
        all.subspan(0, kImageSize), all.subspan(kImageSize, kImageSize),
        all.subspan(2 * kImageSize, kImageSize), all.subspan(3 * kImageSize)};
    return saveAndReport(path, pieces, kErrorCigaretteNotWritable, errors, fileSystem);
}

int saveCigaretteFile(const std::string& path, const DesignSet& designs, ErrorReporter& errors) {
    SystemSaveFileSystem fileSystem;
    return saveCigaretteFile(path, designs, errors, fileSystem);
}

}  // namespace veltrano
