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
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/design/NumberText.h"
#include "core/explore/DiffusionCoupling.h"
#include "core/model/Recalculation.h"
#include "render/charts/ExploreText.h"
#include "ui/explore/DiffusionChoice.h"
#include "ui/explore/FieldRangeChoice.h"

namespace veltrano {

namespace {

// The fields the variable rows start with, where the design offers them; the first row is in use.
constexpr std::string_view kFirstFields[] = {"tp_perfoperm", "cp_perm", "fi_totpd", "pw_perm"};
constexpr double kDefaultTolerancePercent = 1;
// The targets' relations as their combo boxes list them.
constexpr TargetKind kRelations[] = {TargetKind::Equal, TargetKind::AtMost, TargetKind::AtLeast};
// The rows of targets shown at once; the others scroll.
constexpr int kTargetRowsShown = 8;

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

QString relationSign(TargetKind kind) {
    switch (kind) {
        case TargetKind::AtMost:
            return QStringLiteral("\u2264");
        case TargetKind::AtLeast:
            return QStringLiteral("\u2265");
        default:
            return QStringLiteral("=");
    }
}

// A target's value as the result shows it; a ceiling or a floor with its sign.
QString wanted(const DesignTarget& target) {
    const QString value = QString::fromStdString(outputText(target.value));
    return target.kind == TargetKind::Equal ? value : relationSign(target.kind) + QLatin1Char(' ') + value;
}

QString label(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

TargetDesignDlg::TargetDesignDlg(const DesignSet& designs, const ModelParameters& mp, QWidget* owner)
    : QDialog(owner),
      current_(designs.currentDesign.values()),
      reference_(designs.referenceDesign.values()),
      mp_(mp) {
    setObjectName("TargetDesignDlg");
    setWindowTitle(tr("Design to Targets"));
    // The question on the left, what the search found on the right.
    auto* question = new QVBoxLayout;
    question->addWidget(buildVariables());
    question->addWidget(buildTargets(), 1);

    auto* runRow = new QHBoxLayout;
    solve_ = new QPushButton(tr("&Solve"));
    solve_->setObjectName("solve");
    cancel_ = new QPushButton(tr("&Cancel"));
    cancel_->setObjectName("cancel");
    cancel_->setAutoDefault(false);
    progress_ = new QProgressBar;
    progress_->setObjectName("progress");
    progress_->setRange(0, limits_.mostEvaluations());
    progress_->setFormat(tr("%v recalculations"));
    runRow->addWidget(solve_);
    runRow->addWidget(cancel_);
    runRow->addWidget(progress_, 1);
    question->addLayout(runRow);
    auto* body = new QHBoxLayout;
    body->addLayout(question, 3);
    body->addWidget(buildResults(), 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);

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
    resize(1280, 780);
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
    auto* box = new QGroupBox(tr("Targets and limits (1 to 6)"));
    auto* outer = new QVBoxLayout(box);
    auto* rows = new QWidget;
    auto* grid = new QGridLayout(rows);
    grid->addWidget(new QLabel(tr("Target")), 0, 2);
    grid->addWidget(new QLabel(tr("Weight")), 0, 3);
    grid->addWidget(new QLabel(tr("Today")), 0, 4);
    int at = 1;
    for (const ExploreOutput& o : exploreOutputs()) {
        TargetRow row;
        row.output = &o;
        const QString name = label(o.name);
        row.use = new QCheckBox(text(outputTitleWithUnit(o)));
        row.use->setObjectName("target_" + name);
        row.relation = new QComboBox;
        row.relation->setObjectName("relation_" + name);
        for (TargetKind kind : kRelations) row.relation->addItem(relationSign(kind), static_cast<int>(kind));
        row.relation->setToolTip(
            tr("= reach the value, \u2264 stay at or below it, \u2265 stay at or above it"));
        row.value = new QLineEdit(text(formatNumber("%.2f", o.read(current_))));
        row.value->setObjectName("value_" + name);
        row.weight = new QLineEdit(QStringLiteral("1"));
        row.weight->setObjectName("weight_" + name);
        grid->addWidget(row.use, at, 0);
        grid->addWidget(row.relation, at, 1);
        grid->addWidget(row.value, at, 2);
        grid->addWidget(row.weight, at, 3);
        grid->addWidget(new QLabel(text(outputText(o.read(current_)))), at, 4, Qt::AlignRight);
        connect(row.use, &QCheckBox::toggled, this, &TargetDesignDlg::updateEnabling);
        targetRows_.push_back(row);
        ++at;
    }
    grid->setColumnStretch(0, 1);
    auto* scroll = new QScrollArea;
    scroll->setObjectName("targets");
    scroll->setWidget(rows);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    const int rowHeight = targetRows_.front().value->sizeHint().height() + grid->verticalSpacing();
    scroll->setMinimumHeight(rowHeight * (kTargetRowsShown + 1));
    outer->addWidget(scroll, 1);

    auto* below = new QGridLayout;
    tolerance_ = new QLineEdit(text(storedInput(kDefaultTolerancePercent)));
    tolerance_->setObjectName("tolerance");
    auto* toleranceLabel = new QLabel(tr("&Met within (relative deviation, %)"));
    toleranceLabel->setBuddy(tolerance_);
    below->addWidget(toleranceLabel, 0, 0);
    below->addWidget(tolerance_, 0, 1);
    coupleDiffusion_ = diffusionChoice(current_);
    below->addWidget(coupleDiffusion_, 1, 0, 1, 2);
    below->setColumnStretch(0, 1);
    outer->addLayout(below);
    return box;
}

QWidget* TargetDesignDlg::buildResults() {
    auto* box = new QGroupBox(tr("Result"));
    auto* layout = new QVBoxLayout(box);
    summary_ = new QLabel;
    summary_->setObjectName("summary");
    summary_->setWordWrap(true);
    found_ = resultTable("variablesFound", {tr("Field"), tr("Today"), tr("Found"), tr("At bound")});
    reached_ = resultTable("targetsReached",
                           {tr("Target"), tr("Wanted"), tr("Reached"), tr("Deviation"), tr("Met")});
    layout->addWidget(summary_);
    layout->addWidget(found_, 1);
    layout->addWidget(reached_, 2);
    return box;
}

std::optional<DesignQuestion> TargetDesignDlg::question(QString& problem) const {
    DesignQuestion asked;
    const double tolerance = entry(tolerance_) / 100;
    for (const VariableRow& row : variableRows_)
        if (row.use->isChecked() && row.choice->chosen())
            asked.variables.push_back({row.choice->chosen(), row.choice->range()});
    for (const TargetRow& row : targetRows_)
        if (row.use->isChecked())
            asked.targets.push_back({row.output, entry(row.value), entry(row.weight), tolerance,
                                     static_cast<TargetKind>(row.relation->currentData().toInt())});
    asked.coupleDiffusion = coupleDiffusion_->isEnabled() && coupleDiffusion_->isChecked();
    const std::optional<std::string> why = checkTargetDesign(asked, current_, mp_);
    if (!why) return asked;
    problem = asSentence(*why);
    return std::nullopt;
}

void TargetDesignDlg::solve() {
    if (job_.running()) return;
    QString problem;
    const std::optional<DesignQuestion> asked = question(problem);
    if (!asked) {
        summary_->setText(problem);
        return;
    }
    asked_ = *asked;
    result_.reset();
    showResult();
    summary_->setText(tr("Searching ..."));
    progress_->setRange(0, limits_.mostEvaluations());
    progress_->setValue(0);
    job_.start([this, asked = *asked, current = current_, reference = reference_, &mp = mp_,
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
            designToTargets(asked, current, {reference, working, mp}, limits, callbacks);
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
    const std::vector<std::size_t> heldBack = r.heldBack();
    QStringList holding;
    found_->setRowCount(static_cast<int>(asked_.variables.size()));
    for (std::size_t i = 0; i < asked_.variables.size(); ++i) {
        const ExploreField& f = *asked_.variables[i].field;
        const bool holds = std::find(heldBack.begin(), heldBack.end(), i) != heldBack.end();
        const QString side = r.atBound[i] == BoundSide::Low    ? tr("lower")
                             : r.atBound[i] == BoundSide::High ? tr("upper")
                                                               : QString();
        setRow(found_, static_cast<int>(i),
               {text(fieldTitleWithUnit(f)), text(shownInput(f, current_.*f.member())),
                text(shownInput(f, r.variables[i])), holds ? side + tr(", holds back") : side});
        if (!holds) continue;
        // The bound that holds a missed target back stands out.
        for (int c = 0; c < found_->columnCount(); ++c) {
            QFont bold = found_->font();
            bold.setBold(true);
            found_->item(static_cast<int>(i), c)->setFont(bold);
        }
        holding << tr("%1 at its %2 bound").arg(text(fieldTitle(f)), side);
    }
    reached_->setRowCount(static_cast<int>(asked_.targets.size()));
    QStringList unmet;
    for (std::size_t i = 0; i < asked_.targets.size(); ++i) {
        const DesignTarget& t = asked_.targets[i];
        const TargetReached& got = r.targets[i];
        setRow(reached_, static_cast<int>(i),
               {text(outputTitleWithUnit(*t.output)), wanted(t), text(outputText(got.reached)),
                percent(got.deviation), got.met ? tr("yes") : tr("no")});
        if (!got.met) unmet << tr("%1 (%2)").arg(label(t.output->label), percent(got.deviation));
    }
    const QString tolerance = text(formatNumber("%.2f", asked_.targets.front().tolerance * 100));
    QString summary = r.allMet ? tr("Every target is met within %1 %.").arg(tolerance)
                               : tr("Not every target can be met within %1 %: %2 missed. The values shown "
                                    "are the best compromise found.")
                                     .arg(tolerance, unmet.join(QStringLiteral(", ")));
    if (!holding.isEmpty()) summary += QLatin1Char(' ') + tr("Held back by %1.").arg(holding.join(tr(", ")));
    if (r.cancelled) summary = tr("Cancelled: the best values found so far. ") + summary;
    for (std::size_t i = 0; i < r.clipped.size(); ++i)
        if (r.clipped[i]) {
            const ExploreField& f = *asked_.variables[i].field;
            summary +=
                QLatin1Char('\n') + tr("The bounds of %1 are narrowed to what the sheet accepts: %2 to %3.")
                                        .arg(text(fieldTitle(f)), text(shownInput(f, r.bounds[i].lo)),
                                             text(shownInput(f, r.bounds[i].hi)));
        }
    if (!r.held.empty()) summary += QLatin1Char('\n') + heldNote(r.held);
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
        for (QWidget* w : {static_cast<QWidget*>(row.relation), static_cast<QWidget*>(row.value),
                           static_cast<QWidget*>(row.weight)})
            w->setEnabled(!running && row.use->isChecked());
    }
    tolerance_->setEnabled(!running);
    if (holdsKnownDiffusion(current_)) coupleDiffusion_->setEnabled(!running);
    solve_->setEnabled(!running);
    cancel_->setEnabled(running);
    accept_->setEnabled(!running && result_ && result_->found);
}

void TargetDesignDlg::acceptResult() {
    if (!result_ || !result_->found) return;
    accepted_ = result_->design;
    accept();
}

}  // namespace veltrano
