#pragma once

#include <optional>
#include <vector>

#include <QDialog>

#include "core/design/DesignSet.h"
#include "core/design/ModelParameters.h"
#include "core/explore/TargetDesign.h"
#include "ui/explore/WorkerJob.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace veltrano {

class FieldRangeChoice;

// "Design to targets": 1 to 4 fields of the current design, each within bounds, searched for the values
// that bring 1 to 6 results to their targets (the weighted squared relative deviations made least).
// The search runs off the GUI thread; Cancel ends it with the best values found so far. The dialog
// shows the values found, each target against what they reach, and whether every target is met
// within the tolerance. It changes no design: Accept closes it (Accepted) with the values stored in
// `acceptedDesign`, for the caller to make one undoable change of.
class TargetDesignDlg : public QDialog {
    Q_OBJECT
public:
    // `designs` as the program shows them (recalculated); the dialog keeps copies of the values.
    TargetDesignDlg(const DesignSet& designs, const ModelParameters& mp, QWidget* owner = nullptr);
    ~TargetDesignDlg() override;

    const std::optional<DesignValues>& acceptedDesign() const { return accepted_; }
    const std::optional<TargetDesignResult>& result() const { return result_; }
    bool running() const { return job_.running(); }

    // Closing stops a running search and waits for it.
    void done(int result) override;

signals:
    void searchEnded();

private:
    struct VariableRow {
        QCheckBox* use = nullptr;
        FieldRangeChoice* choice = nullptr;
    };
    struct TargetRow {
        const ExploreOutput* output = nullptr;
        QCheckBox* use = nullptr;
        QLineEdit* value = nullptr;
        QLineEdit* weight = nullptr;
    };
    QWidget* buildVariables();
    QWidget* buildTargets();
    QWidget* buildResults();
    // The question the entries ask; nothing, and `problem` says why, when they ask none.
    bool question(std::vector<DesignVariable>& variables, std::vector<DesignTarget>& targets,
                  QString& problem) const;
    void solve();
    void searchFinished(TargetDesignResult result);
    void showResult();
    void updateEnabling();
    void acceptResult();

    DesignValues current_, reference_;
    const ModelParameters& mp_;
    TargetSearchLimits limits_;
    std::vector<VariableRow> variableRows_;
    std::vector<TargetRow> targetRows_;
    QLineEdit* tolerance_ = nullptr;
    QPushButton* solve_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* accept_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* summary_ = nullptr;
    QTableWidget* found_ = nullptr;
    QTableWidget* reached_ = nullptr;

    // What the search was asked and what it found.
    std::vector<DesignVariable> askedVariables_;
    std::vector<DesignTarget> askedTargets_;
    std::optional<TargetDesignResult> result_;
    std::optional<DesignValues> accepted_;
    WorkerJob job_;
};

}  // namespace veltrano
