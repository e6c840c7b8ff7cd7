#include "core/design/ByteStream.h"

#include <algorithm>
#include <cstring>

namespace veltrano {

std::size_t MemoryByteSource::read(std::span<std::uint8_t> out) {
    const std::size_t n = std::min(out.size(), bytes_.size() - position_);
    if (n > 0) std::memcpy(out.data(), bytes_.data() + position_, n);
    position_ += n;
    return n;
}

std::optional<FileByteSource> FileByteSource::open(const std::string& path) {
    auto file = platform::openRegularFileForReading(path);
    if (!file) return std::nullopt;
    return FileByteSource(std::move(*file));
}

std::size_t FileByteSource::read(std::span<std::uint8_t> out) {
    const std::size_t got = file_.file.read(out);
    position_ += got;
    return got;
}

std::uint64_t FileByteSource::remaining() const {
    return position_ < file_.size ? file_.size - position_ : 0;
}

FileContent readFileContent(const std::string& path, std::uint64_t cap) {
    FileContent content;
    auto source = FileByteSource::open(path);
    if (!source) return content;
    // Read to the end in steps rather than trusting the size: a file may grow while it is read, and
    // some files report a size of 0. One byte beyond the cap tells a file that is too large.
    constexpr std::size_t kStep = 64 * 1024;
    for (;;) {
        const std::size_t before = content.bytes.size();
        const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(kStep, cap + 1 - before));
        content.bytes.resize(before + step);
        const std::size_t got = source->read(std::span(content.bytes).subspan(before));
        content.bytes.resize(before + got);
        if (content.bytes.size() > cap) {
            content.bytes.clear();
            content.status = FileContent::Status::TooLarge;
            return content;
        }
        if (got < step) break;
    }
    content.status = FileContent::Status::Read;
    return content;
}

}  // namespace veltrano
