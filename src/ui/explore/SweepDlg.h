#pragma once

#include <optional>

#include <QDialog>

#include "core/design/DesignSet.h"
#include "core/design/ModelParameters.h"
#include "render/charts/SweepData.h"
#include "render/views/ViewResources.h"
#include "ui/explore/WorkerJob.h"

class QLabel;
class QPushButton;
class QTableView;

namespace veltrano {

class Dialogs;
class LastFolder;
class RunPanel;
class SweepSettings;
class SweepTableModel;
class SweepView;

// "Sensitivity": the current design swept over one field (a chart of the chosen outputs against it) or
// two (a design map of one output), each point as OK would store and the recalculation compute it.
// The points run off the GUI thread, on every processor; they arrive one by one, and Cancel keeps
// those done. The dialog changes no design: "Apply this point" closes it (Accepted) with the point's
// values in `appliedDesign`, for the caller to make one undoable change of.
class SweepDlg : public QDialog {
    Q_OBJECT
public:
    // `designs` as the program shows them (recalculated); the dialog keeps copies of the values.
    SweepDlg(const DesignSet& designs, const ModelParameters& mp, const ViewResources& resources,
             Dialogs& dialogs, const QString& designFileName, LastFolder* lastFolder,
             QWidget* owner = nullptr);
    ~SweepDlg() override;

    const std::optional<DesignValues>& appliedDesign() const { return applied_; }
    const SweepData& data() const { return data_; }
    bool running() const { return job_.running(); }

    // Closing stops a running sweep and waits for it.
    void done(int result) override;

signals:
    // A run ended: all points done, or cancelled.
    void sweepEnded();

private:
    QWidget* buildButtons();
    void run();
    void pointArrived(SweepPoint&& point);
    void runEnded();
    void outputsChanged();
    void select(int point);
    void apply();
    void exportChart();
    void copyChart();
    void exportTable();
    void updateButtons();
    void showProblem(const QString& text);
    QString progressText() const;

    DesignValues current_, reference_;
    const ModelParameters& mp_;
    const ViewResources& resources_;
    Dialogs& dialogs_;
    QString designFileName_;
    LastFolder* lastFolder_;  // where the export dialogs start
    SweepData data_;
    std::optional<DesignValues> applied_;
    std::vector<int> referenceErrors_;

    SweepSettings* settings_ = nullptr;
    SweepView* view_ = nullptr;
    SweepTableModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* details_ = nullptr;
    QLabel* held_ = nullptr;
    RunPanel* panel_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* exportChart_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* exportTable_ = nullptr;
    // Last, so that it stops (and waits for) its work before anything else of the dialog goes.
    WorkerJob job_;
};

}  // namespace veltrano
