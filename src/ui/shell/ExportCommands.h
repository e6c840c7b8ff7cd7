#pragma once

#include <memory>

#include <QLocale>
#include <QString>

#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"
#include "render/views/ViewPainting.h"

class QMimeData;
class QWidget;

namespace veltrano {

class Dialogs;
class LastFolder;

// The commands that let people take the results away: the view as a picture or drawing, the numbers
// as CSV files, both on the clipboard. Each is one call for a menu row.

// What a view export draws and what it proposes: the view as the window shows it, the window's fonts
// and pictures, the design file's name (the proposed name follows it) and the screen's device pixel
// ratio (the proposed scale of a PNG picture), and where the file dialog starts (none: beside the design).
struct ViewExportSource {
    const ViewResources& resources;
    ViewScene scene;
    QString designFileName;
    double screenRatio = 1.0;
    LastFolder* lastFolder = nullptr;
};

// File > "Export view ...": a save dialog titled "Export View" for a PNG picture, an SVG drawing or a
// PDF page (the extension of the name decides; a name without one takes the chosen filter's), for PNG
// then the scale; the
// file is made in memory and written through the safe save (053 when it cannot be written). True when
// a file was written; cancelling writes and shows nothing.
bool exportView(Dialogs& dialogs, QWidget* owner, ErrorReporter& errors, const ViewExportSource& source);

// File > "Export data ...": a save dialog titled "Export Data" for a name X.csv (the design's name
// proposed); writes one CSV file per table beside it, X-summary.csv, X-profiles.csv, X-curves.csv and
// X-puffs.csv, after one question when any of them exists. The puff table has rows only when the
// per-puff data are current. Stops at the first file that cannot be written (053). True when all
// four were written. The dialog starts in `lastFolder` when given, else beside the design.
bool exportData(Dialogs& dialogs, QWidget* owner, ErrorReporter& errors, const DesignSet& designs,
                bool puffByPuffValid, const QString& designFileName, LastFolder* lastFolder = nullptr);

// Edit > "Copy": the view as a picture (at `ratio` device pixels per view pixel) together with the
// numbers it shows as tab-separated text, decimals in `locale`'s separator: a spreadsheet pastes
// cells, a document the picture. Hand it to QClipboard::setMimeData.
std::unique_ptr<QMimeData> viewMimeData(const ViewResources& resources, const ViewScene& scene, double ratio,
                                        const QLocale& locale = QLocale());

}  // namespace veltrano
