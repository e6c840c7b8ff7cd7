#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::calibration {

// A CSV text with a header line: fields separated by commas, a field in double quotes may hold commas,
// line breaks and doubled quotes. Blank lines are skipped.
class CsvTable {
public:
    // Reads the text; `error` says what is wrong when it cannot be read (an open quote, a row whose
    // length differs from the header's).
    static CsvTable parse(std::string_view text);

    const std::string& error() const { return error_; }
    const std::vector<std::string>& header() const { return header_; }
    const std::vector<std::vector<std::string>>& rows() const { return rows_; }
    // The index of a header column, if there is one of that name.
    std::optional<std::size_t> column(std::string_view name) const;

private:
    std::vector<std::string> header_;
    std::vector<std::vector<std::string>> rows_;
    std::string error_;
};

// The whole file, or nothing when it cannot be read.
std::optional<std::string> readTextFile(const std::string& path);

}  // namespace veltrano::calibration
