#include "ui/explore/SweepSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QVBoxLayout>

#include "render/charts/ExploreText.h"
#include "ui/explore/FieldRangeChoice.h"

namespace veltrano {

namespace {

// The fields a sweep and a map start with where the design offers them (else the first offered ones),
// and the outputs shown until the user picks others.
constexpr std::string_view kFirstField = "cp_perm", kFirstSecondField = "tp_perfoperm";
constexpr std::string_view kFirstOutputs[] = {"stat_pdo", "stat_fivent", "iso_nfdpm", "iso_nico", "iso_co"};
constexpr int kFirstSteps = 21;

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

SweepSettings::SweepSettings(const DesignValues& current, bool puffsOffered, QWidget* parent)
    : QWidget(parent), current_(current) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* field = new QGroupBox(tr("Field"));
    field->setLayout(new QVBoxLayout);
    field->layout()->addWidget(buildAxis(first_, QString(), kFirstField, 0));
    layout->addWidget(field);

    map_ = new QGroupBox(tr("Second field: design ma&p"));
    map_->setObjectName("map");
    map_->setCheckable(true);
    map_->setChecked(false);
    map_->setLayout(new QVBoxLayout);
    map_->layout()->addWidget(buildAxis(second_, QStringLiteral("2"), kFirstSecondField, 1));
    connect(map_, &QGroupBox::toggled, this, &SweepSettings::mapToggled);
    layout->addWidget(map_);

    auto* shown = new QGroupBox(tr("Outputs"));
    auto* shownLayout = new QVBoxLayout(shown);
    outputs_ = new QListWidget;
    outputs_->setObjectName("outputs");
    for (const ExploreOutput& o : exploreOutputs()) {
        auto* item = new QListWidgetItem(text(outputTitleWithUnit(o)), outputs_);
        const bool first =
            std::find(std::begin(kFirstOutputs), std::end(kFirstOutputs), o.name) != std::end(kFirstOutputs);
        item->setCheckState(first ? Qt::Checked : Qt::Unchecked);
    }
    connect(outputs_, &QListWidget::itemChanged, this, [this] {
        listMappedOutputs();
        emit outputsChanged();
    });
    shownLayout->addWidget(outputs_);
    auto* mappedRow = new QFormLayout;
    mapped_ = new QComboBox;
    mapped_->setObjectName("mapOutput");
    mappedRow->addRow(tr("Map &of"), mapped_);
    shownLayout->addLayout(mappedRow);
    connect(mapped_, &QComboBox::currentIndexChanged, this, &SweepSettings::mappedOutputChanged);
    puffs_ = new QCheckBox(tr("With the puff-by-puff a&nalysis"));
    puffs_->setObjectName("puffs");
    puffs_->setEnabled(puffsOffered);
    if (!puffsOffered) puffs_->setToolTip(tr("Needs the reference's measured ISO puff number"));
    shownLayout->addWidget(puffs_);
    layout->addWidget(shown, 1);

    listMappedOutputs();
    mapToggled(false);
}

QWidget* SweepSettings::buildAxis(AxisRow& row, const QString& suffix, std::string_view preferred,
                                  int fallback) {
    auto* box = new QWidget;
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    row.choice = new FieldRangeChoice(current_, preferred, fallback, suffix, proposedSweepRange, this);
    row.steps = new QSpinBox;
    row.steps->setObjectName("steps" + suffix);
    row.steps->setRange(kMinSweepSteps, kMaxSweepSteps);
    row.steps->setValue(kFirstSteps);
    // The first field's rows carry the keys; the second field is reached by its own key, then by Tab.
    const bool first = suffix.isEmpty();
    form->addRow(first ? tr("&Field") : tr("Fi&eld"), row.choice->field);
    form->addRow(QString(), row.choice->note);
    form->addRow(first ? tr("Fro&m") : tr("From"), row.choice->from);
    form->addRow(first ? tr("&To") : tr("To"), row.choice->to);
    form->addRow(first ? tr("&Steps") : tr("Steps"), row.steps);
    return box;
}

void SweepSettings::mapToggled(bool on) {
    const int most = on ? kMaxMapSteps : kMaxSweepSteps;
    first_.steps->setMaximum(most);
    second_.steps->setMaximum(most);
    mapped_->setEnabled(on);
}

std::optional<SweepAxis> SweepSettings::axisOf(const AxisRow& row) const {
    const ExploreField* field = row.choice->chosen();
    if (!field) return std::nullopt;
    const ValueRange range = row.choice->range();
    return SweepAxis{field, range.lo, range.hi, row.steps->value()};
}

std::optional<SweepGrid> SweepSettings::grid(QString& problem) const {
    SweepGrid grid;
    const std::optional<SweepAxis> first = axisOf(first_);
    if (!first) {
        problem = tr("This design has no field to vary.");
        return std::nullopt;
    }
    grid.first = *first;
    if (map_->isChecked()) grid.second = axisOf(second_);
    if (const std::optional<std::string> why = checkSweepGrid(grid, current_)) {
        problem = text(*why);
        problem[0] = problem[0].toUpper();
        problem += QLatin1Char('.');
        return std::nullopt;
    }
    if (outputs().empty()) {
        problem = tr("Choose at least one output.");
        return std::nullopt;
    }
    return grid;
}

std::vector<const ExploreOutput*> SweepSettings::outputs() const {
    std::vector<const ExploreOutput*> chosen;
    for (int i = 0; i < outputs_->count(); ++i)
        if (outputs_->item(i)->checkState() == Qt::Checked)
            chosen.push_back(&exploreOutputs()[static_cast<std::size_t>(i)]);
    return chosen;
}

const ExploreOutput* SweepSettings::mappedOutput() const {
    const int index = mapped_->currentData().toInt();
    return mapped_->currentIndex() < 0 ? nullptr : &exploreOutputs()[static_cast<std::size_t>(index)];
}

bool SweepSettings::puffs() const {
    return puffs_->isEnabled() && puffs_->isChecked();
}

void SweepSettings::listMappedOutputs() {
    const QVariant was = mapped_->currentData();
    const QSignalBlocker quiet(mapped_);
    mapped_->clear();
    for (int i = 0; i < outputs_->count(); ++i)
        if (outputs_->item(i)->checkState() == Qt::Checked) mapped_->addItem(outputs_->item(i)->text(), i);
    const int again = mapped_->findData(was);
    mapped_->setCurrentIndex(again >= 0 ? again : 0);
    if (mapped_->currentData() != was) emit mappedOutputChanged();
}

}  // namespace veltrano
