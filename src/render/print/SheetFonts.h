#pragma once

#include <QFont>

namespace veltrano {

// Fonts of the printed sheet, sized in sheet units: a "20 point" font is 20 units high on the
// 2000 × 3000 sheet, whatever the printer's resolution.
inline constexpr int kPageFontSize = 20;   // the page font: rows, chart titles
inline constexpr int kTitleFontSize = 30;  // table titles
inline constexpr int kChartFontSize = 14;  // axis letters and labels, the legend

// "Arial" (the metric twin installed with the program) at `size` sheet units. The sheet is scaled
// onto the device, so the glyphs are not hinted to the unscaled size.
QFont sheetFont(int size, bool bold = false);

}  // namespace veltrano
