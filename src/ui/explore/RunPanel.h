#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace veltrano {

class WorkerJob;

// A button of the exploring dialogs, named for the tests; Enter does not press it merely because it
// has the focus (Enter runs).
QPushButton* exploreButton(const QString& text, const char* name);

// The left column of the sweep and tolerance dialogs: their settings, Run and Cancel side by side, a
// progress bar and a status line. Cancel asks the job to stop; the panel remembers it until the next
// run begins.
class RunPanel : public QWidget {
public:
    // `settings` (and `below`, under the status line, when given) become the panel's.
    RunPanel(QWidget* settings, WorkerJob& job, QWidget* below = nullptr);

    // A run of `steps` steps begins: no Cancel yet, the bar at 0.
    void begin(int steps);
    bool cancelled() const { return cancelled_; }
    // While the job runs the settings and Run are off and Cancel is on, and the other way round.
    void showRunning(bool running);

    QPushButton* const run;
    QPushButton* const cancel;
    QProgressBar* const progress;
    QLabel* const status;

private:
    QWidget* settings_;
    bool cancelled_ = false;
};

}  // namespace veltrano
