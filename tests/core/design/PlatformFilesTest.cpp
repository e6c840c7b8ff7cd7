#include <filesystem>

#include <gtest/gtest.h>

#include "core/design/FilePath.h"
#include "core/design/PlatformFiles.h"

namespace veltrano {
namespace {

// The data files are looked for beside the executable, so it must be found on every system.
TEST(PlatformFiles, TheExecutableIsFound) {
    const std::filesystem::path executable = pathFromUtf8(platform::executablePath());
    EXPECT_EQ(executable.stem(), "design_tests");
    EXPECT_TRUE(std::filesystem::is_regular_file(executable)) << utf8Path(executable);
}

// Names outside the system's code page survive the way into a std::filesystem::path and back.
TEST(PlatformFiles, PathsGoThroughUtf8BothWays) {
    const std::string name =
        "Pr\xC3\xBC"
        "fung \xE2\x82\xAC \xE5\x90\x8D\xE5\x89\x8D.cig";
    const std::filesystem::path path = pathFromUtf8(name);
    EXPECT_TRUE(path.u8string() == u8"Prüfung € 名前.cig");
    EXPECT_EQ(utf8Path(path), name);
    EXPECT_EQ(utf8Path(path.stem()),
              "Pr\xC3\xBC"
              "fung \xE2\x82\xAC \xE5\x90\x8D\xE5\x89\x8D");
}

}  // namespace
}  // namespace veltrano
