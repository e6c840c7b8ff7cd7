#include "ui/explore/ToleranceSettings.h"

#include <algorithm>

#include <QCheckBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "render/charts/ExploreText.h"
#include "ui/explore/DiffusionChoice.h"

namespace veltrano {

namespace {

constexpr const char* kDefaultLimits[] = {"iso_nfdpm<=10", "iso_nico<=1", "iso_co<=10"};
constexpr int kLimitRows = 5;  // the three ceilings and two of the user's own
constexpr int kDefaultSamples = 1000;

// "tolerances/WHAT", or "tolerances/WHAT/NAME" for one field's setting.
QString key(const char* what, std::string_view name = {}) {
    std::string text = std::string("tolerances/") + what;
    if (!name.empty()) text += "/" + std::string(name);
    return QString::fromStdString(text);
}

QTableWidgetItem* checkItem(const QString& text, bool checked, bool editable) {
    auto* item = new QTableWidgetItem(text);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable;
    if (editable) flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

QTableWidget* table(const char* name, const QStringList& headers, int rows) {
    auto* t = new QTableWidget(rows, static_cast<int>(headers.size()));
    t->setObjectName(QString::fromLatin1(name));
    t->setHorizontalHeaderLabels(headers);
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    return t;
}

}  // namespace

std::vector<const ExploreOutput*> shownToleranceOutputs() {
    std::vector<const ExploreOutput*> outputs;
    for (const char* name : {"stat_pdo", "stat_fivent", "iso_puff", "iso_nfdpm", "iso_nico", "iso_co"})
        outputs.push_back(findExploreOutput(name));
    return outputs;
}

ToleranceSettings::ToleranceSettings(const DesignValues& current, QSettings& settings, QWidget* parent)
    : QWidget(parent), settings_(settings) {
    for (const ExploreField& f : exploreFields())
        if (isOffered(f, current) && !unknownFieldProblem(f, current)) fields_.push_back(&f);

    inputs_ = table("inputs", {tr("Input"), tr("Spread"), tr("Today")}, static_cast<int>(fields_.size()));
    for (int row = 0; row < static_cast<int>(fields_.size()); ++row) {
        const ExploreField& f = *fields_[static_cast<std::size_t>(row)];
        const bool varied = settings_.value(key("vary", f.name()), variedByDefault(f)).toBool();
        QString spread = settings_.value(key("spread", f.name())).toString();
        if (!parseSpread(spread.toStdString())) spread = QString::fromStdString(spreadText(typicalSpread(f)));
        auto* name = checkItem(QString::fromStdString(fieldTitle(f)), varied, false);
        name->setToolTip(QString::fromStdString(fieldTitleWithUnit(f)));
        inputs_->setItem(row, 0, name);
        inputs_->setItem(row, 1, new QTableWidgetItem(spread));
        auto* today = new QTableWidgetItem(
            QString::fromStdString(shownInput(f, current.*f.member()) + " " + std::string(f.unit())));
        today->setFlags(Qt::ItemIsEnabled);
        inputs_->setItem(row, 2, today);
    }
    inputs_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    inputs_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    inputs_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);

    samples_ = new QSpinBox;
    samples_->setObjectName("samples");
    samples_->setRange(10, kMaxToleranceSamples);
    samples_->setValue(settings_.value(key("samples"), kDefaultSamples).toInt());
    seed_ = new QLineEdit(settings_.value(key("seed"), QStringLiteral("1")).toString());
    seed_->setObjectName("seed");
    couple_ = diffusionChoice(current);
    couple_->setChecked(settings_.value(key("coupleDiffusion"), false).toBool());

    limits_ = table("limits", {tr("Limit")}, kLimitRows);
    for (int row = 0; row < kLimitRows; ++row) {
        const QString fallback = row < 3 ? QString::fromLatin1(kDefaultLimits[row]) : QString();
        const QString text = settings_.value(key("limit") + QString::number(row), fallback).toString();
        const bool on = settings_.value(key("limitOn") + QString::number(row), row < 3).toBool();
        limits_->setItem(row, 0, checkItem(text, on, true));
    }
    limits_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    limits_->setFixedHeight(limits_->horizontalHeader()->sizeHint().height() +
                            kLimitRows * limits_->verticalHeader()->defaultSectionSize() + 4);

    auto* numbers = new QFormLayout;
    numbers->addRow(tr("&Samples:"), samples_);
    numbers->addRow(tr("S&eed:"), seed_);
    auto* note =
        new QLabel(tr("Spreads: 5% normal with a standard deviation of 5 % of today's value, 0.4 in the "
                      "input's unit, u10% or u0.4 uniform within ±. Limits: NAME<=VALUE or NAME>=VALUE."));
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(tr("Inputs varied (tick) and their spreads:")));
    layout->addWidget(inputs_, 1);
    layout->addWidget(note);
    layout->addLayout(numbers);
    layout->addWidget(couple_);
    layout->addWidget(new QLabel(tr("Limits:")));
    layout->addWidget(limits_);
}

std::optional<ToleranceSetup> ToleranceSettings::setup(QString& problem) const {
    ToleranceSetup setup;
    setup.outputs = shownToleranceOutputs();
    for (int row = 0; row < inputs_->rowCount(); ++row) {
        if (inputs_->item(row, 0)->checkState() != Qt::Checked) continue;
        const ExploreField* f = fields_[static_cast<std::size_t>(row)];
        const std::optional<Spread> spread =
            parseSpread(inputs_->item(row, 1)->text().trimmed().toStdString());
        if (!spread) {
            problem = tr("The spread of %1 does not read: write 5%, 0.4, u10% or u0.4.")
                          .arg(QString::fromStdString(fieldTitle(*f)));
            return std::nullopt;
        }
        setup.inputs.push_back({f, *spread});
    }
    for (int row = 0; row < limits_->rowCount(); ++row) {
        const QTableWidgetItem* item = limits_->item(row, 0);
        if (item->checkState() != Qt::Checked || item->text().trimmed().isEmpty()) continue;
        std::string why;
        const std::optional<OutputLimit> limit = parseOutputLimit(item->text().trimmed().toStdString(), why);
        if (!limit) {
            problem = QString::fromStdString(why);
            return std::nullopt;
        }
        if (std::find(setup.outputs.begin(), setup.outputs.end(), limit->output) == setup.outputs.end())
            setup.outputs.push_back(limit->output);
        setup.limits.push_back(*limit);
    }
    setup.samples = samples_->value();
    setup.coupleDiffusion = couple_->isEnabled() && couple_->isChecked();
    bool ok = false;
    setup.seed = seed_->text().trimmed().toULongLong(&ok);
    if (!ok) {
        problem = tr("The seed must be a whole number from 0 to 18446744073709551615.");
        return std::nullopt;
    }
    if (setup.inputs.empty()) {
        problem = tr("Tick at least one input to vary.");
        return std::nullopt;
    }
    return setup;
}

void ToleranceSettings::remember() const {
    for (int row = 0; row < inputs_->rowCount(); ++row) {
        const std::string_view name = fields_[static_cast<std::size_t>(row)]->name();
        settings_.setValue(key("vary", name), inputs_->item(row, 0)->checkState() == Qt::Checked);
        settings_.setValue(key("spread", name), inputs_->item(row, 1)->text().trimmed());
    }
    settings_.setValue(key("samples"), samples_->value());
    settings_.setValue(key("seed"), seed_->text().trimmed());
    settings_.setValue(key("coupleDiffusion"), couple_->isChecked());
    for (int row = 0; row < limits_->rowCount(); ++row) {
        settings_.setValue(key("limit") + QString::number(row), limits_->item(row, 0)->text().trimmed());
        settings_.setValue(key("limitOn") + QString::number(row),
                           limits_->item(row, 0)->checkState() == Qt::Checked);
    }
}

}  // namespace veltrano
