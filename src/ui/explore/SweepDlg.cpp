#include "ui/explore/SweepDlg.h"

#include <numeric>

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "core/explore/DiffusionCoupling.h"
#include "core/model/Recalculation.h"
#include "core/report/TableText.h"
#include "ui/dialogs/DrawingExport.h"
#include "ui/dialogs/ScreenFit.h"
#include "ui/explore/DiffusionChoice.h"
#include "ui/explore/RunPanel.h"
#include "ui/explore/SweepSettings.h"
#include "ui/explore/SweepTableModel.h"
#include "ui/explore/SweepView.h"

namespace veltrano {

namespace {

constexpr QSize kPreferredSize{1200, 820};

QString linesText(const std::vector<InfoLine>& lines) {
    QStringList texts;
    for (const InfoLine& line : lines) texts << QString::fromStdString(line.text);
    return texts.join(QLatin1Char('\n'));
}

}  // namespace

SweepDlg::SweepDlg(const DesignSet& designs, const ModelParameters& mp, const ViewResources& resources,
                   Dialogs& dialogs, const QString& designFileName, LastFolder* lastFolder, QWidget* owner)
    : QDialog(owner),
      current_(designs.currentDesign.values()),
      reference_(designs.referenceDesign.values()),
      mp_(mp),
      resources_(resources),
      dialogs_(dialogs),
      designFileName_(designFileName),
      lastFolder_(lastFolder) {
    setObjectName("SweepDlg");
    setWindowTitle(tr("Sensitivity"));
    settings_ = new SweepSettings(current_, mp_, reference_.isKnown(KnownBit::IsoPuffNumber));
    data_.outputs = settings_->outputs();

    details_ = new QLabel;
    details_->setObjectName("details");
    details_->setWordWrap(true);
    details_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    details_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    panel_ = new RunPanel(settings_, job_, details_);

    view_ = new SweepView(data_, resources_);
    view_->setObjectName("chart");
    model_ = new SweepTableModel(data_, this);
    table_ = new QTableView;
    table_->setObjectName("table");
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    // Under the chart: which known values its points hold.
    held_ = new QLabel;
    held_->setObjectName("held");
    held_->setWordWrap(true);
    held_->hide();
    auto* chartBox = new QWidget;
    auto* chartLayout = new QVBoxLayout(chartBox);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->addWidget(view_, 1);
    chartLayout->addWidget(held_);
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(chartBox);
    splitter->addWidget(table_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({500, 220});

    auto* body = new QHBoxLayout;
    // At least 360 pixels, and as wide as its texts need (a long range note, a wide font).
    panel_->setMinimumWidth(360);
    panel_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    body->addWidget(panel_);
    body->addWidget(splitter, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(buildButtons());

    connect(panel_->run, &QPushButton::clicked, this, &SweepDlg::run);
    connect(settings_, &SweepSettings::outputsChanged, this, &SweepDlg::outputsChanged);
    connect(settings_, &SweepSettings::mappedOutputChanged, this,
            [this] { view_->setMappedOutput(settings_->mappedOutput()); });
    connect(view_, &SweepView::pointClicked, this, [this](int point) {
        const int row = model_->rowOfPoint(point);
        if (row >= 0) table_->selectRow(row);
        select(point);
    });
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& now) { select(model_->pointOfRow(now.row())); });
    connect(&job_, &WorkerJob::finished, this, &SweepDlg::runEnded);

    // Enter runs, wherever the focus is; a button becomes the dialog's default only once it is in it.
    panel_->run->setDefault(true);
    view_->setMappedOutput(settings_->mappedOutput());
    resizeToFitScreen(*this, owner, kPreferredSize);
    updateButtons();
}

SweepDlg::~SweepDlg() {
    job_.stop();
}

QWidget* SweepDlg::buildButtons() {
    apply_ = exploreButton(tr("&Apply this point"), "apply");
    // Not Alt+X: that key ends the program in the main window, and hands used to it reach for it here.
    exportChart_ = exploreButton(tr("Export c&hart ..."), "exportChart");
    copy_ = exploreButton(tr("Cop&y"), "copy");
    exportTable_ = exploreButton(tr("Export ta&ble ..."), "exportTable");
    auto* close = exploreButton(tr("Close"), "close");
    connect(apply_, &QPushButton::clicked, this, &SweepDlg::apply);
    connect(exportChart_, &QPushButton::clicked, this, &SweepDlg::exportChart);
    connect(copy_, &QPushButton::clicked, this, &SweepDlg::copyChart);
    connect(exportTable_, &QPushButton::clicked, this, &SweepDlg::exportTable);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* b : {apply_, exportChart_, copy_, exportTable_}) layout->addWidget(b);
    layout->addStretch();
    layout->addWidget(close);
    return row;
}

void SweepDlg::done(int result) {
    job_.stop();
    QDialog::done(result);
}

void SweepDlg::run() {
    if (job_.running()) return;
    QString problem;
    const std::optional<SweepGrid> grid = settings_->grid(problem);
    if (!grid) {
        showProblem(problem);
        return;
    }
    const bool puffs = settings_->puffs();
    data_.start(*grid, current_, puffs);
    data_.outputs = settings_->outputs();
    referenceErrors_.clear();
    model_->reset();
    select(-1);
    view_->setMappedOutput(settings_->mappedOutput());
    panel_->begin(grid->pointCount());
    const QString note = heldNote(heldKnownValues(grid->fields(), current_, grid->coupleDiffusion));
    held_->setText(note);
    held_->setVisible(!note.isEmpty());
    // The work has its own copies; the reference's prediction is made once, then the points run.
    job_.start(
        [this, grid = *grid, current = current_, reference = reference_, &mp = mp_, puffs](WorkerJob& job) {
            CigaretteDesign working(ArrayMode::WithArrays);
            RecordingErrorReporter errors;
            recalculateWorkingReference(reference, working, mp, errors, nullptr, InnerThreads::CallingThread);
            job.post([this, numbers = errors.numbers] { referenceErrors_ = numbers; });
            std::vector<int> points(static_cast<std::size_t>(grid.pointCount()));
            std::iota(points.begin(), points.end(), 0);
            SweepCallbacks callbacks;
            callbacks.pointDone = [this, &job](SweepPoint&& point) {
                job.post([this, point = std::move(point)]() mutable { pointArrived(std::move(point)); });
            };
            callbacks.cancelRequested = [&job] { return job.stopRequested(); };
            runSweep(grid, points, current, {reference, working, mp}, puffs, callbacks);
        });
    updateButtons();
}

void SweepDlg::pointArrived(SweepPoint&& point) {
    const int index = point.index;
    data_.add(std::move(point));
    model_->pointAdded(index);
    panel_->progress->setValue(data_.computedCount());
    panel_->status->setText(progressText());
    view_->update();
}

void SweepDlg::runEnded() {
    panel_->status->setText(progressText());
    view_->update();
    updateButtons();
    emit sweepEnded();
}

QString SweepDlg::progressText() const {
    int refused = 0;
    for (const SweepPoint* p : pointsRun(data_)) refused += p->result.status == VariantStatus::Refused;
    QString text = tr("%1 of %2 points").arg(data_.computedCount()).arg(data_.pointCount());
    if (job_.running())
        text += tr(" computed so far");
    else if (panel_->cancelled())
        text += tr(", stopped");
    if (refused > 0) text += tr("; %1 refused by the sheet's rules").arg(refused);
    text += QLatin1Char('.');
    for (int n : referenceErrors_)
        text +=
            QLatin1Char('\n') + tr("The reference: ") + QString::fromStdString(errorMessage(n).value_or(""));
    return text;
}

void SweepDlg::outputsChanged() {
    data_.outputs = settings_->outputs();
    model_->reset();
    const int selected = view_->selected();
    select(-1);
    const int row = model_->rowOfPoint(selected);
    if (row >= 0) table_->selectRow(row);
    view_->update();
}

void SweepDlg::select(int point) {
    view_->setSelected(point);
    details_->setText(linesText(pointInfoLines(data_, point, false)));
    updateButtons();
}

void SweepDlg::apply() {
    const SweepPoint* p = data_.point(view_->selected());
    if (!p || p->result.status != VariantStatus::Computed) return;
    applied_ = data_.grid.variantAt(p->index, current_, mp_);
    accept();
}

void SweepDlg::exportChart() {
    exportDrawing(dialogs_, this,
                  {resources_, view_->drawing(), designFileName_, devicePixelRatioF(), tr("Export Chart"),
                   data_.isMap() ? QStringLiteral("-map") : QStringLiteral("-sweep"), lastFolder_});
}

void SweepDlg::copyChart() {
    const SweepReportTable table = sweepReportTable(data_);
    const std::string text = tabText({table.table}, QLocale().decimalPoint().toStdString());
    QGuiApplication::clipboard()->setMimeData(
        drawingMimeData(resources_, view_->drawing(), devicePixelRatioF(), QString::fromStdString(text))
            .release());
}

void SweepDlg::exportTable() {
    exportCsv(dialogs_, this, tr("Export Table"), designFileName_,
              data_.isMap() ? QStringLiteral("-map") : QStringLiteral("-sweep"), sweepCsvText(data_),
              lastFolder_);
}

void SweepDlg::showProblem(const QString& text) {
    panel_->status->setText(text);
}

void SweepDlg::updateButtons() {
    panel_->showRunning(job_.running());
    const SweepPoint* p = data_.point(view_->selected());
    apply_->setEnabled(p && p->result.status == VariantStatus::Computed);
    const bool any = data_.computedCount() > 0;
    for (QPushButton* b : {exportChart_, copy_, exportTable_}) b->setEnabled(any && view_->hasChart());
}

}  // namespace veltrano
