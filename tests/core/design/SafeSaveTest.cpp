#include <filesystem>

#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "core/design/SafeSave.h"

namespace veltrano {
namespace {

using testing::FaultyFileSystem;
using testing::kBoth;
using testing::kOld;
using testing::readBytes;
using testing::save;
using testing::TempFolder;
using testing::writeBytes;

// Failures to make the temporary file, as the system reports them, and whether the save may then
// write in place.
struct CreateFailureCase {
    const char* name;
    int error;
    bool inPlace;
};
#if defined(_WIN32)
const CreateFailureCase kCreateFailures[] = {
    {"access denied", ERROR_ACCESS_DENIED, true},
    {"write-protected", ERROR_WRITE_PROTECT, true},
    {"no such folder", ERROR_PATH_NOT_FOUND, true},
    {"disk full", ERROR_DISK_FULL, false},
    {"sharing violation", ERROR_SHARING_VIOLATION, false},
    {"lock violation", ERROR_LOCK_VIOLATION, false},
    {"name too long", ERROR_FILENAME_EXCED_RANGE, false},
    {"too many files", ERROR_TOO_MANY_OPEN_FILES, false},
};
#else
const CreateFailureCase kCreateFailures[] = {
    {"EACCES", EACCES, true}, {"EPERM", EPERM, true},    {"EROFS", EROFS, true},
    {"ENOENT", ENOENT, true}, {"ENOSPC", ENOSPC, false}, {"ENAMETOOLONG", ENAMETOOLONG, false},
    {"EIO", EIO, false},      {"EDQUOT", EDQUOT, false}, {"EMFILE", EMFILE, false},
};
#endif

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
// temporary file (a full disk, no inodes, a quota, a name too long, a file someone holds) leaves the
// old file as it was: writing in place on a full disk is what once cut good files short.
TEST(SafeSave, TemporaryFileFailuresAndWhatTheyLeave) {
    for (const CreateFailureCase& c : kCreateFailures) {
        SCOPED_TRACE(c.name);
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

}  // namespace
}  // namespace veltrano
