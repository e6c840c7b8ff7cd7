#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include <gtest/gtest.h>

#include "core/report/ReportFile.h"
#include "tests/core/design/FileTestSupport.h"

namespace veltrano {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

TEST(ReportFile, WritesTheBytesOrSaysWhichFileFailedAndWhy) {
    TempFolder folder;
    const std::string path = folder.file("view.svg");
    EXPECT_EQ(writeReportFile(path, "<svg/>"), std::nullopt);
    EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{'<', 's', 'v', 'g', '/', '>'}));

    std::filesystem::create_directory(folder.file("taken"));
    struct Failure {
        std::string path;
        int error;  // what the system says, where it says it in errno's words
    };
    std::vector<Failure> failures{{folder.file("no/such/folder/view.svg"), ENOENT},
                                  {folder.file("taken"), EISDIR}};
    if (std::filesystem::exists("/dev/full")) failures.push_back({"/dev/full", ENOSPC});  // a full disk
    for (const Failure& f : failures) {
        const std::optional<std::string> message = writeReportFile(f.path, "data");
        ASSERT_TRUE(message.has_value()) << f.path;
        const std::string lead = "The file \"" + f.path + "\" could not be written: ";
        EXPECT_EQ(message->substr(0, lead.size()), lead);
#if !defined(_WIN32)
        EXPECT_EQ(*message, lead + std::strerror(f.error) + ".");
#endif
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.file("taken")));

    // A file that is there already is replaced whole or not at all.
    writeBytes(path, {'o', 'l', 'd'});
    EXPECT_EQ(writeReportFile(path, "new"), std::nullopt);
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
