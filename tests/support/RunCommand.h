#pragma once

#include <cstdlib>
#include <string>
#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace veltrano::testing {

// Runs a command line through the system's shell; its exit status, or -1 when it did not exit.
inline int runCommand(const std::string& command) {
#if defined(_WIN32)
    // cmd /c takes off the first and the last quote of a line that starts with one.
    return std::system(("\"" + command + "\"").c_str());
#else
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

}  // namespace veltrano::testing
