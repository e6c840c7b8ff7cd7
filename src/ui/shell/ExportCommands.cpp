#include "ui/shell/ExportCommands.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>

#include "core/report/ReportFile.h"
#include "core/report/TableText.h"
#include "render/views/ViewExport.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/DrawingExport.h"
#include "ui/dialogs/FileDialogs.h"

namespace veltrano {

namespace {

// The numbers a view shows: the summary values (its result boxes and tables), then the table of what
// its charts draw.
std::vector<ReportTableId> tablesOfView(const ViewScene& scene) {
    if (scene.rawListing) return {ReportTableId::Summary};
    switch (scene.view) {
        case View::StationaryFlow:
            return {ReportTableId::Summary, ReportTableId::Profiles};
        case View::Yields:
            return {ReportTableId::Summary, ReportTableId::Curves};
        case View::PuffByPuff:
        case View::Summary:
            return {ReportTableId::Summary, ReportTableId::Puffs};
    }
    return {ReportTableId::Summary};
}

}  // namespace

bool exportView(Dialogs& dialogs, QWidget* owner, ErrorReporter& errors, const ViewExportSource& source) {
    return exportDrawing(dialogs, owner, errors,
                         {source.resources,
                          viewDrawing(source.resources, source.scene),
                          source.designFileName,
                          source.screenRatio,
                          QStringLiteral("Export View"),
                          {},
                          source.lastFolder});
}

bool exportData(Dialogs& dialogs, QWidget* owner, ErrorReporter& errors, const DesignSet& designs,
                bool puffByPuffValid, const QString& designFileName, LastFolder* lastFolder) {
    FileDialogRequest request{QFileDialog::AcceptSave, kCsvFilter, QStringLiteral("csv"),
                              QStringLiteral("Export Data"), proposedExportName(designFileName)};
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
    std::vector<ReportTable> tables;
    for (ReportTableId table : tablesOfView(scene))
        tables.push_back(buildReportTable(table, scene.designs, scene.puffByPuffValid));
    return drawingMimeData(resources, viewDrawing(resources, scene), ratio,
                           QString::fromStdString(tabText(tables, locale.decimalPoint().toStdString())));
}

}  // namespace veltrano
