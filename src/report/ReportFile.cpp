#include "report/ReportFile.h"

#include <filesystem>

#include "design/SafeSave.h"

namespace veltrano {

bool writeReportFile(const std::string& path, std::string_view bytes, ErrorReporter& errors) {
    const std::span bytesOut(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return saveBytes(path, bytesOut, kErrorCigaretteWriteFailed, errors) == 0;
}

std::string reportFileName(std::string_view designPath, std::string_view extension,
                           std::string_view unnamed) {
    if (designPath.empty()) return std::string(unnamed) + std::string(extension);
    // Through UTF-8 both ways: a path of plain chars would pass through the system's code page on Windows.
    std::filesystem::path path(std::u8string(designPath.begin(), designPath.end()));
    path.replace_extension(std::u8string(extension.begin(), extension.end()));
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

}  // namespace veltrano
