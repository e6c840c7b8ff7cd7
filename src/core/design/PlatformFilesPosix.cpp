// File access on POSIX systems.
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/design/PlatformFiles.h"

namespace veltrano::platform {

namespace {

int fdOf(File::Handle handle) {
    return static_cast<int>(handle);
}

// The folder part of a path, with its slash ("" for a bare name), and the name itself.
std::pair<std::string, std::string> splitPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {"", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

}  // namespace

std::size_t File::read(std::span<std::uint8_t> out) {
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::read(fdOf(handle_), out.data() + got, out.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

bool File::write(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fdOf(handle_), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool File::flushToDisk() {
    return ::fsync(fdOf(handle_)) == 0 || errno == EINVAL || errno == EROFS;
}

bool File::setPermissions(std::uint32_t permissions) {
    return ::fchmod(fdOf(handle_), static_cast<mode_t>(permissions)) == 0;
}

bool File::close() {
    if (handle_ == kNoHandle) return true;
    return ::close(fdOf(std::exchange(handle_, kNoHandle))) == 0;
}

std::optional<ReadableFile> openRegularFileForReading(const std::string& path) {
    // Non-blocking, so that opening a pipe cannot hang; fstat then refuses everything but a regular file.
    File file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file) return std::nullopt;
    struct stat st {};
    if (::fstat(fdOf(file.handle()), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return ReadableFile{std::move(file), static_cast<std::uint64_t>(st.st_size)};
}

File openForWriting(const std::string& path, WriteOpen how) {
    // The check of an existing file opens without blocking: a pipe without a reader must not hang it.
    const int flags = how == WriteOpen::CreateOrTruncate ? O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC
                                                         : O_WRONLY | O_NONBLOCK | O_CLOEXEC;
    return File(::open(path.c_str(), flags, 0666));
}

SaveTarget inspectSaveTarget(const std::string& path) {
    SaveTarget target;
    target.path = path;
    if (splitPath(path).second.empty()) return target;  // a folder name: only the in-place open decides

    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        target.path = resolved;
        std::free(resolved);
        struct stat st {};
        if (::stat(target.path.c_str(), &st) != 0) return target;
        target.exists = true;
        target.permissions = st.st_mode & 07777;
        target.replaceable = S_ISREG(st.st_mode) && st.st_nlink == 1 && st.st_uid == ::geteuid();
        return target;
    }
    // Nothing there: a new file is renamed into place. A dangling or looping symlink is left to the
    // in-place open, which follows it as an ordinary create would.
    struct stat st {};
    target.replaceable = ::lstat(path.c_str(), &st) != 0 && errno == ENOENT;
    return target;
}

CreateFailure classifyCreateFailure(int systemError) {
    switch (systemError) {
        case EACCES:
        case EPERM:
        case EROFS:
        // No such folder: it takes no new file, and the target cannot be opened there either.
        case ENOENT:
        case ENOTDIR:
            return CreateFailure::FolderRefusesNewFiles;
        default:
            return CreateFailure::Other;
    }
}

std::variant<TemporaryFile, CreateFailure> createTemporaryFile(const std::string& besidePath) {
    // A short name of its own, so that a target name near the 255-byte limit still gets one.
    std::string name = splitPath(besidePath).first + ".veltrano-XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return classifyCreateFailure(errno);
    return TemporaryFile{File(fd), std::move(name)};
}

std::uint32_t newFilePermissions() {
    // The mask can only be read by setting it; it is put back at once, and no other thread of the
    // program creates files.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666u & ~static_cast<std::uint32_t>(mask);
}

bool replaceFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    // Make the new name itself durable; a folder that cannot be synced does not undo the save.
    const std::string folder = splitPath(to).first;
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return true;
}

void removeFile(const std::string& path) {
    ::unlink(path.c_str());
}

std::string executablePath() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : executable.string();
}

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool standardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) != 0;
}

void letFileSizeLimitFailWrites() {
    std::signal(SIGXFSZ, SIG_IGN);
}

void useBinaryStandardOutput() {}  // POSIX streams have no text mode

}  // namespace veltrano::platform
