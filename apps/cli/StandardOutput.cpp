#include "StandardOutput.h"

#include <cstdint>
#include <span>

#include "core/design/PlatformFiles.h"

namespace veltrano::cli {

bool StandardOutput::write(std::string_view text) {
    if (failed()) return false;
    error_ = platform::writeStandardOutput(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    return !failed();
}

StandardOutput::Ending StandardOutput::finish() {
    const int closing = platform::closeStandardOutput();
    if (!failed()) error_ = closing;
    if (!failed()) return Ending::Written;
    return platform::isClosedPipe(error_) ? Ending::ClosedPipe : Ending::Failed;
}

std::string StandardOutput::reason() const {
    return platform::systemErrorText(error_);
}

}  // namespace veltrano::cli
