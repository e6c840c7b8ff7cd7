#pragma once

#include <filesystem>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

namespace veltrano::testing {

// Paths that open at once but name no regular file: a device that never ends or gives nothing, and a
// pipe that nobody writes to. A reader that took them for files would hang or read forever.
class SpecialFiles {
public:
    // `folder` holds the pipe where pipes live in folders.
    explicit SpecialFiles(const std::filesystem::path& folder) {
#if defined(_WIN32)
        const std::string pipe = "\\\\.\\pipe\\veltrano-" + std::to_string(::GetCurrentProcessId()) + "-" +
                                 folder.filename().string();
        pipe_ = ::CreateNamedPipeW(std::wstring(pipe.begin(), pipe.end()).c_str(), PIPE_ACCESS_DUPLEX,
                                   PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr);
        EXPECT_NE(pipe_, INVALID_HANDLE_VALUE) << pipe;
        paths_ = {"NUL", pipe};
#else
        const std::string pipe = (folder / "pipe").string();
        EXPECT_EQ(::mkfifo(pipe.c_str(), 0600), 0) << pipe;
        paths_ = {"/dev/zero", pipe};
#endif
    }
#if defined(_WIN32)
    ~SpecialFiles() {
        if (pipe_ != INVALID_HANDLE_VALUE) ::CloseHandle(pipe_);
    }
#endif
    SpecialFiles(const SpecialFiles&) = delete;
    SpecialFiles& operator=(const SpecialFiles&) = delete;

    const std::vector<std::string>& paths() const {
        return paths_;
    }

private:
    std::vector<std::string> paths_;
#if defined(_WIN32)
    HANDLE pipe_ = INVALID_HANDLE_VALUE;  // the server's end, so that the name exists
#endif
};

}  // namespace veltrano::testing
