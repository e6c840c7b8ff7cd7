#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrano {

// Writes an export made in memory to `path` through the safe save, so that a failure (a full disk, a
// folder that cannot be written) leaves no partial file and keeps an older file of that name. Returns
// nothing when the whole file is in place, else the message to show: it names the file and gives the
// system's reason ("The file "/x/y.csv" could not be written: No space left on device.").
std::optional<std::string> writeReportFile(const std::string& path, std::string_view bytes);

// The message for an export whose picture or document could not be made, so that nothing was written.
std::string exportNotMadeMessage(const std::string& path);

// The name an export proposes: the design file's path with `extension` (".pdf", ".png", ...) in place
// of its own, or `unnamed` with the extension while the designs have no file yet.
std::string reportFileName(std::string_view designPath, std::string_view extension, std::string_view unnamed);

}  // namespace veltrano
