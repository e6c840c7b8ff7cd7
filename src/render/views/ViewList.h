#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace veltrano {

// The four result views of the main window's client area, numbered as the View menu and the design
// panel number them. (The raw listing is no view: it is drawn instead of whichever view is chosen.)
enum class View { StationaryFlow = 1, Yields = 2, PuffByPuff = 3, Summary = 4 };

// One row per view, in their order: the name the command line knows it by, the View menu's item and
// the design panel's radio button. The menu, the panel and the view commands are made from these rows.
struct ViewRow {
    View view;
    std::string_view name;
    const char* menuText;
    const char* menuObjectName;
    const char* panelText;
    const char* panelObjectName;
    int panelControlId;
};
inline constexpr std::array<ViewRow, 4> kViewRows{{
    {View::StationaryFlow, "stationary", "Stationary Flow Results", "viewStationaryFlow", "Stationary flow",
     "stationaryFlowRadio", 1099},
    {View::Yields, "yields", "ISO and Alternative Yields", "viewYields", "ISO and alt. yields", "yieldsRadio",
     1100},
    {View::PuffByPuff, "puffs", "Puff by Puff Analysis Results", "viewPuffByPuff", "Puff-by-puff analysis",
     "puffByPuffRadio", 1101},
    {View::Summary, "summary", "Cigarette Data Summary", "viewSummary", "Data summary", "summaryRadio", 1102},
}};

// The place of `view` in kViewRows.
constexpr std::size_t viewIndex(View view) {
    return static_cast<std::size_t>(view) - 1;
}

// The view the command line names ("stationary", "yields", "puffs", "summary"), or nothing.
constexpr std::optional<View> viewNamed(std::string_view name) {
    for (const ViewRow& row : kViewRows)
        if (row.name == name) return row.view;
    return std::nullopt;
}

}  // namespace veltrano
