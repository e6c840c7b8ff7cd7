#include "render/views/ViewExport.h"

#include "render/resources/ProgramTitle.h"
#include "render/views/PainterScopes.h"

#include <QBuffer>
#include <QFontInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>
#include <memory>
#ifdef VELTRANO_HAVE_SVG
#include <QSvgGenerator>
#endif

namespace veltrano {

namespace {

// The view's pixels are screen pixels at 96 dpi; vector files keep that size.
constexpr int kScreenDpi = 96;

// SVG and PDF name the family they are given; the views ask for the Windows faces and leave the
// choice of the installed twin to the font substitution. A file names the family really drawn.
ViewResources withDrawnFamilies(const ViewResources& resources) {
    ViewResources resolved = resources;
    for (QFont* font :
         {&resolved.listingFont, &resolved.labelFont, &resolved.labelBoldFont, &resolved.titleFont})
        font->setFamily(QFontInfo(*font).family());
    return resolved;
}

void paintOnWhite(QPainter& painter, const ViewResources& resources, const Drawing& drawing) {
    painter.fillRect(QRect(QPoint(0, 0), drawing.canvas), Qt::white);
    drawing.paint(painter, resources);
}

QByteArray pngBytes(const ViewResources& resources, const Drawing& drawing, double scale) {
    const QImage image = renderDrawingImage(resources, drawing, scale);
    QByteArray bytes;
    if (image.isNull()) return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) bytes.clear();
    return bytes;
}

// Draws the picture, in the families really drawn, on a vector device that `makeDevice` makes over a
// buffer for the canvas size, and returns what the device wrote.
template <class MakeDevice>
QByteArray vectorBytes(const ViewResources& resources, const Drawing& drawing, const MakeDevice& makeDevice) {
    const ViewResources drawn = withDrawnFamilies(resources);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const auto device = makeDevice(buffer, drawing.canvas);
    DocumentPainter painter;
    if (!painter.begin(device.get())) return {};
    paintOnWhite(*painter, drawn, drawing);
    if (!painter.end()) return {};
    return bytes;
}

#ifdef VELTRANO_HAVE_SVG
std::unique_ptr<QSvgGenerator> svgDevice(QIODevice& buffer, QSize canvas) {
    auto svg = std::make_unique<QSvgGenerator>();
    svg->setOutputDevice(&buffer);
    svg->setSize(canvas);
    svg->setViewBox(QRect(QPoint(0, 0), canvas));
    svg->setResolution(kScreenDpi);
    svg->setTitle(programTitle());
    return svg;
}
#endif

std::unique_ptr<QPdfWriter> pdfDevice(QIODevice& buffer, QSize canvas) {
    auto pdf = std::make_unique<QPdfWriter>(&buffer);
    pdf->setCreator(programTitle());
    pdf->setResolution(kScreenDpi);
    const QSizeF points(canvas.width() * 72.0 / kScreenDpi, canvas.height() * 72.0 / kScreenDpi);
    pdf->setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf->setPageMargins(QMarginsF(0, 0, 0, 0));
    return pdf;
}

}  // namespace

std::optional<ExportFormat> exportFormatOf(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const QString extension =
        QString::fromUtf8(fileName.data() + dot, qsizetype(fileName.size() - dot)).toLower();
    for (ExportFormat format : kExportFormats)
        if (extension == QLatin1String(exportExtension(format))) return format;
    return std::nullopt;
}

const char* exportExtension(ExportFormat format) {
    switch (format) {
        case ExportFormat::Png:
            return ".png";
        case ExportFormat::Svg:
            return ".svg";
        case ExportFormat::Pdf:
            return ".pdf";
    }
    return "";
}

bool validExportScale(double scale) {
    return std::isfinite(scale) && scale >= kMinExportScale && scale <= kMaxExportScale;
}

Drawing viewDrawing(const ViewResources& resources, const ViewScene& scene) {
    return {viewCanvasSize(resources, scene),
            [scene](QPainter& painter, const ViewResources& drawn) { paintView(painter, drawn, scene); }};
}

QImage renderDrawingImage(const ViewResources& resources, const Drawing& drawing, double scale) {
    if (!validExportScale(scale) || drawing.canvas.isEmpty()) return {};
    QImage image(qRound(drawing.canvas.width() * scale), qRound(drawing.canvas.height() * scale),
                 QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    paintOnWhite(painter, resources, drawing);
    return image;
}

QByteArray renderDrawingFile(const ViewResources& resources, const Drawing& drawing, ExportFormat format,
                             double scale) {
    switch (format) {
        case ExportFormat::Png:
            return pngBytes(resources, drawing, scale);
        case ExportFormat::Svg:
#ifdef VELTRANO_HAVE_SVG
            return vectorBytes(resources, drawing, svgDevice);
#else
            return {};
#endif
        case ExportFormat::Pdf:
            return vectorBytes(resources, drawing, pdfDevice);
    }
    return {};
}

QByteArray renderViewFile(const ViewResources& resources, const ViewScene& scene, ExportFormat format,
                          double scale) {
    return renderDrawingFile(resources, viewDrawing(resources, scene), format, scale);
}

}  // namespace veltrano
