#pragma once

#include <QDialog>

#include "core/design/DesignSet.h"
#include "core/design/ModelParameters.h"
#include "render/charts/ToleranceCharts.h"
#include "render/views/ViewResources.h"
#include "ui/explore/WorkerJob.h"

class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QSettings;
class QTabWidget;
class QTableWidget;

namespace veltrano {

class ChartPane;
class Dialogs;
class LastFolder;
class RunPanel;
class ToleranceSettings;

// "Tolerances": what the spreads of the materials do to the current design's results. A Monte Carlo
// run draws the chosen inputs from their spreads (each sample as OK would store it and the
// recalculation compute it) and shows a histogram per output with its limits and the share of samples
// outside them, and each input's share of an output's variance; a second tab gives the elasticities of
// every output to every input and their tornado for one output. The work runs off the GUI thread;
// Cancel keeps the samples done. The dialog changes no design.
class ToleranceDlg : public QDialog {
    Q_OBJECT
public:
    ToleranceDlg(const DesignSet& designs, const ModelParameters& mp, const ViewResources& resources,
                 Dialogs& dialogs, QSettings& settings, const QString& designFileName, LastFolder* lastFolder,
                 QWidget* owner = nullptr);
    ~ToleranceDlg() override;

    const ToleranceChartData& data() const { return data_; }
    const std::vector<SensitivityRow>& elasticities() const { return rows_; }
    bool running() const { return job_.running(); }

    // Closing stops the work and waits for it, and keeps the settings.
    void done(int result) override;

signals:
    // A run or a table ended: done, or cancelled.
    void workEnded();

private:
    QWidget* buildTolerancesTab();
    QWidget* buildSensitivitiesTab();
    QWidget* buildButtons();
    void runSamples();
    void computeElasticities();
    void sampleArrived(ToleranceSample&& sample);
    void summarise();
    void workFinished();
    void showTolerances();
    void showElasticities();
    void exportChart();
    void copyChart();
    void updateButtons();
    QString numbersText() const;

    DesignValues current_, reference_;
    const ModelParameters& mp_;
    const ViewResources& resources_;
    Dialogs& dialogs_;
    QString designFileName_;
    LastFolder* lastFolder_;
    ToleranceChartData data_;
    std::vector<SensitivityRow> rows_;
    double rowsStep_ = 0;

    ToleranceSettings* settings_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    ChartPane* tolerancesChart_ = nullptr;
    ChartPane* tornadoChart_ = nullptr;
    QComboBox* shareOutput_ = nullptr;
    QComboBox* tornadoOutput_ = nullptr;
    QDoubleSpinBox* step_ = nullptr;
    QTableWidget* elasticityTable_ = nullptr;
    RunPanel* panel_ = nullptr;
    QPushButton* compute_ = nullptr;
    QPushButton* exportChart_ = nullptr;
    QPushButton* copy_ = nullptr;
    // Last, so that it stops (and waits for) its work before anything else of the dialog goes.
    WorkerJob job_;
};

}  // namespace veltrano
