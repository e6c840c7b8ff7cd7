#include "core/design/StartupFile.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <vector>

#include "core/design/DesignFields.h"
#include "core/design/FilePath.h"
#include "core/design/LittleEndian.h"

namespace veltrano {

namespace {

constexpr CigaretteDesign DesignSet::*kBlockOrder[3] = {
    &DesignSet::currentDesign, &DesignSet::referenceDesign, &DesignSet::workingReference};

// Exactly `count` values, little-endian: those the vector holds, zeros for any it lacks.
template <typename T>
bool writeValues(ByteSink& sink, const std::vector<T>& values, std::size_t count) {
    std::vector<std::uint8_t> bytes(count * sizeof(T), 0);
    const std::size_t held = std::min(values.size(), count);
    for (std::size_t i = 0; i < held; ++i) storeLittleEndian(bytes, i * sizeof(T), values[i]);
    return sink.write(bytes);
}

// Fills the vector, which holds its full count already, from the source; a short read fills the
// values that came whole.
template <typename T>
bool readValues(ByteSource& source, std::vector<T>& values) {
    std::vector<std::uint8_t> bytes(values.size() * sizeof(T));
    const std::size_t got = source.read(bytes);
    for (std::size_t i = 0; i < got / sizeof(T); ++i) values[i] = loadLittleEndian<T>(bytes, i * sizeof(T));
    return got == bytes.size();
}

}  // namespace

bool writeBlock(ByteSink& sink, const CigaretteDesign& design) {
    bool ok = sink.write(encodeDesignImage(design));
    for (const OwnedArray& a : ownedArrays())
        ok = writeValues(sink, design.*a.member, static_cast<std::size_t>(a.count)) && ok;
    if (design.puff_number > 0) {
        const auto n = static_cast<std::size_t>(design.puff_number);
        ok = writeValues(sink, design.puff_size, n) && ok;
        for (const PuffArray& a : puffArrays()) ok = writeValues(sink, design.*a.member, n) && ok;
    }
    return ok;
}

int readBlock(ByteSource& source, CigaretteDesign& design) {
    DesignImage image;
    if (source.read(image) != kImageSize) return 1;
    DesignValues values;
    const std::int32_t n = decodeDesignImage(image, values);
    design.assign(values);

    // Same-sized arrays keep their storage; a design without arrays gets them here.
    for (const OwnedArray& a : ownedArrays()) (design.*a.member).resize(static_cast<std::size_t>(a.count));
    for (const OwnedArray& a : ownedArrays())
        if (!readValues(source, design.*a.member)) return 1;

    design.freePuffData();
    if (n <= 0) return 0;
    if (static_cast<std::uint64_t>(n) * kStartupBytesPerPuff > source.remaining()) return 1;
    design.allocatePuffData(n);
    if (!readValues(source, design.puff_size)) return 1;
    for (const PuffArray& a : puffArrays())
        if (!readValues(source, design.*a.member)) return 1;
    return 0;
}

int loadStartupDesigns(const std::string& path, DesignSet& designs) {
    auto source = FileByteSource::open(path);
    if (!source) return 1;
    return loadStartupDesigns(*source, designs);
}

int loadStartupDesigns(ByteSource& source, DesignSet& designs) {
    for (auto member : kBlockOrder)
        if (readBlock(source, designs.*member) != 0) return 1;
    return 0;
}

int saveStartupDesigns(const std::string& path, const DesignSet& designs, ErrorReporter& errors,
                       SaveFileSystem& fileSystem) {
    std::array<MemoryByteSink, 3> blocks;
    std::array<std::span<const std::uint8_t>, 3> pieces;
    for (std::size_t i = 0; i < 3; ++i) {
        writeBlock(blocks[i], designs.*kBlockOrder[i]);
        pieces[i] = blocks[i].bytes;
    }
    return saveAndReport(path, pieces, kErrorCigaretteNotWritable, errors, fileSystem);
}

int saveStartupDesigns(const std::string& path, const DesignSet& designs, SaveFileSystem& fileSystem) {
    RecordingErrorReporter unreported;
    return saveStartupDesigns(path, designs, unreported, fileSystem) == 0 ? 0 : 1;
}

int saveStartupDesigns(const std::string& path, const DesignSet& designs) {
    SystemSaveFileSystem fileSystem;
    return saveStartupDesigns(path, designs, fileSystem);
}

std::optional<std::filesystem::path> saveStartupDesignsToFirst(
    const std::vector<std::filesystem::path>& targets, const DesignSet& designs) {
    for (const std::filesystem::path& target : targets) {
        std::error_code error;
        if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
        if (saveStartupDesigns(utf8Path(target), designs) == 0) return target;
    }
    return std::nullopt;
}

}  // namespace veltrano
