#pragma once

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QJsonDocument>
#include <QJsonObject>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"

// The command-line tool run as a process, in a fresh folder of its own per test.
namespace veltrano::testing {

// A sanitizer reserves more address space than any `ulimit -v` a test would set.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSpaceLimitsWork = false;
#elif defined(__has_feature)
inline constexpr bool kAddressSpaceLimitsWork = !__has_feature(address_sanitizer);
#else
inline constexpr bool kAddressSpaceLimitsWork = true;
#endif

namespace fs = std::filesystem;

struct Result {
    int status;
    std::string out;
    std::string err;
};

// Where and how the program runs: its working folder, environment variables to set ("NAME=value ..."),
// and the executable.
struct Process {
    std::string folder = ".";
    std::string variables;
    std::string program = VELTRANO_CLI;
};

class Cli : public ::testing::Test {
protected:
    TempFolder folder{"veltrano-cli-"};
    const fs::path& dir = folder.path();
    std::string models = std::string(VELTRANO_TEST_DATA_DIR) + "/fixture-models.dat";

    std::string path(const std::string& name) const { return (dir / name).string(); }

    Result run(const std::string& arguments, const Process& process = {}) const {
        const std::string out = path("stdout"), err = path("stderr");
        // As from a terminal session without a display.
        const std::string command = "cd " + process.folder + " && env -u DISPLAY -u QT_QPA_PLATFORM " +
                                    process.variables + " " + process.program + " " + arguments + " >" + out +
                                    " 2>" + err;
        const int raw = std::system(command.c_str());
        return {WEXITSTATUS(raw), slurp(out), slurp(err)};
    }

    // Runs the tool under a file size limit of `bytes`, as `ulimit -f` sets one, starting from the
    // limit signal's default disposition. A process the signal kills counts as status 128 + signal.
    Result runWithFileSizeLimit(const std::vector<std::string>& arguments, rlim_t bytes) const {
        return runChild(arguments, {.fileSize = bytes});
    }

    // How the tool runs as a child of the test: where its standard output goes and the limits `ulimit`
    // would set. Signals start from their default dispositions (SIGPIPE ignored if asked: some parents
    // pass it on so).
    struct ChildSetup {
        std::string output = {};  // the file standard output goes to; empty: the fixture's own
        bool closedPipe = false;  // standard output is a pipe whose reading end is closed
        bool pipeSignalIgnored = false;
        rlim_t fileSize = RLIM_INFINITY;      // ulimit -f, in bytes
        rlim_t addressSpace = RLIM_INFINITY;  // ulimit -v, in bytes
    };

    // Runs the tool with `arguments` as `setup` says. A process a signal kills counts as status 128 +
    // signal; its stderr is in the result, and its stdout when it went to the fixture's file.
    Result runChild(const std::vector<std::string>& arguments, const ChildSetup& setup) const {
        const std::string out = path("stdout"), err = path("stderr");
        const std::string output = setup.output.empty() ? out : setup.output;
        std::vector<std::string> all{VELTRANO_CLI};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::ofstream(out, std::ios::trunc).close();
        int pipeEnds[2] = {-1, -1};
        if (setup.closedPipe) {
            EXPECT_EQ(::pipe(pipeEnds), 0);
            ::close(pipeEnds[0]);  // the reader has gone before the first write
        }
        const pid_t child = ::fork();
        if (child == 0) {
            const int stdoutFile =
                setup.closedPipe ? pipeEnds[1] : ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(stdoutFile, STDOUT_FILENO);
            ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
            ::unsetenv("DISPLAY");
            ::unsetenv("QT_QPA_PLATFORM");
            std::signal(SIGXFSZ, SIG_DFL);
            std::signal(SIGPIPE, setup.pipeSignalIgnored ? SIG_IGN : SIG_DFL);
            const rlimit fileSize{setup.fileSize, setup.fileSize};
            const rlimit addressSpace{setup.addressSpace, setup.addressSpace};
            if (::setrlimit(RLIMIT_FSIZE, &fileSize) == 0 && ::setrlimit(RLIMIT_AS, &addressSpace) == 0)
                ::execv(VELTRANO_CLI, argv.data());
            ::_exit(127);
        }
        if (setup.closedPipe) ::close(pipeEnds[1]);
        int raw = 0;
        EXPECT_EQ(::waitpid(child, &raw, 0), child);
        const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        return {status, slurp(out), slurp(err)};
    }

    static std::string slurp(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
    }

    static QJsonObject json(const std::string& text) {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
        EXPECT_TRUE(doc.isObject()) << error.errorString().toStdString();
        return doc.object();
    }
};

}  // namespace veltrano::testing
