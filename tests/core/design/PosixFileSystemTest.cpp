// Saves on what only POSIX systems have: permission bits, inodes, symbolic links, folders without
// write permission and a file size limit.
#include <csignal>
#include <filesystem>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "core/design/CigaretteFile.h"
#include "core/design/PlatformFiles.h"
#include "core/design/SafeSave.h"

namespace veltrano {
namespace {

using testing::fillSet;
using testing::kBoth;
using testing::kOld;
using testing::readBytes;
using testing::save;
using testing::TempFolder;
using testing::writeBytes;
using Bytes = std::vector<std::uint8_t>;

#define SKIP_WHEN_ROOT()  \
    if (::geteuid() == 0) \
    GTEST_SKIP() << "running as root: file permissions do not stop root, so this refusal cannot be provoked"

unsigned permissionsOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

ino_t inodeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_ino;
}

TEST(SafeSave, NewFileGetsThePermissionsOfAPlainCreate) {
    TempFolder folder;
    const int fd = ::open(folder.file("plain").c_str(), O_WRONLY | O_CREAT, 0666);
    ASSERT_GE(fd, 0);
    ::close(fd);

    EXPECT_TRUE(save(folder.file("new.cig")).complete());
    EXPECT_EQ(readBytes(folder.file("new.cig")), kBoth);
    EXPECT_EQ(permissionsOf(folder.file("new.cig")), permissionsOf(folder.file("plain")));
    EXPECT_EQ(folder.names().size(), 2u) << "a temporary file was left behind";
}

TEST(SafeSave, ReplacedFileKeepsItsPermissions) {
    for (unsigned mode : {0600u, 0640u, 0604u, 0755u}) {
        TempFolder folder;
        const std::string path = folder.file("design.cig");
        writeBytes(path, kOld);
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        EXPECT_TRUE(save(path).complete());
        EXPECT_EQ(readBytes(path), kBoth);
        EXPECT_EQ(permissionsOf(path), mode) << std::oct << mode;
        EXPECT_EQ(folder.names().size(), 1u);
    }
}

TEST(SafeSave, SymlinkStaysALinkAndItsFileIsReplaced) {
    TempFolder here, there;
    const std::string real = there.file("real.cig"), link = here.file("link.cig");
    writeBytes(real, kOld);
    std::filesystem::create_symlink(real, link);

    EXPECT_TRUE(save(link).complete());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readBytes(real), kBoth);
    EXPECT_EQ(here.names().size(), 1u);
    EXPECT_EQ(there.names().size(), 1u);
}

// A name near the 255-byte limit still saves atomically: the temporary file has a short name of its
// own, so the old file is replaced by a new one rather than cut and rewritten.
TEST(SafeSave, LongNameIsReplacedAtomically) {
    TempFolder folder;
    const std::string path = folder.file(std::string(250, 'd'));
    writeBytes(path, kOld);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const ino_t before = inodeOf(path);

    EXPECT_TRUE(save(path).complete());
    EXPECT_EQ(readBytes(path), kBoth);
    EXPECT_NE(inodeOf(path), before) << "written in place";
    EXPECT_EQ(permissionsOf(path), 0640u);
    EXPECT_EQ(folder.names(), std::vector<std::string>{std::string(250, 'd')});
}

TEST(SafeSave, WriteProtectedFileStaysAsItIs) {
    SKIP_WHEN_ROOT();
    TempFolder folder;
    const std::string path = folder.file("design.cig");
    writeBytes(path, kOld);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(save(path).opened);
    EXPECT_EQ(readBytes(path), kOld);
    EXPECT_EQ(permissionsOf(path), 0444u);
    EXPECT_EQ(folder.names().size(), 1u);
}

TEST(SafeSave, ReadOnlyFolder) {
    SKIP_WHEN_ROOT();
    TempFolder folder;
    const std::string path = folder.file("design.cig");
    writeBytes(path, kOld);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);

    EXPECT_TRUE(save(path).complete()) << "the writable file is written in place";
    EXPECT_EQ(readBytes(path), kBoth);
    EXPECT_FALSE(save(folder.file("new.cig")).opened) << "no new file can be made";
    EXPECT_EQ(folder.names().size(), 1u);
}

TEST(CigaretteFile, WriteProtectedFileGives52) {
    SKIP_WHEN_ROOT();
    TempFolder folder;
    const std::string path = folder.file("design.cig");
    writeBytes(path, {'o', 'l', 'd'});
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    DesignSet set;
    RecordingErrorReporter errors;
    EXPECT_EQ(saveCigaretteFile(path, set, errors), 52);
    EXPECT_EQ(errors.numbers, std::vector<int>{52});
    EXPECT_EQ(readBytes(path).size(), 3u);
}

// A file size limit makes a real write fail part way: the child process saves over an existing file
// with a limit that lets the first image through and stops the second. It starts as the program does
// (letFileSizeLimitFailWrites, called first thing by both main functions): without that, the limit's
// signal would kill it in the middle of the save, as it once killed the program with unsaved designs.
TEST(CigaretteFile, FileSizeLimitFailsTheSaveAndKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder.file("design.cig");
    DesignSet old;
    fillSet(old, 0.6);
    RecordingErrorReporter unused;
    ASSERT_EQ(saveCigaretteFile(path, old, unused), 0);
    const Bytes before = readBytes(path);

    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(channel[0]);
        std::signal(SIGXFSZ, SIG_DFL);
        platform::letFileSizeLimitFailWrites();
        const rlimit limit{6000, 6000};
        int result[6] = {-1, 0, 0, 0, 0, 0};
        if (::setrlimit(RLIMIT_FSIZE, &limit) == 0) {
            DesignSet set;
            fillSet(set, 0.1);
            RecordingErrorReporter errors;
            result[0] = saveCigaretteFile(path, set, errors);
            result[1] = static_cast<int>(errors.numbers.size());
            for (std::size_t i = 0; i < errors.numbers.size() && i < 4; ++i)
                result[2 + i] = errors.numbers[i];
        }
        const ssize_t written = ::write(channel[1], result, sizeof result);
        ::_exit(written == static_cast<ssize_t>(sizeof result) ? 0 : 1);
    }
    ::close(channel[1]);
    int result[6] = {};
    const ssize_t got = ::read(channel[0], result, sizeof result);
    ::close(channel[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(got, static_cast<ssize_t>(sizeof result));

    EXPECT_EQ(result[0], 53);
    EXPECT_EQ(result[1], 3) << "the second image, the third and the text";
    EXPECT_EQ(std::vector<int>(result + 2, result + 5), (std::vector<int>{53, 53, 53}));
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"design.cig"});
}

}  // namespace
}  // namespace veltrano
