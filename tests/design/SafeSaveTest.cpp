#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "design/SafeSave.h"

namespace veltrano {
namespace {

using testing::FaultyFileSystem;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;
using Bytes = std::vector<std::uint8_t>;

const Bytes kOld{'o', 'l', 'd'};
const Bytes kFirst{'n', 'e', 'w', '-'};
const Bytes kSecond{'d', 'a', 't', 'a'};
const Bytes kBoth{'n', 'e', 'w', '-', 'd', 'a', 't', 'a'};

SaveReport save(const std::string& path, SaveFileSystem& fs) {
    const std::array<std::span<const std::uint8_t>, 2> pieces{kFirst, kSecond};
    return saveFile(path, pieces, fs);
}

SaveReport save(const std::string& path) {
    SystemSaveFileSystem fs;
    return save(path, fs);
}

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

TEST(SafeSave, FileWithSeveralNamesIsWrittenInPlace) {
    TempFolder folder;
    const std::string path = folder.file("design.cig"), other = folder.file("other-name.cig");
    writeBytes(path, kOld);
    std::filesystem::create_hard_link(path, other);

    EXPECT_TRUE(save(path).complete());
    EXPECT_EQ(readBytes(path), kBoth);
    EXPECT_EQ(readBytes(other), kBoth) << "a rename would have split the two names";
}

TEST(SafeSave, FolderThatRefusesNewFilesIsWrittenInPlace) {
    TempFolder folder;
    const std::string path = folder.file("design.cig");
    writeBytes(path, kOld);
    FaultyFileSystem fs;
    fs.failTemporary = true;
    EXPECT_TRUE(save(path, fs).complete());
    EXPECT_EQ(readBytes(path), kBoth);
}

// Only a folder that refuses new files lets the save write in place. Any other failure to make the
// temporary file (a full disk, no inodes, a quota, a name too long) leaves the old file as it was:
// writing in place on a full disk is what once cut good files short.
TEST(SafeSave, TemporaryFileFailuresAndWhatTheyLeave) {
    const struct {
        int error;
        bool inPlace;
    } cases[] = {
        {EACCES, true},        {EPERM, true}, {EROFS, true},   {ENOSPC, false},
        {ENAMETOOLONG, false}, {EIO, false},  {EDQUOT, false}, {EMFILE, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::strerror(c.error));
        TempFolder folder;
        const std::string path = folder.file("design.cig");
        writeBytes(path, kOld);
        FaultyFileSystem fs;
        fs.temporaryError = c.error;
        const SaveReport report = save(path, fs);
        EXPECT_EQ(report.complete(), c.inPlace);
        EXPECT_EQ(report.noTemporary, !c.inPlace);
        EXPECT_EQ(readBytes(path), c.inPlace ? kBoth : kOld);
        EXPECT_EQ(fs.writes, c.inPlace ? 2 : 0);

        const SaveReport fresh = save(folder.file("new.cig"), fs);
        EXPECT_EQ(fresh.complete(), c.inPlace);
        EXPECT_EQ(folder.names().size(), c.inPlace ? 2u : 1u) << "a file was made after all";
    }
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

TEST(SafeSave, UnwritableTargetsAreRefusedUntouched) {
    TempFolder folder;
    // A folder is "a file that cannot be opened for writing", also for root.
    std::filesystem::create_directory(folder.file("a-folder"));
    const SaveReport report = save(folder.file("a-folder"));
    EXPECT_FALSE(report.opened);
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("a-folder")));
    EXPECT_FALSE(save(folder.file("no-such-folder/design.cig")).opened);
    EXPECT_FALSE(save("").opened);
    EXPECT_EQ(folder.names().size(), 1u);
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

}  // namespace
}  // namespace veltrano
