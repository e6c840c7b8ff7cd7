#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include <QByteArray>
#include <QImage>

#include "render/views/ViewPainting.h"

namespace veltrano {

// A view, or a chart of the exploration dialogs, as a file, drawn by the same painters as the screen:
// a PNG picture, an SVG drawing (texts stay texts, in the font family that is really drawn; pictures
// are embedded) or a one-page PDF (vector). Everything is made in memory; writing the file is the
// caller's.
enum class ExportFormat { Png, Svg, Pdf };

// A picture that one painter function draws on a canvas of a fixed size with the window's fonts
// (which it is handed: a file names the families really drawn).
struct Drawing {
    QSize canvas;
    std::function<void(QPainter& painter, const ViewResources& resources)> paint;
};
// The view of `scene` as a drawing; the drawing refers to the scene's designs.
Drawing viewDrawing(const ViewResources& resources, const ViewScene& scene);

// The formats this build writes, in the order the export dialog offers them. SVG needs Qt SVG, which a
// Windows build may go without (docs/windows.md).
inline constexpr ExportFormat kExportFormats[] = {
    ExportFormat::Png,
#ifdef VELTRANO_HAVE_SVG
    ExportFormat::Svg,
#endif
    ExportFormat::Pdf,
};

// The format of kExportFormats a file name asks for by its extension (".png", ".svg", ".pdf", any case).
std::optional<ExportFormat> exportFormatOf(std::string_view fileName);
// ".png", ".svg" or ".pdf".
const char* exportExtension(ExportFormat format);

// PNG pictures are drawn at a scale (device pixels per view pixel) in this range.
inline constexpr double kMinExportScale = 0.25, kMaxExportScale = 4.0;
bool validExportScale(double scale);

// The drawing on a white canvas of its size × scale pixels, with that device pixel ratio. A null
// image when the scale is out of range or the picture cannot be had.
QImage renderDrawingImage(const ViewResources& resources, const Drawing& drawing, double scale);
// The file's bytes; `scale` is used by PNG only. Empty when the picture cannot be made or the build
// does not write the format.
QByteArray renderDrawingFile(const ViewResources& resources, const Drawing& drawing, ExportFormat format,
                             double scale = 1.0);

// The same for a view, on its canvas of viewCanvasSize.
QByteArray renderViewFile(const ViewResources& resources, const ViewScene& scene, ExportFormat format,
                          double scale = 1.0);

}  // namespace veltrano
