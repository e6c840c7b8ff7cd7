#include "core/report/TableText.h"

#include <charconv>
#include <cmath>

namespace veltrano {

namespace {

// The text of a cell, its numbers written by `number`.
template <class NumberText>
std::string cellText(const ReportCell& cell, const NumberText& number) {
    if (const double* value = std::get_if<double>(&cell)) return number(*value);
    return std::string(std::get<std::string_view>(cell));
}

std::string csvField(std::string text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

// Header and rows of a table as lines of fields joined by `separator`, each line ended by `end`.
template <class Field>
std::string delimited(const ReportTable& table, char separator, std::string_view end, const Field& field) {
    std::string text;
    const auto line = [&](const auto& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0) text += separator;
            text += field(cells[i]);
        }
        text += end;
    };
    line(table.header);
    for (const std::vector<ReportCell>& row : table.rows) line(row);
    return text;
}

}  // namespace

std::string fullPrecisionNumber(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string csvText(const ReportTable& table) {
    struct Field {
        std::string operator()(const std::string& header) const { return csvField(header); }
        std::string operator()(const ReportCell& cell) const {
            return csvField(cellText(cell, fullPrecisionNumber));
        }
    };
    return delimited(table, ',', "\r\n", Field{});
}

std::string tabText(const std::vector<ReportTable>& tables, std::string_view decimalSeparator) {
    const auto localNumber = [decimalSeparator](double value) {
        std::string text = fullPrecisionNumber(value);
        const std::size_t point = text.find('.');
        if (point != std::string::npos) text.replace(point, 1, decimalSeparator);
        return text;
    };
    struct Field {
        const decltype(localNumber)& number;
        std::string operator()(const std::string& header) const { return header; }
        std::string operator()(const ReportCell& cell) const { return cellText(cell, number); }
    };
    std::string text;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        if (i > 0) text += '\n';
        text += delimited(tables[i], '\t', "\n", Field{localNumber});
    }
    return text;
}

}  // namespace veltrano
