#include "ui/explore/TargetDesignDlg.h"

#include <algorithm>
#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/design/NumberText.h"
#include "core/model/Recalculation.h"
#include "render/charts/ExploreText.h"
#include "ui/explore/FieldRangeChoice.h"

namespace veltrano {

namespace {

// The fields the variable rows start with, where the design offers them; the first row is in use.
constexpr std::string_view kFirstFields[] = {"tp_perfoperm", "cp_perm", "fi_totpd", "pw_perm"};
constexpr double kDefaultTolerancePercent = 1;

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

double entry(const QLineEdit* edit) {
    return readNumber(edit->text().toStdString());
}

QTableWidget* resultTable(const char* name, const QStringList& columns) {
    auto* table = new QTableWidget(0, static_cast<int>(columns.size()));
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels(columns);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < columns.size(); ++c)
        table->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    return table;
}

void setRow(QTableWidget* table, int row, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        item->setTextAlignment(Qt::AlignVCenter | (c == 0 ? Qt::AlignLeft : Qt::AlignRight));
        table->setItem(row, c, item);
    }
}

QString percent(double share) {
    return text(formatNumber("%+.2f", share * 100)) + QStringLiteral(" %");
}

}  // namespace

TargetDesignDlg::TargetDesignDlg(const DesignSet& designs, const ModelParameters& mp, QWidget* owner)
    : QDialog(owner),
      current_(designs.currentDesign.values()),
      reference_(designs.referenceDesign.values()),
      mp_(mp) {
    setObjectName("TargetDesignDlg");
    setWindowTitle(tr("Design to Targets"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildVariables());
    layout->addWidget(buildTargets());

    auto* runRow = new QHBoxLayout;
    solve_ = new QPushButton(tr("&Solve"));
    solve_->setObjectName("solve");
    cancel_ = new QPushButton(tr("&Cancel"));
    cancel_->setObjectName("cancel");
    cancel_->setAutoDefault(false);
    progress_ = new QProgressBar;
    progress_->setObjectName("progress");
    progress_->setRange(0, limits_.starts * limits_.evaluationsPerStart);
    progress_->setFormat(tr("%v recalculations"));
    runRow->addWidget(solve_);
    runRow->addWidget(cancel_);
    runRow->addWidget(progress_, 1);
    layout->addLayout(runRow);
    layout->addWidget(buildResults(), 1);

    auto* buttons = new QHBoxLayout;
    accept_ = new QPushButton(tr("&Accept"));
    accept_->setObjectName("accept");
    accept_->setAutoDefault(false);
    auto* close = new QPushButton(tr("Close"));
    close->setObjectName("close");
    close->setAutoDefault(false);
    buttons->addWidget(accept_);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(solve_, &QPushButton::clicked, this, &TargetDesignDlg::solve);
    connect(cancel_, &QPushButton::clicked, &job_, &WorkerJob::requestStop);
    connect(accept_, &QPushButton::clicked, this, &TargetDesignDlg::acceptResult);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(&job_, &WorkerJob::finished, this, [this] {
        updateEnabling();
        emit searchEnded();
    });
    // Enter solves, wherever the focus is; a button becomes the dialog's default only once it is in it.
    solve_->setDefault(true);
    resize(760, 820);
    updateEnabling();
}

TargetDesignDlg::~TargetDesignDlg() {
    job_.stop();
}

void TargetDesignDlg::done(int result) {
    job_.stop();
    QDialog::done(result);
}

QWidget* TargetDesignDlg::buildVariables() {
    auto* box = new QGroupBox(tr("Free fields (1 to 4) and their bounds"));
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(tr("Lower bound")), 0, 2);
    grid->addWidget(new QLabel(tr("Upper bound")), 0, 3);
    variableRows_.resize(kMaxDesignVariables);
    for (std::size_t r = 0; r < variableRows_.size(); ++r) {
        VariableRow& row = variableRows_[r];
        const QString n = QString::number(r + 1);
        row.choice =
            new FieldRangeChoice(current_, kFirstFields[r], static_cast<int>(r), n, validRange, this);
        row.use = new QCheckBox(r == 0 ? tr("&Vary") : tr("Vary"));
        row.use->setObjectName("vary" + n);
        row.use->setChecked(r == 0 && row.choice->chosen());
        const int at = 2 * static_cast<int>(r) + 1;
        grid->addWidget(row.use, at, 0);
        grid->addWidget(row.choice->field, at, 1);
        grid->addWidget(row.choice->from, at, 2);
        grid->addWidget(row.choice->to, at, 3);
        grid->addWidget(row.choice->note, at + 1, 1, 1, 3);
        connect(row.use, &QCheckBox::toggled, this, &TargetDesignDlg::updateEnabling);
    }
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget* TargetDesignDlg::buildTargets() {
    auto* box = new QGroupBox(tr("Targets (1 to 6)"));
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(tr("Target")), 0, 1);
    grid->addWidget(new QLabel(tr("Weight")), 0, 2);
    grid->addWidget(new QLabel(tr("Today")), 0, 3);
    int at = 1;
    for (const ExploreOutput& o : exploreOutputs()) {
        if (!o.targetable) continue;
        TargetRow row;
        row.output = &o;
        const QString name = QString::fromUtf8(o.name.data(), static_cast<qsizetype>(o.name.size()));
        row.use = new QCheckBox(text(outputTitleWithUnit(o)));
        row.use->setObjectName("target_" + name);
        row.value = new QLineEdit(text(formatNumber("%.2f", o.read(current_))));
        row.value->setObjectName("value_" + name);
        row.weight = new QLineEdit(QStringLiteral("1"));
        row.weight->setObjectName("weight_" + name);
        grid->addWidget(row.use, at, 0);
        grid->addWidget(row.value, at, 1);
        grid->addWidget(row.weight, at, 2);
        grid->addWidget(new QLabel(text(outputText(o.read(current_)))), at, 3, Qt::AlignRight);
        connect(row.use, &QCheckBox::toggled, this, &TargetDesignDlg::updateEnabling);
        targetRows_.push_back(row);
        ++at;
    }
    tolerance_ = new QLineEdit(text(storedInput(kDefaultTolerancePercent)));
    tolerance_->setObjectName("tolerance");
    auto* toleranceLabel = new QLabel(tr("&Met within (relative deviation, %)"));
    toleranceLabel->setBuddy(tolerance_);
    grid->addWidget(toleranceLabel, at, 0);
    grid->addWidget(tolerance_, at, 1);
    grid->setColumnStretch(0, 1);
    return box;
}

QWidget* TargetDesignDlg::buildResults() {
    auto* box = new QGroupBox(tr("Result"));
    auto* layout = new QVBoxLayout(box);
    summary_ = new QLabel;
    summary_->setObjectName("summary");
    summary_->setWordWrap(true);
    found_ = resultTable("variablesFound", {tr("Field"), tr("Today"), tr("Found")});
    reached_ = resultTable("targetsReached",
                           {tr("Target"), tr("Wanted"), tr("Reached"), tr("Deviation"), tr("Met")});
    layout->addWidget(summary_);
    layout->addWidget(found_, 1);
    layout->addWidget(reached_, 2);
    return box;
}

bool TargetDesignDlg::question(std::vector<DesignVariable>& variables, std::vector<DesignTarget>& targets,
                               QString& problem) const {
    const double tolerance = entry(tolerance_) / 100;
    for (const VariableRow& row : variableRows_)
        if (row.use->isChecked() && row.choice->chosen())
            variables.push_back({row.choice->chosen(), row.choice->range()});
    for (const TargetRow& row : targetRows_)
        if (row.use->isChecked())
            targets.push_back({row.output, entry(row.value), entry(row.weight), tolerance});
    const std::optional<std::string> why = checkTargetDesign(variables, targets, current_);
    if (!why) return true;
    problem = text(*why);
    problem[0] = problem[0].toUpper();
    problem += QLatin1Char('.');
    return false;
}

void TargetDesignDlg::solve() {
    if (job_.running()) return;
    std::vector<DesignVariable> variables;
    std::vector<DesignTarget> targets;
    QString problem;
    if (!question(variables, targets, problem)) {
        summary_->setText(problem);
        return;
    }
    askedVariables_ = variables;
    askedTargets_ = targets;
    result_.reset();
    showResult();
    summary_->setText(tr("Searching ..."));
    progress_->setValue(0);
    job_.start([this, variables, targets, current = current_, reference = reference_, &mp = mp_,
                limits = limits_](WorkerJob& job) {
        CigaretteDesign working(ArrayMode::WithArrays);
        RecordingErrorReporter errors;
        recalculateWorkingReference(reference, working, mp, errors, nullptr, InnerThreads::CallingThread);
        TargetSearchCallbacks callbacks;
        callbacks.progress = [this, &job](int evaluations) {
            job.post([this, evaluations] { progress_->setValue(evaluations); });
        };
        callbacks.cancelRequested = [&job] { return job.stopRequested(); };
        TargetDesignResult result =
            designToTargets(variables, targets, current, {reference, working, mp}, limits, callbacks);
        job.post([this, result = std::move(result)]() mutable { searchFinished(std::move(result)); });
    });
    updateEnabling();
}

void TargetDesignDlg::searchFinished(TargetDesignResult result) {
    // A search that ends early has done its work: the bar fills, and still counts the recalculations.
    if (!result.cancelled) progress_->setRange(0, std::max(1, progress_->value()));
    result_ = std::move(result);
    showResult();
}

void TargetDesignDlg::showResult() {
    found_->setRowCount(0);
    reached_->setRowCount(0);
    if (!result_) return;
    const TargetDesignResult& r = *result_;
    if (!r.found) {
        summary_->setText(r.cancelled ? tr("Cancelled before any values passed the sheet's checks.")
                                      : tr("No values within the bounds pass the sheet's checks."));
        return;
    }
    found_->setRowCount(static_cast<int>(askedVariables_.size()));
    for (std::size_t i = 0; i < askedVariables_.size(); ++i) {
        const ExploreField& f = *askedVariables_[i].field;
        setRow(found_, static_cast<int>(i),
               {text(fieldTitleWithUnit(f)), text(shownInput(f, current_.*f.member())),
                text(shownInput(f, r.variables[i]))});
    }
    reached_->setRowCount(static_cast<int>(askedTargets_.size()));
    QStringList unmet;
    for (std::size_t i = 0; i < askedTargets_.size(); ++i) {
        const DesignTarget& t = askedTargets_[i];
        const TargetReached& got = r.targets[i];
        setRow(reached_, static_cast<int>(i),
               {text(outputTitleWithUnit(*t.output)), text(outputText(t.value)),
                text(outputText(got.reached)), percent(got.deviation), got.met ? tr("yes") : tr("no")});
        if (!got.met)
            unmet << tr("%1 (%2)").arg(
                QString::fromUtf8(t.output->label.data(), static_cast<qsizetype>(t.output->label.size())),
                percent(got.deviation));
    }
    const QString tolerance = text(formatNumber("%.2f", askedTargets_.front().tolerance * 100));
    QString summary = r.allMet ? tr("Every target is met within %1 %.").arg(tolerance)
                               : tr("Not every target can be met within %1 %: %2 missed. The values shown "
                                    "are the best compromise found.")
                                     .arg(tolerance, unmet.join(QStringLiteral(", ")));
    if (r.cancelled) summary = tr("Cancelled: the best values found so far. ") + summary;
    for (int n : r.errors) summary += QLatin1Char('\n') + text(errorMessage(n).value_or(""));
    summary_->setText(summary);
}

void TargetDesignDlg::updateEnabling() {
    const bool running = job_.running();
    for (VariableRow& row : variableRows_) {
        row.use->setEnabled(!running);
        for (QWidget* w : {static_cast<QWidget*>(row.choice->field), static_cast<QWidget*>(row.choice->from),
                           static_cast<QWidget*>(row.choice->to), static_cast<QWidget*>(row.choice->note)})
            w->setEnabled(!running && row.use->isChecked());
    }
    for (TargetRow& row : targetRows_) {
        row.use->setEnabled(!running);
        row.value->setEnabled(!running && row.use->isChecked());
        row.weight->setEnabled(!running && row.use->isChecked());
    }
    tolerance_->setEnabled(!running);
    solve_->setEnabled(!running);
    cancel_->setEnabled(running);
    accept_->setEnabled(!running && result_ && result_->found);
}

void TargetDesignDlg::acceptResult() {
    if (!result_ || !result_->found) return;
    accepted_ = designWithVariables(current_, askedVariables_, result_->variables);
    accept();
}

}  // namespace veltrano
