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
        const std::string out = path("stdout"), err = path("stderr");
        const pid_t child = ::fork();
        if (child == 0) {
            ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
            ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
            ::unsetenv("DISPLAY");
            ::unsetenv("QT_QPA_PLATFORM");
            std::signal(SIGXFSZ, SIG_DFL);
            std::vector<std::string> all{VELTRANO_CLI};
            all.insert(all.end(), arguments.begin(), arguments.end());
            std::vector<char*> argv;
            for (std::string& a : all) argv.push_back(a.data());
            argv.push_back(nullptr);
            const rlimit limit{bytes, bytes};
            if (::setrlimit(RLIMIT_FSIZE, &limit) == 0) ::execv(VELTRANO_CLI, argv.data());
            ::_exit(127);
        }
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
