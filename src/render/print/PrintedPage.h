#pragma once

#include <QRect>
#include <QSize>

#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"

class QPainter;
class QPaintDevice;

namespace veltrano {

// The printed page: a logical sheet of 2000 × 3000 units holding both designs.
inline constexpr int kSheetWidth = 2000, kSheetHeight = 3000;

// Where the sheet lies on a printable area of `printable` device pixels: scaled to fit with equal
// scale in x and y, at the top left; on a landscape page the area right of it stays empty.
QRect sheetViewport(QSize printable);

// The seven blocks and the header, in sheet units (the painter already maps the sheet).
void drawSheet(QPainter& painter, const DesignSet& designs, bool puffByPuffValid);

// The whole page on an active painter whose device has a printable area of `printable` pixels:
// the sheet mapping, the page font, then drawSheet. Leaves the painter as it found it.
void renderReport(QPainter& painter, QSize printable, const DesignSet& designs, bool puffByPuffValid);

// The print job on a printer or a PDF writer: starts the document, renders the page, ends it.
// Reports 066 when the document cannot be started (there is then nothing to draw on and nothing
// to end) and 069 when it cannot be ended. True when the page was written.
bool printReport(QPaintDevice& device, ErrorReporter& errors, const DesignSet& designs, bool puffByPuffValid);

}  // namespace veltrano
