#include "ui/explore/RunPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/explore/WorkerJob.h"

namespace veltrano {

QPushButton* exploreButton(const QString& text, const char* name) {
    auto* b = new QPushButton(text);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

RunPanel::RunPanel(QWidget* settings, WorkerJob& job, QWidget* below)
    : run(exploreButton(tr("&Run"), "run")),
      cancel(exploreButton(tr("&Cancel"), "cancel")),
      progress(new QProgressBar),
      status(new QLabel),
      settings_(settings) {
    progress->setObjectName("progress");
    progress->setTextVisible(false);
    status->setObjectName("status");
    status->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(settings, 1);
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(run);
    runRow->addWidget(cancel);
    layout->addLayout(runRow);
    layout->addWidget(progress);
    layout->addWidget(status);
    if (below) layout->addWidget(below);

    connect(cancel, &QPushButton::clicked, this, [this, &job] {
        cancelled_ = true;
        job.requestStop();
    });
}

void RunPanel::begin(int steps) {
    cancelled_ = false;
    progress->setRange(0, steps);
    progress->setValue(0);
}

void RunPanel::showRunning(bool running) {
    settings_->setEnabled(!running);
    run->setEnabled(!running);
    cancel->setEnabled(running);
}

}  // namespace veltrano
