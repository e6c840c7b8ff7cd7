#pragma once

#include <memory>
#include <string_view>

#include <QString>

#include "core/design/ErrorMessages.h"
#include "render/views/ViewExport.h"

class QMimeData;
class QWidget;

namespace veltrano {

class Dialogs;
class LastFolder;

// Taking a drawing or a table away: as a file through a save dialog, or on the clipboard. The main
// views and the exploration dialogs' charts go the same way.

extern const char* const kDrawingFilter;
extern const char* const kCsvFilter;

// The name a save dialog proposes: the design file's name without its extension ("veltrano" while there
// is none), then `suffix`; the chosen filter's extension completes it.
QString proposedExportName(const QString& designFileName, const QString& suffix = {});

// A drawing as a PNG picture, an SVG drawing or a PDF page: a save dialog titled `title` proposing the
// design file's name followed by `nameSuffix` ("-map"; the extension of the chosen name decides the
// format, a name without one takes the chosen filter's), for PNG then the scale (the screen's ratio
// proposed). The file is made in memory and written through the safe save (053 when it cannot be
// written). True when a file was written; cancelling writes and shows nothing.
struct DrawingExportSource {
    const ViewResources& resources;
    Drawing drawing;
    QString designFileName;
    double screenRatio = 1.0;
    QString title;
    QString nameSuffix = {};
    LastFolder* lastFolder = nullptr;  // where the save dialog starts; none: beside the design
};
bool exportDrawing(Dialogs& dialogs, QWidget* owner, ErrorReporter& errors,
                   const DrawingExportSource& source);

// One table as a CSV file made by the caller: a save dialog titled `title` proposing the design file's
// name followed by `nameSuffix`, then the safe write (053 when it cannot be written). True when written.
bool exportCsv(Dialogs& dialogs, QWidget* owner, ErrorReporter& errors, const QString& title,
               const QString& designFileName, const QString& nameSuffix, std::string_view csv,
               LastFolder* lastFolder = nullptr);

// A drawing as a picture (at `ratio` device pixels per drawing pixel) together with `text`, the numbers
// it shows: a spreadsheet pastes cells, a document the picture. Hand it to QClipboard::setMimeData.
std::unique_ptr<QMimeData> drawingMimeData(const ViewResources& resources, const Drawing& drawing,
                                           double ratio, const QString& text);

}  // namespace veltrano
