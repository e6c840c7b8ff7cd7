#include "shell/ExportCommands.h"

#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>

#include "dialogs/Dialogs.h"
#include "dialogs/FileDialogs.h"
#include "report/ReportFile.h"
#include "report/TableText.h"
#include "views/ViewExport.h"

namespace veltrano {

namespace {

const char* const kViewFilter =
    "PNG Image (*.png)|*.png|SVG Drawing (*.svg)|*.svg|PDF Document (*.pdf)|*.pdf||";
const char* const kDataFilter = "CSV Files (*.csv)|*.csv||";

bool writeBytes(const QString& path, const QByteArray& bytes, ErrorReporter& errors) {
    return writeReportFile(path.toStdString(),
                           std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                           errors);
}

// The design file's name without its extension ("veltrano" while there is none): the chosen
// filter's suffix completes it.
QString proposedName(const QString& designFileName) {
    return QString::fromStdString(reportFileName(designFileName.toStdString(), "", "veltrano"));
}

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
std::optional<double> askScale(Dialogs& dialogs, QWidget* owner, double screenRatio) {
    QInputDialog dialog(owner);
    dialog.setWindowTitle(QStringLiteral("Export View"));
    dialog.setLabelText(QStringLiteral("Scale of the picture (1 = one pixel per screen pixel):"));
    dialog.setInputMode(QInputDialog::DoubleInput);
    dialog.setDoubleRange(kMinExportScale, kMaxExportScale);
    dialog.setDoubleDecimals(2);
    dialog.setDoubleValue(validExportScale(screenRatio) ? screenRatio : 1.0);
    if (dialogs.exec(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.doubleValue();
}

// The numbers a view shows: the summary values (its result boxes and tables), then the table of what
// its charts draw.
std::vector<ReportTableId> tablesOfView(ViewKind kind) {
    switch (kind) {
        case ViewKind::Stationary:
            return {ReportTableId::Summary, ReportTableId::Profiles};
        case ViewKind::Yields:
            return {ReportTableId::Summary, ReportTableId::Curves};
        case ViewKind::Puffs:
        case ViewKind::Summary:
            return {ReportTableId::Summary, ReportTableId::Puffs};
        case ViewKind::Listing:
            break;
    }
    return {ReportTableId::Summary};
}

}  // namespace

bool exportView(Dialogs& dialogs, QWidget* owner, ErrorReporter& errors, const ViewExportSource& source) {
    QString filter;
    FileDialogRequest request{QFileDialog::AcceptSave,
                              kViewFilter,
                              {},
                              QStringLiteral("Export View"),
                              proposedName(source.designFileName)};
    request.suffixFollowsFilter = true;
    request.chosenFilter = &filter;
    request.lastFolder = source.lastFolder;
    QString path = askFileName(dialogs, owner, request);
    if (path.isEmpty()) return false;
    const ExportFormat format = formatOfChoice(path, filter);
    double scale = 1.0;
    if (format == ExportFormat::Png) {
        const std::optional<double> chosen = askScale(dialogs, owner, source.screenRatio);
        if (!chosen) return false;
        scale = *chosen;
    }
    const QByteArray bytes = renderViewFile(source.resources, source.scene, format, scale);
    if (bytes.isEmpty()) {
        ReportError(errors, kErrorCigaretteWriteFailed);  // the picture could not be made: nothing is written
        return false;
    }
    return writeBytes(path, bytes, errors);
}

bool exportData(Dialogs& dialogs, QWidget* owner, ErrorReporter& errors, const DesignSet& designs,
                bool puffByPuffValid, const QString& designFileName, LastFolder* lastFolder) {
    FileDialogRequest request{QFileDialog::AcceptSave, kDataFilter, QStringLiteral("csv"),
                              QStringLiteral("Export Data"), proposedName(designFileName)};
    request.confirmOverwrite = false;  // the chosen name is not written itself; the question comes below
    request.lastFolder = lastFolder;
    const QString path = askFileName(dialogs, owner, request);
    if (path.isEmpty()) return false;
    const QFileInfo chosen(path);
    const QString base = chosen.path() + QLatin1Char('/') + chosen.completeBaseName() + QLatin1Char('-');

    std::vector<std::pair<ReportTableId, QString>> files;
    QStringList existing;
    for (ReportTableId table : kReportTables) {
        const QString file = base + QString::fromUtf8(reportTableName(table).data()) + QStringLiteral(".csv");
        files.emplace_back(table, file);
        if (QFileInfo::exists(file)) existing << QFileInfo(file).fileName();
    }
    if (!existing.isEmpty()) {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Export Data"),
                        QStringLiteral("Replace the existing files?\n\n") + existing.join(QLatin1Char('\n')),
                        QMessageBox::Yes | QMessageBox::No, owner);
        box.setDefaultButton(QMessageBox::No);
        if (dialogs.exec(box) != QMessageBox::Yes) return false;
    }
    for (const auto& [table, file] : files) {
        if (!writeReportFile(file.toStdString(), csvText(buildReportTable(table, designs, puffByPuffValid)),
                             errors))
            return false;
    }
    return true;
}

std::unique_ptr<QMimeData> viewMimeData(const ViewResources& resources, const ViewScene& scene, double ratio,
                                        const QLocale& locale) {
    auto data = std::make_unique<QMimeData>();
    data->setImageData(renderViewImage(resources, scene, validExportScale(ratio) ? ratio : 1.0));
    std::vector<ReportTable> tables;
    for (ReportTableId table : tablesOfView(scene.kind))
        tables.push_back(buildReportTable(table, scene.designs, scene.puffByPuffValid));
    data->setText(QString::fromStdString(tabText(tables, locale.decimalPoint().toStdString())));
    return data;
}

}  // namespace veltrano
