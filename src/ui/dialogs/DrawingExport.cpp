#include "ui/dialogs/DrawingExport.h"

#include <optional>

#include <QInputDialog>
#include <QMimeData>

#include "core/report/ReportFile.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/FileDialogs.h"
#include "ui/dialogs/MessageBoxes.h"

namespace veltrano {

// The formats of kExportFormats, in their order.
const char* const kDrawingFilter =
    "PNG Image (*.png)|*.png|"
#ifdef VELTRANO_HAVE_SVG
    "SVG Drawing (*.svg)|*.svg|"
#endif
    "PDF Document (*.pdf)|*.pdf||";
const char* const kCsvFilter = "CSV Files (*.csv)|*.csv||";

namespace {

// The format a chosen name asks for by its extension, else the chosen filter's, whose extension the
// name then gets.
ExportFormat formatOfChoice(QString& path, const QString& filter) {
    if (const auto format = exportFormatOf(path.toStdString())) return *format;
    const ExportFormat format =
        exportFormatOf(QString(filter).remove(QLatin1Char(')')).toStdString()).value_or(ExportFormat::Png);
    path += QLatin1String(exportExtension(format));
    return format;
}

// The scale of a PNG picture, the screen's ratio proposed; nothing when the user cancels.
std::optional<double> askScale(Dialogs& dialogs, QWidget* owner, const QString& title, double screenRatio) {
    QInputDialog dialog(owner);
    dialog.setWindowTitle(title);
    dialog.setLabelText(QStringLiteral("Scale of the picture (1 = one pixel per screen pixel):"));
    dialog.setInputMode(QInputDialog::DoubleInput);
    dialog.setDoubleRange(kMinExportScale, kMaxExportScale);
    dialog.setDoubleDecimals(2);
    dialog.setDoubleValue(validExportScale(screenRatio) ? screenRatio : 1.0);
    if (dialogs.exec(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.doubleValue();
}

// Shows why an export failed, in a box titled as the export's dialog; false, for the caller to return.
bool showExportFailure(Dialogs& dialogs, QWidget* owner, const QString& title, const std::string& message) {
    showMessage(dialogs, owner, QString::fromStdString(message), title, QMessageBox::Warning);
    return false;
}

}  // namespace

QString proposedExportName(const QString& designFileName, const QString& suffix) {
    return QString::fromStdString(reportFileName(designFileName.toStdString(), "", "veltrano")) + suffix;
}

bool exportDrawing(Dialogs& dialogs, QWidget* owner, const DrawingExportSource& source) {
    QString filter;
    FileDialogRequest request{QFileDialog::AcceptSave,
                              kDrawingFilter,
                              {},
                              source.title,
                              proposedExportName(source.designFileName, source.nameSuffix)};
    request.suffixFollowsFilter = true;
    request.chosenFilter = &filter;
    request.lastFolder = source.lastFolder;
    QString path = askFileName(dialogs, owner, request);
    if (path.isEmpty()) return false;
    const ExportFormat format = formatOfChoice(path, filter);
    double scale = 1.0;
    if (format == ExportFormat::Png) {
        const std::optional<double> chosen = askScale(dialogs, owner, source.title, source.screenRatio);
        if (!chosen) return false;
        scale = *chosen;
    }
    const QByteArray bytes = renderDrawingFile(source.resources, source.drawing, format, scale);
    if (bytes.isEmpty())
        return showExportFailure(dialogs, owner, source.title, exportNotMadeMessage(path.toStdString()));
    return writeExport(dialogs, owner, source.title, path,
                       std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

bool writeExport(Dialogs& dialogs, QWidget* owner, const QString& title, const QString& path,
                 std::string_view bytes) {
    const std::optional<std::string> failure = writeReportFile(path.toStdString(), bytes);
    return !failure || showExportFailure(dialogs, owner, title, *failure);
}

bool exportCsv(Dialogs& dialogs, QWidget* owner, const QString& title, const QString& designFileName,
               const QString& nameSuffix, std::string_view csv, LastFolder* lastFolder) {
    FileDialogRequest request{QFileDialog::AcceptSave, kCsvFilter, QStringLiteral("csv"), title,
                              proposedExportName(designFileName, nameSuffix)};
    request.lastFolder = lastFolder;
    const QString path = askFileName(dialogs, owner, request);
    return !path.isEmpty() && writeExport(dialogs, owner, title, path, csv);
}

std::unique_ptr<QMimeData> drawingMimeData(const ViewResources& resources, const Drawing& drawing,
                                           double ratio, const QString& text) {
    auto data = std::make_unique<QMimeData>();
    data->setImageData(renderDrawingImage(resources, drawing, validExportScale(ratio) ? ratio : 1.0));
    data->setText(text);
    return data;
}

}  // namespace veltrano
