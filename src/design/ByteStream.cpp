#include "design/ByteStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

// POSIX file access; on Windows the same calls exist as _open, _read, _fstat64 and _close.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veltrano {

std::size_t MemoryByteSource::read(std::span<std::uint8_t> out) {
    const std::size_t n = std::min(out.size(), bytes_.size() - position_);
    if (n > 0) std::memcpy(out.data(), bytes_.data() + position_, n);
    position_ += n;
    return n;
}

std::optional<FileByteSource> FileByteSource::open(const std::string& path) {
    // Non-blocking, so that opening a pipe cannot hang; fstat then refuses everything but a regular file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    return FileByteSource(fd, static_cast<std::uint64_t>(st.st_size));
}

FileByteSource::FileByteSource(FileByteSource&& other) noexcept
    : fd_(other.fd_), size_(other.size_), position_(other.position_) {
    other.fd_ = -1;
}

FileByteSource::~FileByteSource() {
    if (fd_ >= 0) ::close(fd_);
}

std::size_t FileByteSource::read(std::span<std::uint8_t> out) {
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::read(fd_, out.data() + got, out.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    position_ += got;
    return got;
}

std::uint64_t FileByteSource::remaining() const {
    return position_ < size_ ? size_ - position_ : 0;
}

}  // namespace veltrano
