#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/design/DesignSet.h"

namespace veltrano {

// The numbers of the designs as tables, one row per item: the summary values of the three designs,
// the stationary profiles of the current design (one row per profile point), its ISO and
// alternative puff curves (one row per curve point) and its puff-by-puff results (one row per puff).
enum class ReportTableId { Summary, Profiles, Curves, Puffs };
inline constexpr ReportTableId kReportTables[] = {ReportTableId::Summary, ReportTableId::Profiles,
                                                  ReportTableId::Curves, ReportTableId::Puffs};

// "summary", "profiles", "curves", "puffs".
std::string_view reportTableName(ReportTableId table);
std::optional<ReportTableId> reportTableNamed(std::string_view name);

// A cell holds a number (at full precision) or a text.
using ReportCell = std::variant<double, std::string_view>;

struct ReportTable {
    std::vector<std::string> header;  // one cell a column: "name [unit]", or the name of a text column
    std::vector<std::vector<ReportCell>> rows;
};

// Builds a table from the designs. The numbers are the record's own, whatever the known bits say.
// The puff table has rows only when `puffDataCurrent` (the per-puff data belong to the present
// inputs); array tables have as many rows as their shortest array (none for a design without arrays).
ReportTable buildReportTable(ReportTableId table, const DesignSet& designs, bool puffDataCurrent);

}  // namespace veltrano
