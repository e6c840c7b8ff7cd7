#include "core/report/ReportFile.h"

#include "core/design/FilePath.h"
#include "core/design/SafeSave.h"

namespace veltrano {

bool writeReportFile(const std::string& path, std::string_view bytes, ErrorReporter& errors) {
    const std::span bytesOut(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return saveBytes(path, bytesOut, kErrorCigaretteWriteFailed, errors) == 0;
}

std::string reportFileName(std::string_view designPath, std::string_view extension,
                           std::string_view unnamed) {
    if (designPath.empty()) return std::string(unnamed) + std::string(extension);
    std::filesystem::path path = pathFromUtf8(designPath);
    path.replace_extension(pathFromUtf8(extension));
    return utf8Path(path);
}

}  // namespace veltrano
