#include <string>

#include <gtest/gtest.h>

#include "core/document/RecoveryFiles.h"

namespace veltrano {
namespace {

TEST(RecoveryInfo, RoundTripsAnyPath) {
    for (const std::string& path :
         {std::string(), std::string("/home/a/designs/King Size.cig"), std::string("C:\\\\Designs\\x.cig"),
          std::string("odd\nname\r\\n.cig"), std::string("\xC3\xA4\xE2\x82\xAC.cig")}) {
        const RecoveryInfo info{path, path.size() % 2 == 1, 1797000000};
        const auto back = decodeRecoveryInfo(encodeRecoveryInfo(info));
        ASSERT_TRUE(back.has_value()) << path;
        EXPECT_EQ(back->originalPath, path);
        EXPECT_EQ(back->legacyFile, info.legacyFile);
        EXPECT_EQ(back->writtenAt, info.writtenAt);
    }
}

TEST(RecoveryInfo, DamagedSidecarsGiveNothing) {
    const std::string good = encodeRecoveryInfo({"/a.cig", false, 5});
    for (const std::string& text :
         {std::string(), good.substr(0, good.size() / 2),
          std::string("veltrano recovery 2\npath=\nlegacy=0\ntime=1\n"),
          std::string("veltrano recovery 1\npath=a\\\nlegacy=0\ntime=1\n"),
          std::string("veltrano recovery 1\npath=a\nlegacy=2\ntime=1\n"),
          std::string("veltrano recovery 1\npath=a\nlegacy=0\ntime=12x\n"),
          std::string("veltrano recovery 1\npath=a\nlegacy=0\ntime=99999999999999999999999\n"),
          std::string(1000, '\0')})
        EXPECT_FALSE(decodeRecoveryInfo(text).has_value()) << text;
}

TEST(RecoveryFolder, StateHomeOnlyWhenAbsoluteElseHome) {
    EXPECT_EQ(recoveryFolder("/tmp/state", "/home/u"), "/tmp/state/veltrano");
    EXPECT_EQ(recoveryFolder("relative/state", "/home/u"), "/home/u/.local/state/veltrano");
    EXPECT_EQ(recoveryFolder("", "/home/u"), "/home/u/.local/state/veltrano");
    EXPECT_EQ(recoveryFolder(nullptr, "/home/u"), "/home/u/.local/state/veltrano");
    EXPECT_EQ(recoveryFolder(nullptr, nullptr), "");
    EXPECT_EQ(recoveryFolder(nullptr, ""), "");
}

}  // namespace
}  // namespace veltrano
