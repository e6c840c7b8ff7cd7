#pragma once

#include <QDialog>

#include "core/design/ErrorMessages.h"

class QLabel;
class QProgressBar;

namespace veltrano {

// The progress window of the puff-by-puff analysis. It has no buttons: the analysis cannot be
// interrupted. While it is shown it is application-modal, so the program takes no input.
class PuffWaitDlg : public QDialog {
    Q_OBJECT
public:
    explicit PuffWaitDlg(QWidget* owner);

    // The analysis reports through this; every change is painted at once, because the analysis
    // runs without the event loop.
    ProgressSink& progress() { return sink_; }

    QString text() const;
    int position() const;
    int maximum() const;

private:
    class Sink : public ProgressSink {
    public:
        explicit Sink(PuffWaitDlg& dialog) : dialog_(dialog) {}
        void setRange(int max) override;
        void setPosition(int position) override;
        void setText(const std::string& text) override;
        void show() override;
        void hide() override;

    private:
        PuffWaitDlg& dialog_;
    };

    QLabel* label_;
    QProgressBar* bar_;
    Sink sink_{*this};
};

}  // namespace veltrano
