#include "exploreui/SweepSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QVBoxLayout>

#include "design/NumberText.h"
#include "exploreui/ExploreText.h"

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

const ExploreField& fieldAt(int index) {
    return exploreFields()[static_cast<std::size_t>(index)];
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
    row.field = new QComboBox;
    row.field->setObjectName("field" + suffix);
    row.field->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    row.field->setMinimumContentsLength(24);
    int chosen = -1;
    for (std::size_t i = 0; i < exploreFields().size(); ++i) {
        const ExploreField& f = fieldAt(static_cast<int>(i));
        if (!isOffered(f, current_)) continue;
        row.field->addItem(text(fieldTitleWithUnit(f)), static_cast<int>(i));
        if (f.name() == preferred) chosen = row.field->count() - 1;
    }
    if (chosen < 0) chosen = std::min(fallback, row.field->count() - 1);
    row.from = new QLineEdit;
    row.from->setObjectName("from" + suffix);
    row.to = new QLineEdit;
    row.to->setObjectName("to" + suffix);
    row.steps = new QSpinBox;
    row.steps->setObjectName("steps" + suffix);
    row.steps->setRange(kMinSweepSteps, kMaxSweepSteps);
    row.steps->setValue(kFirstSteps);
    row.today = new QLabel;
    row.today->setObjectName("today" + suffix);
    row.today->setForegroundRole(QPalette::PlaceholderText);
    // The first field's rows carry the keys; the second field is reached by its own key, then by Tab.
    const bool first = suffix.isEmpty();
    form->addRow(first ? tr("&Field") : tr("Fi&eld"), row.field);
    form->addRow(QString(), row.today);
    form->addRow(first ? tr("Fro&m") : tr("From"), row.from);
    form->addRow(first ? tr("&To") : tr("To"), row.to);
    form->addRow(first ? tr("&Steps") : tr("Steps"), row.steps);
    connect(row.field, &QComboBox::currentIndexChanged, this, [this, &row] { fieldChosen(row); });
    row.field->setCurrentIndex(std::max(chosen, 0));
    fieldChosen(row);
    return box;
}

void SweepSettings::fieldChosen(AxisRow& row) {
    if (row.field->currentIndex() < 0) return;
    const ExploreField& f = fieldAt(row.field->currentData().toInt());
    const ValueRange r = validRange(f, current_);
    row.from->setText(text(shownInput(f, r.lo)));
    row.to->setText(text(shownInput(f, r.hi)));
    const std::string unit = f.spec().unit.empty() ? "" : " " + std::string(f.spec().unit);
    row.today->setText(tr("today %1, accepted %2 to %3")
                           .arg(text(shownInput(f, current_.*f.member()) + unit), text(shownInput(f, r.lo)),
                                text(shownInput(f, r.hi) + unit)));
}

void SweepSettings::mapToggled(bool on) {
    const int most = on ? kMaxMapSteps : kMaxSweepSteps;
    first_.steps->setMaximum(most);
    second_.steps->setMaximum(most);
    mapped_->setEnabled(on);
}

std::optional<SweepAxis> SweepSettings::axisOf(const AxisRow& row) const {
    if (row.field->currentIndex() < 0) return std::nullopt;
    SweepAxis axis;
    axis.field = &fieldAt(row.field->currentData().toInt());
    axis.from = readNumber(row.from->text().toStdString());
    axis.to = readNumber(row.to->text().toStdString());
    axis.steps = row.steps->value();
    return axis;
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
