#pragma once

#include <QColor>

namespace veltrano::palette {

// The colours every view and the printed page share; the values are exact.
inline constexpr QColor lightBlue{0, 158, 224};    // flow at the mouth end, filter ventilation, CO
inline constexpr QColor lightGreen{151, 190, 13};  // flow through the perforation, mouth-end suction, 'tar'
inline constexpr QColor darkGreen{0, 120, 44};     // flow through the paper, perforation suction, nicotine
inline constexpr QColor darkBlue{0, 48, 120};      // rod ventilation, unventilated flow
inline constexpr QColor frameGrey{100, 100, 100};  // table frames and rules, column and section headings
inline constexpr QColor textGrey{60, 60, 60};      // text inside result boxes and tables
inline constexpr QColor titleGrey{120, 120, 120};  // panel titles of the summary
inline constexpr QColor noteGrey{128, 128, 128};   // dotted marker lines, footnotes
inline constexpr QColor panelGrey{240, 240, 240};  // fill of result boxes and tables
inline constexpr QColor black{0, 0, 0};            // axes, ticks, axis labels
inline constexpr QColor white{255, 255, 255};

// The three stripes of the bar texture.
inline constexpr QColor barLightGreen{104, 185, 45};
inline constexpr QColor barDarkGreen{0, 115, 52};
inline constexpr QColor barBlue{0, 147, 221};

// The raw listing's text colour.
inline constexpr QColor listingOlive{128, 128, 0};

}  // namespace veltrano::palette
