#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CliFixture.h"

namespace {

using veltrano::testing::Cli;
using veltrano::testing::Result;
namespace fs = std::filesystem;

// `ulimit -f 8`: 8 KiB, less than any file the tool writes (a cigarette file is 13016 bytes).
constexpr rlim_t kLimit = 8 * 1024;

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

// Every command that writes a file, under a file size limit: the write fails instead of the limit's
// signal killing the tool, error 053 is reported, the tool ends with status 1, no temporary or partial
// file is left, and a file that was there stays as it was.
TEST_F(Cli, EveryWritingCommandFailsCleanlyAtTheFileSizeLimit) {
    ASSERT_EQ(run("new " + path("in.cig")).status, 0);
    write("in.json", R"({"current": {"fi_len": 25}})");
    const std::string legacy = std::string(VELTRANO_SOURCE_DIR) + "/fuzz/corpus/legacy_file/typical.cig";
    const struct {
        const char* command;
        const char* target;
        std::vector<std::string> arguments;
    } commands[] = {
        {"new", "new.cig", {}},
        {"build", "built.cig", {path("in.json")}},
        {"import-legacy", "imported.cig", {legacy, "--models", models}},
        {"startup", "Startup_cigarette.dat", {path("in.cig"), "--models", models}},
#ifdef VELTRANO_CLI_DRAWS
        {"print", "page.pdf", {path("in.cig"), "--models", models, "--puffs"}},
#endif
    };
    const fs::path out = dir / "out";
    for (const auto& c : commands) {
        for (const bool oldFile : {true, false}) {
            SCOPED_TRACE(std::string(c.command) + (oldFile ? " over an old file" : " to a new file"));
            fs::remove_all(out);
            fs::create_directories(out);
            const std::string target = (out / c.target).string();
            if (oldFile) write("out/" + std::string(c.target), "old");

            std::vector<std::string> arguments{c.command};
            arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
            // The target goes where each command takes it: last of the file names.
            arguments.insert(arguments.begin() + 1 + (c.arguments.empty() ? 0 : 1), target);
            const Result r = runWithFileSizeLimit(arguments, kLimit);

            EXPECT_EQ(r.status, 1) << r.err;
            EXPECT_NE(
                r.err.find("Error 053: The cigarette design could not be written to the specified file."),
                std::string::npos)
                << r.err;
            if (oldFile) {
                EXPECT_EQ(namesIn(out), std::vector<std::string>{c.target});
                EXPECT_EQ(slurp(target), "old");
            } else {
                EXPECT_TRUE(namesIn(out).empty());
            }
        }
    }
}

}  // namespace
