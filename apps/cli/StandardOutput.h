#pragma once

#include <string>
#include <string_view>

namespace veltrano::cli {

// What the tool prints, written to the standard output as it comes, with no buffer whose failure could
// go unnoticed. The first failed write (a full disk, a file size limit, an I/O error) is kept and every
// later write is dropped: a command that writes much asks `failed()` to stop early, and the command
// line ends with the reason.
class StandardOutput {
public:
    // False once a write has failed.
    bool write(std::string_view text);
    bool failed() const { return error_ != 0; }

    // Closes the output (some file systems report a failed write only then).
    enum class Ending { Written, ClosedPipe, Failed };
    Ending finish();
    // The system's words for the failure.
    std::string reason() const;

private:
    int error_ = 0;
};

}  // namespace veltrano::cli
