#include <cerrno>
#include <csignal>
#include <cstring>
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

// What a command prints that cannot be written is a failure: one message naming the system's reason,
// status 1, on a full disk and at the file size limit alike (where the output stops mid-record).
TEST_F(Cli, OutputThatCannotBeWrittenIsAFailure) {
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    constexpr rlim_t kSmall = 1024;  // less than any of the outputs below
    const std::vector<std::string> sweep{"sweep",  path("a.cig"), "--models", models, "--field", "cp_perm",
                                         "--from", "20",          "--to",     "80",   "--steps", "21"};
    std::vector<std::string> jsonLines = sweep;
    jsonLines.insert(jsonLines.end(), {"--format", "jsonl"});
    const struct {
        const char* command;  // how messages name it
        std::vector<std::string> arguments;
    } commands[] = {
        {"veltrano-cli evaluate", {"evaluate", path("a.cig"), "--puffs", "--models", models}},
        {"veltrano-cli sweep", sweep},
        {"veltrano-cli sweep", jsonLines},
        {"veltrano-cli search",
         {"search", path("a.cig"), "--group", "paper", "--code", "5", "--target", "15", "--models", models}},
        {"veltrano-cli", {"--help"}},
    };
    for (const auto& c : commands) {
        for (const bool fullDisk : {true, false}) {
            SCOPED_TRACE(c.arguments[0] + (fullDisk ? " to a full disk" : " at the file size limit"));
            if (!fullDisk && c.arguments[0] == "search") continue;  // its few lines fit under any limit
            const Result r = fullDisk ? runChild(c.arguments, {.output = "/dev/full"})
                                      : runChild(c.arguments, {.fileSize = kSmall});
            EXPECT_EQ(r.status, 1);
            const std::string message =
                std::string(c.command) +
                ": the standard output could not be written: " + std::strerror(fullDisk ? ENOSPC : EFBIG) +
                "\n";
            EXPECT_EQ(r.err.substr(r.err.size() - std::min(r.err.size(), message.size())), message) << r.err;
            EXPECT_EQ(r.err.find(message), r.err.rfind(message));  // said once
            if (!fullDisk) {
                EXPECT_EQ(r.out.size(), kSmall);  // cut, and said to be
            }
        }
    }
}

// "veltrano-cli ... | head": the reader has gone, and the tool ends as command-line tools do, by the
// pipe signal, without a word; also when its parent passed the signal on ignored.
TEST_F(Cli, AReaderThatHasGoneEndsTheToolQuietly) {
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    for (const bool ignored : {false, true}) {
        for (const std::vector<std::string>& arguments :
             {std::vector<std::string>{"evaluate", path("a.cig"), "--models", models},
              std::vector<std::string>{"sweep", path("a.cig"), "--models", models, "--field", "cp_perm",
                                       "--from", "20", "--to", "80", "--steps", "3", "--couple-diffusion"}}) {
            SCOPED_TRACE(arguments[0] + (ignored ? ", the signal ignored by the parent" : ""));
            const Result r = runChild(arguments, {.closedPipe = true, .pipeSignalIgnored = ignored});
            EXPECT_EQ(r.status, 128 + SIGPIPE);
            EXPECT_EQ(r.err, "");
        }
    }
}

// The exports are the tool's own: a file that cannot be written gets a message naming it and the
// system's reason, not the cigarette file's error 053. The printed page keeps its specified error and
// adds the reason on a line of its own.
TEST_F(Cli, AFileThatCannotBeWrittenIsNamedWithTheSystemsReason) {
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    const std::string missing = path("no/such/folder/out");
    const struct {
        std::string command;
        std::vector<std::string> arguments;  // the target goes last
        std::string extension;
    } commands[] = {
        {"export", {"export", path("a.cig"), "--what", "summary", "--models", models}, ".csv"},
#ifdef VELTRANO_CLI_DRAWS
        {"render", {"render", path("a.cig"), "--view", "summary", "--models", models}, ".svg"},
        {"print", {"print", path("a.cig"), "--models", models}, ".pdf"},
#endif
    };
    for (const auto& c : commands) {
        const struct {
            std::string target;
            bool limited;
            int error;
            const char* specified;  // the print command's numbered error
        } failures[] = {{missing + c.extension, false, ENOENT, "Error 066: StartDoc() failed.\n"},
                        {path("limited") + c.extension, true, EFBIG,
                         "Error 053: The cigarette design could not be written to the specified file.\n"}};
        for (const auto& f : failures) {
            SCOPED_TRACE(c.command + " to " + f.target);
            std::vector<std::string> arguments = c.arguments;
            arguments.push_back(f.target);
            const Result r = f.limited ? runChild(arguments, {.fileSize = 512}) : runChild(arguments, {});
            EXPECT_EQ(r.status, 1);
            const std::string reason = std::strerror(f.error);
            if (c.command == "print") {
                EXPECT_EQ(r.err, f.specified + f.target + ": " + reason + "\n");
            } else {
                EXPECT_EQ(r.err, "veltrano-cli " + c.command + ": The file \"" + f.target +
                                     "\" could not be written: " + reason + ".\n");
            }
            EXPECT_FALSE(fs::exists(f.target));
        }
    }
}

// Under `ulimit -v` of 72 to 112 MB the commands that need most memory run out of it somewhere: each
// run ends done or with status 1 and a message of the tool's own, never in an abort from an exception
// nobody caught; what was at the target stays as it was. (The system's font library may crash when its
// own allocations fail, which nothing above it can catch: that crash is no abort.)
TEST_F(Cli, RunningOutOfMemoryIsAMessage) {
    if (!veltrano::testing::kAddressSpaceLimitsWork) GTEST_SKIP() << "a sanitizer needs the address space";
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    const std::string target = path("target.out");
    const struct {
        std::string command;
        std::vector<std::string> arguments;
    } commands[] = {
#ifdef VELTRANO_CLI_DRAWS
        {"print", {"print", path("a.cig"), target, "--puffs", "--models", models}},
        {"render", {"render", path("a.cig"), "--view", "puffs", target + ".pdf", "--models", models}},
#endif
        {"sweep",
         {"sweep", path("a.cig"), "--field", "cp_perm", "--from", "20", "--to", "80", "--steps", "9",
          "--puffs", "--outputs", "stat_pdo", "--models", models}},
#ifdef VELTRANO_HAVE_NLOPT
        {"design",
         {"design", path("a.cig"), "--vary", "cp_perm", "--vary", "fi_totpd", "--target", "iso_co=12",
          "--target", "stat_pdo=110", "--models", models}},
#endif
    };
    int outOfMemory = 0;
    for (const auto& c : commands) {
        for (rlim_t megabytes = 72; megabytes <= 112; megabytes += 8) {
            SCOPED_TRACE(c.command + " in " + std::to_string(megabytes) + " MB");
            write("target.out", "old");
            write("target.out.pdf", "old");
            const Result r = runChild(c.arguments, {.addressSpace = megabytes << 20});
            EXPECT_NE(r.status, 128 + SIGABRT) << r.err;
            EXPECT_EQ(r.err.find("terminate called"), std::string::npos) << r.err;
            if (r.status == 0) continue;
            EXPECT_EQ(slurp(target), "old");
            EXPECT_EQ(slurp(target + ".pdf"), "old");
            if (r.status != 1) continue;
            const bool said =
                r.err.find("veltrano-cli " + c.command + ": out of memory\n") != std::string::npos;
            outOfMemory += said;
            EXPECT_TRUE(said ||
                        r.err.find("veltrano-cli: the drawing toolkit failed: ") != std::string::npos ||
                        r.err.find("could not be made; nothing was written.") != std::string::npos)
                << r.err;
        }
    }
    EXPECT_GT(outOfMemory, 0) << "no command ran out of memory in these limits";
}

}  // namespace
