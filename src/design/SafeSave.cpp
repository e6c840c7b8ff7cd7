#include "design/SafeSave.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veltrano {

namespace {

class PosixFileSink : public FileSink {
public:
    explicit PosixFileSink(int fd) : fd_(fd) {}
    PosixFileSink(const PosixFileSink&) = delete;
    PosixFileSink& operator=(const PosixFileSink&) = delete;
    ~PosixFileSink() override {
        if (fd_ >= 0) ::close(fd_);
    }

    bool write(std::span<const std::uint8_t> bytes) override {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    bool finish() override {
        // A device or pipe written in place cannot be synced; that is no failure of the write.
        const bool synced = ::fsync(fd_) == 0 || errno == EINVAL || errno == EROFS;
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return synced && closed;
    }

private:
    int fd_;
};

// The folder part of a path ("" for a bare name) and the name itself.
std::pair<std::string, std::string> splitPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {"", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

}  // namespace

SaveFileSystem::Target PosixSaveFileSystem::inspect(const std::string& path) {
    Target target;
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

bool PosixSaveFileSystem::canOpenForWriting(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

std::unique_ptr<FileSink> PosixSaveFileSystem::createTemporary(const Target& target,
                                                               std::string& temporaryPath) {
    const auto [folder, name] = splitPath(target.path);
    // O_EXCL makes a name that is taken (or a planted symlink) move on to the next attempt.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate =
            folder + "." + name + "." + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
        // 0666 lets the umask decide for a new file, as a plain create would.
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        if (target.exists && ::fchmod(fd, static_cast<mode_t>(target.permissions)) != 0) {
            ::close(fd);
            ::unlink(candidate.c_str());
            return nullptr;
        }
        temporaryPath = candidate;
        return std::make_unique<PosixFileSink>(fd);
    }
    return nullptr;
}

std::unique_ptr<FileSink> PosixSaveFileSystem::openTruncated(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixFileSink>(fd);
}

bool PosixSaveFileSystem::replace(const std::string& from, const std::string& to) {
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

void PosixSaveFileSystem::remove(const std::string& path) {
    ::unlink(path.c_str());
}

SaveReport saveFile(const std::string& path, std::span<const std::span<const std::uint8_t>> pieces,
                    SaveFileSystem& fileSystem) {
    SaveReport report;
    const SaveFileSystem::Target target = fileSystem.inspect(path);
    if (target.exists && !fileSystem.canOpenForWriting(target.path)) return report;

    std::string temporary;
    std::unique_ptr<FileSink> sink;
    if (target.replaceable) sink = fileSystem.createTemporary(target, temporary);
    const bool inPlace = !sink;
    if (inPlace) sink = fileSystem.openTruncated(target.path);
    if (!sink) return report;
    report.opened = true;

    for (std::size_t i = 0; i < pieces.size(); ++i)
        if (!sink->write(pieces[i])) report.failedPieces.push_back(static_cast<int>(i));
    const bool finished = sink->finish();
    sink.reset();

    if (inPlace) {
        report.finishFailed = !finished;
        return report;
    }
    if (!report.failedPieces.empty() || !finished || !fileSystem.replace(temporary, target.path)) {
        fileSystem.remove(temporary);
        report.finishFailed = report.failedPieces.empty();
    }
    return report;
}

}  // namespace veltrano
