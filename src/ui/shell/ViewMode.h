#pragma once

namespace veltrano {

// What the main window's client area shows; the numbers are the views' places in the menu and panel.
enum class ViewMode { StationaryFlow = 1, Yields = 2, PuffByPuff = 3, Summary = 4 };

inline constexpr ViewMode kViewModes[] = {ViewMode::StationaryFlow, ViewMode::Yields, ViewMode::PuffByPuff,
                                          ViewMode::Summary};

}  // namespace veltrano
