// Any bytes as the information file beside a recovery file: nothing, or information that writes back to
// a text that reads as the same information.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/document/RecoveryFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto info =
        veltrano::decodeRecoveryInfo(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!info) return 0;
    const auto again = veltrano::decodeRecoveryInfo(veltrano::encodeRecoveryInfo(*info));
    if (!again || again->originalPath != info->originalPath || again->legacyFile != info->legacyFile ||
        again->writtenAt != info->writtenAt)
        std::abort();
    return 0;
}
