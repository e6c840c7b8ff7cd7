#include "report/ReportFile.h"

#include <array>
#include <filesystem>

#include "design/SafeSave.h"

namespace veltrano {

bool writeReportFile(const std::string& path, std::string_view bytes, ErrorReporter& errors) {
    PosixSaveFileSystem fileSystem;
    const std::array<std::span<const std::uint8_t>, 1> pieces{
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())};
    if (saveFile(path, pieces, fileSystem).complete()) return true;
    ReportError(errors, kErrorExportNotWritten);
    return false;
}

std::string reportFileName(std::string_view designPath, std::string_view extension,
                           std::string_view unnamed) {
    if (designPath.empty()) return std::string(unnamed) + std::string(extension);
    std::filesystem::path path(designPath);
    path.replace_extension(extension);
    return path.string();
}

}  // namespace veltrano
