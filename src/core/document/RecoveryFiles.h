#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrano {

// What a recovery file needs beside the designs: the file they belong to, whether that file is still
// in the old 3.xx format, and when they were written (seconds since 1970, UTC).
struct RecoveryInfo {
    std::string originalPath;
    bool legacyFile = false;
    std::int64_t writtenAt = 0;
};

// The small text file beside a recovery file. Reading takes any bytes: a damaged sidecar gives nothing.
std::string encodeRecoveryInfo(const RecoveryInfo& info);
std::optional<RecoveryInfo> decodeRecoveryInfo(std::string_view text);
// No sidecar is anywhere near this; a larger file is not one.
inline constexpr std::uint64_t kRecoveryInfoCap = 64 * 1024;

// Where recovery files live: $XDG_STATE_HOME/veltrano when that is an absolute path, else
// ~/.local/state/veltrano. Empty when neither gives a place (no home folder). The caller passes the
// two variables as the environment holds them (null when unset).
std::string recoveryFolder(const char* xdgStateHome, const char* home);

}  // namespace veltrano
