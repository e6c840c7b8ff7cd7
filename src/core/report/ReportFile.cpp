#include "core/report/ReportFile.h"

#include "core/design/FilePath.h"
#include "core/design/SafeSave.h"

namespace veltrano {

std::optional<std::string> writeReportFile(const std::string& path, std::string_view bytes) {
    const std::span bytesOut(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    const SaveReport report = saveBytes(path, bytesOut);
    if (report.complete()) return std::nullopt;
    const std::string reason = failureReason(report);
    return "The file \"" + path + "\" could not be written" + (reason.empty() ? "" : ": " + reason) + ".";
}

std::string exportNotMadeMessage(const std::string& path) {
    return "The picture for \"" + path + "\" could not be made; nothing was written.";
}

std::string reportFileName(std::string_view designPath, std::string_view extension,
                           std::string_view unnamed) {
    if (designPath.empty()) return std::string(unnamed) + std::string(extension);
    std::filesystem::path path = pathFromUtf8(designPath);
    path.replace_extension(pathFromUtf8(extension));
    return utf8Path(path);
}

}  // namespace veltrano
