#pragma once

#include <QFontMetrics>
#include <QString>
#include <vector>

namespace veltrano {

// Breaks text into lines no wider than `width` in `metrics`: at every CR LF, CR or LF, and between
// words, dropping the blank at a break. A word wider than a line is broken between characters so
// that nothing runs past the right edge.
std::vector<QString> wrapText(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace veltrano
