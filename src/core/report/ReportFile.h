#pragma once

#include <string>
#include <string_view>

#include "core/design/ErrorMessages.h"

namespace veltrano {

// Writes an export made in memory to `path` through the safe save, so that a failure (a full disk, a
// folder that cannot be written) leaves no partial file and keeps an older file of that name. Reports
// 053 ("... could not be written to the specified file.") when the file was not written completely,
// whatever the cause; true when it was.
bool writeReportFile(const std::string& path, std::string_view bytes, ErrorReporter& errors);

// The name an export proposes: the design file's path with `extension` (".pdf", ".png", ...) in place
// of its own, or `unnamed` with the extension while the designs have no file yet.
std::string reportFileName(std::string_view designPath, std::string_view extension, std::string_view unnamed);

}  // namespace veltrano
