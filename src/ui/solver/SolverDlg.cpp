#include "ui/solver/SolverDlg.h"

#include <algorithm>

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"
#include "core/solver/SolverSearch.h"
#include "ui/dialogs/MessageBoxes.h"

namespace veltrano {

namespace {

// What distinguishes the two groups on screen: the heading, the result rows and the object names.
struct GroupLayout {
    const char* name;
    const char* heading;
    std::array<const char*, 2> resultNames;
    std::array<const char*, 2> resultLabels;
    std::array<const char*, 2> resultUnits;
};

const GroupLayout& layoutOf(SolverGroup group) {
    static const GroupLayout tipping{"tipping",
                                     "I want to find a tipping/plug wrap combination ...",
                                     {"pw_perm_result", "tp_perfoperm_result"},
                                     {"Plug wrap paper permeability", "Tipping paper permeability"},
                                     {"CU", "CU"}};
    static const GroupLayout paper{"paper",
                                   "I want to find a cigarette paper ...",
                                   {"cp_perm_result", "cp_diff_result"},
                                   {"Cigarette paper permeability", "Cigarette paper diffusion capacity"},
                                   {"CU", "cm/s"}};
    return group == SolverGroup::Tipping ? tipping : paper;
}

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString partName(const char* group, const char* part) {
    return QString::fromLatin1(group) + QLatin1Char('_') + QString::fromLatin1(part);
}

// The wait cursor while a search runs.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

SolverDlg::SolverDlg(DesignSet& designs, const ModelParameters& mp, Dialogs& dialogs, ErrorReporter& errors,
                     QWidget* owner)
    : QDialog(owner), designs_(designs), mp_(mp), dialogs_(dialogs), errors_(errors) {
    setWindowTitle(QStringLiteral("Problem Solver"));
    auto* radios = new QButtonGroup(this);
    auto* layout = new QVBoxLayout(this);
    for (Group& group : groups_) layout->addWidget(buildGroup(group, radios));

    auto* hintsBox = new QGroupBox(QStringLiteral("Hints"));
    hints_ = new QLabel(QStringLiteral("No hints."));
    hints_->setObjectName(QStringLiteral("hints"));
    hints_->setWordWrap(true);
    hints_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    hints_->setMinimumHeight(4 * hints_->fontMetrics().lineSpacing());
    (new QVBoxLayout(hintsBox))->addWidget(hints_);
    layout->addWidget(hintsBox);
    // Why both searches are disabled for online perforation; the hints box keeps its own text.
    if (designs_.currentDesign.tp_perfotype == kOnlineLaser) {
        auto* why = new QLabel(QStringLiteral(
            "No search can be run: with online laser perforation the filter ventilation follows the targeted "
            "degree of online ventilation on the tipping paper page."));
        why->setObjectName(QStringLiteral("online_note"));
        why->setWordWrap(true);
        layout->addWidget(why);
    }

    auto* exit = new QPushButton(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("exit"));
    exit->setAutoDefault(false);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    auto* exitRow = new QHBoxLayout;
    exitRow->addStretch();
    exitRow->addWidget(exit);
    layout->addLayout(exitRow);

    // Which search the perforation allows: both for electrostatic and laser perforation (the tipping one
    // chosen), only the paper without perforation, none for online perforation.
    const DesignValues& design = designs_.currentDesign;
    for (Group& group : groups_) group.radio->setEnabled(groupOffered(group.which, design));
    Group& first = groupOffered(SolverGroup::Tipping, design) ? groups_[0] : groups_[1];
    if (first.radio->isEnabled()) first.radio->setChecked(true);
    updateEnabling();
    // The target of the offered search takes the typing at once.
    if (first.radio->isChecked()) first.target->setFocus();
}

QWidget* SolverDlg::buildGroup(Group& group, QButtonGroup* radios) {
    const GroupLayout& look = layoutOf(group.which);
    auto* box = new QGroupBox;
    box->setObjectName(partName(look.name, "group"));
    auto* grid = new QGridLayout(box);

    group.radio = new QRadioButton(QString::fromLatin1(look.heading));
    group.radio->setObjectName(partName(look.name, "radio"));
    radios->addButton(group.radio);
    connect(group.radio, &QRadioButton::toggled, this, [this] { updateEnabling(); });
    grid->addWidget(group.radio, 0, 0, 1, 4);

    // "... so that" [target list] "is equal to" [target field] [unit]
    group.targets = new QComboBox;
    group.targets->setObjectName(partName(look.name, "targets"));
    for (const TargetItem& item : offeredTargets(group.which, designs_.currentDesign)) {
        group.targets->addItem(text(item.text));
        group.codes.push_back(item.code);
    }
    group.target = new QLineEdit;
    group.target->setObjectName(partName(look.name, "target"));
    group.target->setFixedWidth(group.target->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    group.unit = new QLabel(text(targetUnit(group.codes.front())));
    group.unit->setObjectName(partName(look.name, "unit"));
    group.unit->setMinimumWidth(group.unit->fontMetrics().horizontalAdvance(QStringLiteral("mg/cig.")));
    // Enter in the target field runs the group's Search (the field is enabled only while its group is on).
    connect(group.target, &QLineEdit::returnPressed, this, [this, &group] { search(group); });
    connect(group.targets, &QComboBox::currentIndexChanged, this, [&group](int index) {
        if (index >= 0) group.unit->setText(text(targetUnit(group.codes[static_cast<std::size_t>(index)])));
    });
    auto* targetRow = new QHBoxLayout;
    targetRow->addWidget(new QLabel(QStringLiteral("... so that")));
    targetRow->addWidget(group.targets, 1);
    targetRow->addWidget(new QLabel(QStringLiteral("is equal to")));
    targetRow->addWidget(group.target);
    targetRow->addWidget(group.unit);
    grid->addLayout(targetRow, 1, 0, 1, 4);

    // The result rows, each with its unit, and the group's buttons beside them.
    group.search = new QPushButton(QStringLiteral("Search"));
    group.accept = new QPushButton(QStringLiteral("Accept"));
    group.search->setObjectName(partName(look.name, "search"));
    group.accept->setObjectName(partName(look.name, "accept"));
    const std::array<QPushButton*, 2> buttons{group.search, group.accept};
    for (std::size_t row = 0; row < 2; ++row) {
        QLineEdit* result = new QLineEdit;
        result->setObjectName(QString::fromLatin1(look.resultNames[row]));
        result->setReadOnly(true);  // display only, but the text can be selected and copied
        result->setFixedWidth(group.target->width());
        group.results[row] = result;
        const int r = static_cast<int>(row) + 2;
        grid->addWidget(new QLabel(QString::fromLatin1(look.resultLabels[row])), r, 0);
        grid->addWidget(result, r, 1);
        grid->addWidget(new QLabel(QString::fromLatin1(look.resultUnits[row])), r, 2);
        buttons[row]->setAutoDefault(false);
        grid->addWidget(buttons[row], r, 3, Qt::AlignRight);
    }
    // The result fields of both groups line up: the label column is as wide as the widest label.
    int labelWidth = 0;
    for (SolverGroup other : {SolverGroup::Tipping, SolverGroup::Paper})
        for (const char* label : layoutOf(other).resultLabels)
            labelWidth = std::max(labelWidth, fontMetrics().horizontalAdvance(QString::fromLatin1(label)));
    grid->setColumnMinimumWidth(0, labelWidth + grid->horizontalSpacing());
    grid->setColumnStretch(2, 1);
    connect(group.search, &QPushButton::clicked, this, [this, &group] { search(group); });
    connect(group.accept, &QPushButton::clicked, this, [this, &group] { acceptResult(group); });
    return box;
}

void SolverDlg::updateEnabling() {
    for (Group& group : groups_) {
        const bool active = group.radio->isChecked();
        group.targets->setEnabled(active);
        group.target->setEnabled(active);
        group.search->setEnabled(active);
        group.accept->setEnabled(active && group.acceptable);
    }
}

void SolverDlg::search(Group& group) {
    const int index = group.targets->currentIndex();
    if (index < 0) return;
    const SolverTarget code = group.codes[static_cast<std::size_t>(index)];
    SearchOutcome outcome;
    {
        const WaitCursor wait;
        outcome =
            runSolverSearch(designs_, group.which, code, group.target->text().toStdString(), mp_, errors_);
    }
    switch (outcome.kind) {
        case SearchOutcome::Kind::Result:
            for (std::size_t i = 0; i < 2; ++i) group.results[i]->setText(text(outcome.fieldTexts[i]));
            group.acceptable = true;
            if (group.which == SolverGroup::Tipping) hints_->setText(text(outcome.hints));
            updateEnabling();
            break;
        case SearchOutcome::Kind::RangeMessage:
            showMessage(dialogs_, this, text(outcome.message), QStringLiteral("Error"), QMessageBox::Warning);
            break;
        case SearchOutcome::Kind::Error:
            ReportError(errors_, outcome.error);
            break;
        case SearchOutcome::Kind::NotOffered:
            break;
    }
}

void SolverDlg::acceptResult(Group& group) {
    if (!group.acceptable) return;
    const std::array<std::string, 2> shown{group.results[0]->text().toStdString(),
                                           group.results[1]->text().toStdString()};
    acceptSearchResult(designs_.currentDesign, group.which, shown, mp_);
    accepted_ = true;
    group.acceptable = false;
    for (QLineEdit* result : group.results) result->clear();
    updateEnabling();
}

}  // namespace veltrano
