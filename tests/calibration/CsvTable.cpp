#include "CsvTable.h"

#include <fstream>
#include <iterator>

namespace veltrano::calibration {

CsvTable CsvTable::parse(std::string_view text) {
    CsvTable table;
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false, fieldStarted = false;
    int line = 1;
    const auto endRecord = [&] {
        if (fieldStarted || !record.empty()) {
            record.push_back(std::move(field));
            records.push_back(std::move(record));
        }
        record.clear();
        field.clear();
        fieldStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                if (c == '\n') ++line;
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
            fieldStarted = true;
        } else if (c == ',') {
            record.push_back(std::move(field));
            field.clear();
            fieldStarted = true;
        } else if (c == '\n') {
            endRecord();
            ++line;
        } else if (c != '\r') {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) {
        table.error_ = "line " + std::to_string(line) + ": a quoted field is not closed";
        return table;
    }
    endRecord();
    if (records.empty()) {
        table.error_ = "no header line";
        return table;
    }
    table.header_ = std::move(records.front());
    for (std::size_t r = 1; r < records.size(); ++r) {
        if (records[r].size() != table.header_.size()) {
            table.error_ = "record " + std::to_string(r + 1) + " has " + std::to_string(records[r].size()) +
                           " fields, the header " + std::to_string(table.header_.size());
            return table;
        }
        table.rows_.push_back(std::move(records[r]));
    }
    return table;
}

std::optional<std::size_t> CsvTable::column(std::string_view name) const {
    for (std::size_t i = 0; i < header_.size(); ++i)
        if (header_[i] == name) return i;
    return std::nullopt;
}

std::optional<std::string> readTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace veltrano::calibration
