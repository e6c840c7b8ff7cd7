#include "ui/explore/ToleranceDlg.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/explore/Sensitivity.h"
#include "core/model/Recalculation.h"
#include "render/charts/ExploreText.h"
#include "ui/dialogs/DrawingExport.h"
#include "ui/dialogs/ScreenFit.h"
#include "ui/explore/ChartPane.h"
#include "ui/explore/DiffusionChoice.h"
#include "ui/explore/RunPanel.h"
#include "ui/explore/ToleranceSettings.h"

namespace veltrano {

namespace {

constexpr QSize kPreferredSize{1400, 900};
// The histograms take the upper part of the tolerances' chart, the shares the rest.
constexpr double kHistogramShare = 0.64;
// A running summary is redrawn after every twentieth of the samples, and no more often than every 50.
constexpr int kRedrawSteps = 20, kRedrawAtLeast = 50;

QComboBox* outputChoice(const char* name, const std::vector<const ExploreOutput*>& outputs,
                        std::string_view chosen) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    for (const ExploreOutput* o : outputs) {
        box->addItem(QString::fromStdString(outputTitleWithUnit(*o)),
                     QString::fromUtf8(o->name.data(), static_cast<int>(o->name.size())));
        if (o->name == chosen) box->setCurrentIndex(box->count() - 1);
    }
    return box;
}

std::vector<const ExploreOutput*> everyOutput() {
    std::vector<const ExploreOutput*> outputs;
    for (const ExploreOutput& o : exploreOutputs()) outputs.push_back(&o);
    return outputs;
}

// The working reference made from the reference, as every variant is computed against it.
struct Basis {
    CigaretteDesign working{ArrayMode::WithArrays};
    Basis(const DesignValues& reference, const ModelParameters& mp) {
        RecordingErrorReporter errors;
        recalculateWorkingReference(reference, working, mp, errors, nullptr, InnerThreads::CallingThread);
    }
};

}  // namespace

ToleranceDlg::ToleranceDlg(const DesignSet& designs, const ModelParameters& mp,
                           const ViewResources& resources, Dialogs& dialogs, QSettings& settings,
                           const QString& designFileName, LastFolder* lastFolder, QWidget* owner)
    : QDialog(owner),
      current_(designs.currentDesign.values()),
      reference_(designs.referenceDesign.values()),
      mp_(mp),
      resources_(resources),
      dialogs_(dialogs),
      designFileName_(designFileName),
      lastFolder_(lastFolder) {
    setObjectName("ToleranceDlg");
    setWindowTitle(tr("Tolerances"));
    settings_ = new ToleranceSettings(current_, settings);
    panel_ = new RunPanel(settings_, job_);
    panel_->setFixedWidth(480);

    tabs_ = new QTabWidget;
    tabs_->setObjectName("tabs");
    tabs_->addTab(buildTolerancesTab(), tr("&Tolerances"));
    tabs_->addTab(buildSensitivitiesTab(), tr("&Elasticities"));

    auto* body = new QHBoxLayout;
    body->addWidget(panel_);
    body->addWidget(tabs_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(buildButtons());

    connect(panel_->run, &QPushButton::clicked, this, &ToleranceDlg::runSamples);
    connect(&job_, &WorkerJob::finished, this, &ToleranceDlg::workFinished);
    connect(tabs_, &QTabWidget::currentChanged, this, &ToleranceDlg::updateButtons);
    panel_->run->setDefault(true);
    resizeToFitScreen(*this, owner, kPreferredSize);
    updateButtons();
}

ToleranceDlg::~ToleranceDlg() {
    job_.stop();
}

QWidget* ToleranceDlg::buildTolerancesTab() {
    shareOutput_ = outputChoice("shareOutput", shownToleranceOutputs(), "iso_nfdpm");
    tolerancesChart_ =
        new ChartPane(resources_, "Choose the inputs, their spreads and the limits, then Run.");
    tolerancesChart_->setObjectName("tolerancesChart");
    connect(shareOutput_, &QComboBox::currentIndexChanged, this, &ToleranceDlg::showTolerances);
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Shares of the variance of:")));
    row->addWidget(shareOutput_);
    row->addStretch();
    layout->addLayout(row);
    layout->addWidget(tolerancesChart_, 1);
    return tab;
}

QWidget* ToleranceDlg::buildSensitivitiesTab() {
    step_ = new QDoubleSpinBox;
    step_->setObjectName("step");
    step_->setRange(0.1, kMaxSensitivityStep);
    step_->setDecimals(1);
    step_->setSuffix(QStringLiteral(" %"));
    step_->setValue(kDefaultSensitivityStep);
    compute_ = exploreButton(tr("Co&mpute"), "compute");
    tornadoOutput_ = outputChoice("tornadoOutput", everyOutput(), "iso_nfdpm");
    elasticityTable_ = new QTableWidget;
    elasticityTable_->setObjectName("elasticities");
    elasticityTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    elasticityTable_->verticalHeader()->hide();
    elasticityTable_->verticalHeader()->setDefaultSectionSize(elasticityTable_->fontMetrics().height() + 6);
    tornadoChart_ =
        new ChartPane(resources_, "Compute the elasticities to see which input moves an output most.");
    tornadoChart_->setObjectName("tornadoChart");
    connect(compute_, &QPushButton::clicked, this, &ToleranceDlg::computeElasticities);
    connect(tornadoOutput_, &QComboBox::currentIndexChanged, this, &ToleranceDlg::showElasticities);

    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Step (±):")));
    row->addWidget(step_);
    row->addWidget(compute_);
    row->addSpacing(20);
    row->addWidget(new QLabel(tr("Tornado of:")));
    row->addWidget(tornadoOutput_);
    row->addStretch();
    layout->addLayout(row);
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(elasticityTable_);
    splitter->addWidget(tornadoChart_);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    layout->addWidget(splitter, 1);
    return tab;
}

QWidget* ToleranceDlg::buildButtons() {
    // Not Alt+X: that key ends the program in the main window.
    exportChart_ = exploreButton(tr("Export c&hart ..."), "exportChart");
    copy_ = exploreButton(tr("Cop&y"), "copy");
    auto* close = exploreButton(tr("Close"), "close");
    connect(exportChart_, &QPushButton::clicked, this, &ToleranceDlg::exportChart);
    connect(copy_, &QPushButton::clicked, this, &ToleranceDlg::copyChart);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(exportChart_);
    layout->addWidget(copy_);
    layout->addStretch();
    layout->addWidget(close);
    return row;
}

void ToleranceDlg::done(int result) {
    job_.stop();
    settings_->remember();
    QDialog::done(result);
}

void ToleranceDlg::runSamples() {
    if (job_.running()) return;
    QString problem;
    std::optional<ToleranceSetup> setup = settings_->setup(problem);
    if (setup) {
        if (const std::optional<std::string> bad = checkToleranceSetup(*setup, current_, mp_))
            problem = asSentence(*bad);
    }
    if (!problem.isEmpty()) {
        panel_->status->setText(problem);
        return;
    }
    settings_->remember();
    data_ = ToleranceChartData{*setup, {}, summariseTolerance(*setup, {}), {}};
    panel_->begin(setup->samples);
    tabs_->setCurrentIndex(0);
    showTolerances();
    job_.start([this, setup = *setup, current = current_, reference = reference_, &mp = mp_](WorkerJob& job) {
        const Basis basis(reference, mp);
        const ExploreBasis explore{reference, basis.working, mp};
        const VariantResult today = evaluateVariant(current, explore, false, InnerThreads::Machine);
        std::vector<double> outputs;
        for (const ExploreOutput* o : setup.outputs)
            outputs.push_back(today.status == VariantStatus::Computed
                                  ? o->read(today.values)
                                  : std::numeric_limits<double>::quiet_NaN());
        job.post([this, outputs] { data_.today = outputs; });
        std::vector<int> indices(static_cast<std::size_t>(setup.samples));
        std::iota(indices.begin(), indices.end(), 0);
        ToleranceCallbacks callbacks;
        callbacks.sampleDone = [this, &job](ToleranceSample&& sample) {
            job.post([this, sample = std::move(sample)]() mutable { sampleArrived(std::move(sample)); });
        };
        callbacks.cancelRequested = [&job] { return job.stopRequested(); };
        runTolerance(setup, indices, current, explore, callbacks);
    });
    updateButtons();
}

void ToleranceDlg::sampleArrived(ToleranceSample&& sample) {
    data_.samples.push_back(std::move(sample));
    const int done = static_cast<int>(data_.samples.size());
    panel_->progress->setValue(done);
    if (done % std::max(kRedrawAtLeast, data_.setup.samples / kRedrawSteps) == 0) summarise();
}

void ToleranceDlg::summarise() {
    // Samples arrive in index order; the summary is the one veltrano-cli tolerance prints.
    data_.summary = summariseTolerance(data_.setup, data_.samples);
    QString text = tr("%1 of %2 samples").arg(data_.samples.size()).arg(data_.setup.samples);
    if (job_.running())
        text += tr(" computed so far");
    else if (panel_->cancelled())
        text += tr(", stopped");
    if (data_.summary.refused > 0) text += tr("; %1 refused by the sheet's rules").arg(data_.summary.refused);
    text += QLatin1Char('.');
    const std::vector<std::string> held = heldValues(data_.setup, current_);
    if (!held.empty()) text += QLatin1Char('\n') + heldNote({held.begin(), held.end()});
    for (const Refusal& r : data_.summary.refusals)
        for (int n : r.errors)
            text += QLatin1Char('\n') + tr("%1 × ").arg(r.samples) +
                    QString::fromStdString(errorMessage(n).value_or(""));
    panel_->status->setText(text);
    showTolerances();
}

void ToleranceDlg::showTolerances() {
    if (data_.setup.inputs.empty()) return;
    const auto& outputs = data_.setup.outputs;
    const std::string chosen = shareOutput_->currentData().toString().toStdString();
    std::size_t share = 0;
    for (std::size_t o = 0; o < outputs.size(); ++o)
        if (outputs[o]->name == chosen) share = o;
    tolerancesChart_->setChart([this, share](QPainter& painter, const ViewResources& resources,
                                             QSize canvas) {
        const int upper = static_cast<int>(canvas.height() * kHistogramShare);
        drawToleranceHistograms(painter, resources, data_, QSize(canvas.width(), upper));
        painter.save();
        painter.translate(0, upper);
        drawVarianceShares(painter, resources, data_, share, QSize(canvas.width(), canvas.height() - upper));
        painter.restore();
    });
    updateButtons();
}

void ToleranceDlg::computeElasticities() {
    if (job_.running()) return;
    const double step = step_->value();
    const std::vector<const ExploreField*> fields = settings_->fields();
    panel_->begin(static_cast<int>(2 * fields.size() + 1));
    panel_->status->setText(tr("Computing the elasticities ..."));
    job_.start([this, fields, step, current = current_, reference = reference_, &mp = mp_](WorkerJob& job) {
        const Basis basis(reference, mp);
        SensitivityCallbacks callbacks;
        callbacks.progress = [this, &job](int done, int) {
            job.post([this, done] { panel_->progress->setValue(done); });
        };
        callbacks.cancelRequested = [&job] { return job.stopRequested(); };
        std::vector<SensitivityRow> rows = computeSensitivities(fields, everyOutput(), step, current,
                                                                {reference, basis.working, mp}, callbacks);
        job.post([this, rows = std::move(rows), step]() mutable {
            rows_ = std::move(rows);
            rowsStep_ = step;
            panel_->status->setText(rows_.empty() ? tr("The elasticities were stopped.")
                                                  : tr("Elasticities computed."));
            showElasticities();
        });
    });
    updateButtons();
}

void ToleranceDlg::showElasticities() {
    const std::vector<const ExploreOutput*> outputs = everyOutput();
    elasticityTable_->clear();
    elasticityTable_->setRowCount(static_cast<int>(rows_.size()));
    elasticityTable_->setColumnCount(static_cast<int>(outputs.size()) + 1);
    QStringList headers{tr("Input")};
    for (const ExploreOutput* o : outputs)
        headers << QString::fromUtf8(o->name.data(), static_cast<int>(o->name.size()));
    elasticityTable_->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        const SensitivityRow& row = rows_[static_cast<std::size_t>(r)];
        auto* name = new QTableWidgetItem(QString::fromStdString(fieldTitle(*row.field)));
        elasticityTable_->setItem(r, 0, name);
        QString refusal;
        for (int n : row.errors)
            refusal += QString::fromStdString(errorMessage(n).value_or("")) + QLatin1Char('\n');
        for (std::size_t o = 0; o < outputs.size(); ++o) {
            const std::optional<double>& e = row.elasticities[o];
            auto* item = new QTableWidgetItem(row.refused ? tr("refused")
                                              : e         ? QString::number(*e, 'f', 3)
                                                          : QStringLiteral("–"));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (row.refused) item->setToolTip(refusal.trimmed());
            elasticityTable_->setItem(r, static_cast<int>(o) + 1, item);
        }
    }
    elasticityTable_->resizeColumnsToContents();
    if (rows_.empty()) {
        tornadoChart_->setChart({});
    } else {
        const auto index = static_cast<std::size_t>(std::max(0, tornadoOutput_->currentIndex()));
        tornadoChart_->setChart(
            [this, index](QPainter& painter, const ViewResources& resources, QSize canvas) {
                drawTornado(painter, resources, rows_, exploreOutputs()[index], index, rowsStep_, canvas);
            });
    }
    updateButtons();
}

void ToleranceDlg::workFinished() {
    if (!data_.setup.inputs.empty() && tabs_->currentIndex() == 0) summarise();
    panel_->progress->setValue(panel_->progress->maximum());
    updateButtons();
    emit workEnded();
}

void ToleranceDlg::exportChart() {
    const bool first = tabs_->currentIndex() == 0;
    exportDrawing(dialogs_, this,
                  {resources_, (first ? tolerancesChart_ : tornadoChart_)->drawing(), designFileName_,
                   devicePixelRatioF(), tr("Export Chart"),
                   first ? QStringLiteral("-tolerances") : QStringLiteral("-elasticities"), lastFolder_});
}

QString ToleranceDlg::numbersText() const {
    QStringList lines;
    const QString tab = QStringLiteral("\t");
    if (tabs_->currentIndex() == 0) {
        lines << QStringList{tr("output"), "mean", "sd", "p5", "p50", "p95", "min", "max"}.join(tab);
        for (std::size_t o = 0; o < data_.setup.outputs.size(); ++o) {
            const OutputStatistics& s = data_.summary.outputs[o];
            QStringList cells{QString::fromStdString(outputTitleWithUnit(*data_.setup.outputs[o]))};
            for (double v : {s.mean, s.sd, s.p5, s.p50, s.p95, s.min, s.max})
                cells << QString::number(v, 'g', 6);
            lines << cells.join(tab);
        }
        for (const LimitShare& l : data_.summary.limits)
            lines << QStringList{QString::fromStdString(limitText(l.limit)), QString::number(l.share, 'g', 4),
                                 QString::number(l.low, 'g', 4), QString::number(l.high, 'g', 4)}
                         .join(tab);
    } else {
        QStringList header{tr("input")};
        for (const ExploreOutput& o : exploreOutputs())
            header << QString::fromUtf8(o.name.data(), static_cast<int>(o.name.size()));
        lines << header.join(tab);
        for (const SensitivityRow& row : rows_) {
            QStringList cells{
                QString::fromUtf8(row.field->name().data(), static_cast<int>(row.field->name().size()))};
            for (const std::optional<double>& e : row.elasticities)
                cells << (e ? QString::number(*e, 'g', 6) : QString());
            lines << cells.join(tab);
        }
    }
    return lines.join(QLatin1Char('\n'));
}

void ToleranceDlg::copyChart() {
    const ChartPane* pane = tabs_->currentIndex() == 0 ? tolerancesChart_ : tornadoChart_;
    QGuiApplication::clipboard()->setMimeData(
        drawingMimeData(resources_, pane->drawing(), devicePixelRatioF(), numbersText()).release());
}

void ToleranceDlg::updateButtons() {
    const bool running = job_.running();
    panel_->showRunning(running);
    compute_->setEnabled(!running);
    step_->setEnabled(!running);
    const bool first = tabs_->currentIndex() == 0;
    const bool chart = first ? !data_.samples.empty() : !rows_.empty();
    exportChart_->setEnabled(chart);
    copy_->setEnabled(chart);
}

}  // namespace veltrano
