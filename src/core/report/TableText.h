#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/report/ReportTables.h"

namespace veltrano {

// A number as the shortest text that reads back as the same double, with '.' as the decimal point
// whatever the locale ("114.63937867383028", "0.5", "1e-07"); non-finite numbers as "NaN",
// "Infinity" and "-Infinity", as the JSON output writes them.
std::string fullPrecisionNumber(double value);

// A table as a CSV file (RFC 4180): the header row, then one record a row, fields separated by
// commas, records ended by CR LF, a field quoted when it holds a comma, a quote or a line break.
// Numbers at full precision with '.'.
std::string csvText(const ReportTable& table);

// Tables as tab-separated text for the clipboard: each table its header row and rows, lines ended by
// "\n", a blank line between tables. Numbers at full precision with `decimalSeparator` in place of
// the '.', so that a spreadsheet of the user's locale reads them as numbers.
std::string tabText(const std::vector<ReportTable>& tables, std::string_view decimalSeparator);

}  // namespace veltrano
