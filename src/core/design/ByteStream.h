#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/design/PlatformFiles.h"

namespace veltrano {

// Where a file reader takes its bytes from: a file on disk, or memory (tests, fuzzers, the CLI's stdin).
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Fills `out` from the current position; returns how many bytes came (fewer only at the end or on a
    // read error).
    virtual std::size_t read(std::span<std::uint8_t> out) = 0;
    // How many bytes are left to read. Readers check a count taken from the data against it before
    // they allocate anything for that count.
    virtual std::uint64_t remaining() const = 0;
};

class MemoryByteSource : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t read(std::span<std::uint8_t> out) override;
    std::uint64_t remaining() const override { return bytes_.size() - position_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

// A regular file opened for binary reading. Directories, pipes and devices are not opened: no file of
// the program is one, and a pipe or device could block the reader or feed it without end.
class FileByteSource : public ByteSource {
public:
    static std::optional<FileByteSource> open(const std::string& path);

    std::size_t read(std::span<std::uint8_t> out) override;
    // The size the file had when it was opened, less what has been read.
    std::uint64_t remaining() const override;

private:
    explicit FileByteSource(platform::ReadableFile file) : file_(std::move(file)) {}
    platform::ReadableFile file_;
    std::uint64_t position_ = 0;
};

// The whole of a regular file of at most `cap` bytes, for readers of text whose length the format does
// not fix. NotOpened: missing, unreadable, or not a regular file; TooLarge: more than `cap` bytes.
struct FileContent {
    enum class Status { Read, NotOpened, TooLarge };
    Status status = Status::NotOpened;
    std::vector<std::uint8_t> bytes;
};
FileContent readFileContent(const std::string& path, std::uint64_t cap);

// Where a writer puts its bytes. Each call reports whether all of its bytes were taken.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool write(std::span<const std::uint8_t> bytes) = 0;
};

class MemoryByteSink : public ByteSink {
public:
    bool write(std::span<const std::uint8_t> bytes) override {
        this->bytes.insert(this->bytes.end(), bytes.begin(), bytes.end());
        return true;
    }
    std::vector<std::uint8_t> bytes;
};

}  // namespace veltrano
