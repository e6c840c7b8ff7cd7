#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "core/design/ByteStream.h"
#include "core/design/ModelParameters.h"
#include "tests/support/SpecialFiles.h"

namespace veltrano {
namespace {

using testing::SpecialFiles;
using testing::TempFolder;
using testing::writeBytes;
using Status = FileContent::Status;

// Every reader opens its file through FileByteSource: only regular files are read, so a device that
// never ends, a pipe that never delivers or a folder cannot hang or flood a reader.
TEST(FileReading, OnlyRegularFilesAreOpened) {
    TempFolder folder;
    const SpecialFiles special(folder.path());
    std::vector<std::string> paths = special.paths();
    paths.insert(paths.end(), {folder.path().string(), folder.file("missing"), std::string()});
    for (const std::string& path : paths) {
        EXPECT_FALSE(FileByteSource::open(path)) << path;
        EXPECT_EQ(readFileContent(path, 1024).status, Status::NotOpened) << path;
        ModelParameters mp;
        EXPECT_EQ(loadModelParameters(path, mp), kModelParametersUnreadable) << path;
    }
}

TEST(FileReading, ContentUpToTheCap) {
    TempFolder folder;
    const std::string path = folder.file("text");
    writeBytes(path, {'1', '\n', '2', '\n'});
    const FileContent read = readFileContent(path, 4);
    EXPECT_EQ(read.status, Status::Read);
    EXPECT_EQ(read.bytes, (std::vector<std::uint8_t>{'1', '\n', '2', '\n'}));
    EXPECT_EQ(readFileContent(path, 3).status, Status::TooLarge);

    // A huge file is not read to its end: the reading stops one step past the cap.
    const std::string huge = folder.file("huge");
    writeBytes(huge, {});
    std::filesystem::resize_file(huge, std::uintmax_t{1} << 32);
    const FileContent tooLarge = readFileContent(huge, 1 << 20);
    EXPECT_EQ(tooLarge.status, Status::TooLarge);
    EXPECT_TRUE(tooLarge.bytes.empty());
}

TEST(FileReading, SourceKnowsWhatIsLeft) {
    TempFolder folder;
    const std::string path = folder.file("bytes");
    writeBytes(path, {1, 2, 3, 4, 5});
    auto source = FileByteSource::open(path);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->remaining(), 5u);
    std::uint8_t two[2];
    EXPECT_EQ(source->read(two), 2u);
    EXPECT_EQ(source->remaining(), 3u);
    std::uint8_t more[8];
    EXPECT_EQ(source->read(more), 3u);
    EXPECT_EQ(source->remaining(), 0u);
}

}  // namespace
}  // namespace veltrano
