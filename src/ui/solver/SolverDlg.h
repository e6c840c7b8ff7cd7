#pragma once

#include <array>
#include <vector>

#include <QDialog>

#include "core/solver/SolverTargets.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace veltrano {

class Dialogs;
class ErrorReporter;
struct DesignSet;
struct ModelParameters;

// "Problem Solver": a tipping/plug wrap combination or a cigarette paper that brings the current design
// to a target. Searches run on copies (runSolverSearch); only Accept writes into `designs.currentDesign`.
// The designs must be recalculated before the dialog runs, and again after it (accepted or not).
class SolverDlg : public QDialog {
    Q_OBJECT

public:
    SolverDlg(DesignSet& designs, const ModelParameters& mp, Dialogs& dialogs, ErrorReporter& errors,
              QWidget* owner = nullptr);

    // Whether Accept wrote a result into the current design during this showing.
    bool anythingAccepted() const { return accepted_; }

private:
    // The controls and state of one group: its radio button, target list and field, result fields and
    // buttons, the codes of the listed targets and whether the shown result may be accepted.
    struct Group {
        explicit Group(SolverGroup group) : which(group) {}
        SolverGroup which;
        QRadioButton* radio = nullptr;
        QComboBox* targets = nullptr;
        QLineEdit* target = nullptr;
        QLabel* unit = nullptr;
        std::array<QLineEdit*, 2> results{};
        QPushButton* search = nullptr;
        QPushButton* accept = nullptr;
        std::vector<SolverTarget> codes;
        bool acceptable = false;
    };

    QWidget* buildGroup(Group& group, QButtonGroup* radios);
    void updateEnabling();
    void search(Group& group);
    void acceptResult(Group& group);

    DesignSet& designs_;
    const ModelParameters& mp_;
    Dialogs& dialogs_;
    ErrorReporter& errors_;
    std::array<Group, 2> groups_{Group{SolverGroup::Tipping}, Group{SolverGroup::Paper}};
    QLabel* hints_ = nullptr;
    bool accepted_ = false;
};

}  // namespace veltrano
