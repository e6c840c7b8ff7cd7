#include <filesystem>

#include <gtest/gtest.h>

#include "core/report/ReportFile.h"
#include "tests/core/design/FileTestSupport.h"

namespace veltrano {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

TEST(ReportFile, WritesTheBytesOrReports053AndKeepsTheOldFile) {
    TempFolder folder;
    RecordingErrorReporter errors;
    const std::string path = folder.file("view.svg");
    EXPECT_TRUE(writeReportFile(path, "<svg/>", errors));
    EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{'<', 's', 'v', 'g', '/', '>'}));
    EXPECT_TRUE(errors.numbers.empty());

    EXPECT_FALSE(writeReportFile(folder.file("no/such/folder/view.svg"), "x", errors));
    EXPECT_EQ(errors.numbers, std::vector<int>{53});

    // A full disk: every byte fails to go out.
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_FALSE(writeReportFile("/dev/full", "data", errors));
        EXPECT_EQ(errors.numbers, (std::vector<int>{53, 53}));
    }
    // A file that is there already is replaced whole or not at all.
    writeBytes(path, {'o', 'l', 'd'});
    EXPECT_TRUE(writeReportFile(path, "new", errors));
    EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{'n', 'e', 'w'}));
}

TEST(ReportFile, ProposedNamesFollowTheDesignFile) {
    const struct {
        const char* design;
        const char* extension;
        const char* name;
    } cases[] = {{"/home/u/light.cig", ".pdf", "/home/u/light.pdf"},
                 {"/home/u/light.v2.cig", ".csv", "/home/u/light.v2.csv"},
                 {"/home/u/light", ".png", "/home/u/light.png"},
                 {"/home/u/light.cig", "", "/home/u/light"},
                 {"/home/u/\xE5\x90\x8D\xE5\x89\x8D.cig", ".pdf", "/home/u/\xE5\x90\x8D\xE5\x89\x8D.pdf"},
                 {"", ".pdf", "veltrano 4.1.pdf"}};
    for (const auto& c : cases)
        EXPECT_EQ(reportFileName(c.design, c.extension, "veltrano 4.1"), c.name) << c.design;
}

}  // namespace
}  // namespace veltrano
