#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

// Everything the program asks of the operating system's file access, in one small interface: the
// readers and the safe save are written against it, and each platform implements it once
// (PlatformFilesPosix.cpp, PlatformFilesWin32.cpp). Paths are UTF-8; each platform hands them to its
// system as that system wants them.
namespace veltrano::platform {

// An open file of the system; it is closed when the object goes.
class File {
public:
    using Handle = std::intptr_t;
    static constexpr Handle kNoHandle = -1;

    File() = default;
    explicit File(Handle handle) : handle_(handle) {}
    File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = kNoHandle; }
    File& operator=(File&& other) noexcept {
        if (this != &other) {
            close();
            handle_ = std::exchange(other.handle_, kNoHandle);
        }
        return *this;
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() { close(); }

    explicit operator bool() const { return handle_ != kNoHandle; }
    Handle handle() const { return handle_; }

    // Fills `out`; fewer bytes only at the end of the file or on a read error.
    std::size_t read(std::span<std::uint8_t> out);
    // True when every byte was taken.
    bool write(std::span<const std::uint8_t> bytes);
    // Puts the data on the disk. A device or pipe that cannot be synced counts as done.
    bool flushToDisk();
    bool setPermissions(std::uint32_t permissions);
    // True when the file closed cleanly (or was not open).
    bool close();

private:
    Handle handle_ = kNoHandle;
};

// An existing regular file opened for reading, and its size when it was opened. Directories, pipes
// and devices are not opened, and opening never blocks.
struct ReadableFile {
    File file;
    std::uint64_t size = 0;
};
std::optional<ReadableFile> openRegularFileForReading(const std::string& path);

// An existing file opened for writing without changing it, or a file created or truncated for writing.
enum class WriteOpen { ExistingUnchanged, CreateOrTruncate };
File openForWriting(const std::string& path, WriteOpen how);

// What a save needs to know about its target.
struct SaveTarget {
    std::string path;                  // the file the data are meant for, symlinks resolved
    bool exists = false;               // something is there already
    bool replaceable = false;          // a new file may be renamed into its place
    std::uint32_t permissions = 0666;  // the existing file's permissions
};
// A regular file of our own with a single name may be replaced by a renamed new file; anything else
// that exists (a device, a file with more names, someone else's file, whose owner a rename would
// change) must be written in place. Nothing there: a new file is renamed into place.
SaveTarget inspectSaveTarget(const std::string& path);

// Why a new file could not be made: its folder refuses new files (no write permission, a read-only
// file system, no such folder), or anything else (no space, no inodes, a name too long, an I/O error).
enum class CreateFailure { FolderRefusesNewFiles, Other };
// Sorts a failure of the system's file creation (errno on POSIX, GetLastError() on Windows) into the two.
CreateFailure classifyCreateFailure(int systemError);

// A new, empty file with a short unique name (".veltrano-" and a few random characters) in the folder
// of `besidePath`, for its owner alone until its permissions are set.
struct TemporaryFile {
    File file;
    std::string path;
};
std::variant<TemporaryFile, CreateFailure> createTemporaryFile(const std::string& besidePath);

// The permissions a plain create gives a new file (0666 less the user's file mode mask).
std::uint32_t newFilePermissions();

// Puts `from` in the place of `to` in one step and makes the new name durable.
bool replaceFile(const std::string& from, const std::string& to);
void removeFile(const std::string& path);

// The running program's executable file, or "" when the system does not say.
std::string executablePath();

// The value of an environment variable, or "" when it is not set.
std::string environmentValue(const char* name);

// Whether the standard error stream is a terminal (for a progress bar).
bool standardErrorIsTerminal();

// Without this, a process that passes its file size limit is killed by a signal in the middle of a
// write; with it, the write fails (EFBIG) and the save reports it. Both programs call it first thing.
void letFileSizeLimitFailWrites();

// Standard output passes bytes through as they are (Windows would turn each "\n" into "\r\n").
void useBinaryStandardOutput();

#if defined(_WIN32)
// The arguments wmain receives, in UTF-16, as the UTF-8 texts the rest of the program takes.
std::vector<std::string> utf8Arguments(int argc, wchar_t** argv);
#endif

}  // namespace veltrano::platform
