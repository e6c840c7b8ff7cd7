#include "ui/shell/PuffWaitDlg.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QWindow>

#include "ui/dialogs/ControlIds.h"
#include "ui/dialogs/ThinFrame.h"

namespace veltrano {

namespace {

// How long the analysis waits at most for its progress window to appear (milliseconds).
constexpr qint64 kExposeWait = 2000;

}  // namespace

PuffWaitDlg::PuffWaitDlg(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint) {  // a dialog frame, no caption
    setObjectName("PuffWaitDlg");
    label_ = new QLabel(QStringLiteral("Please wait ... evaluating puff 3/10"), this);
    label_->setObjectName("progressText");
    setControlId(label_, 1101);
    label_->setAlignment(Qt::AlignCenter);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("progressBar");
    setControlId(bar_, 1100);
    bar_->setTextVisible(false);
    auto* layout = new QVBoxLayout(framedContents(*this));
    layout->setContentsMargins(27, 15, 27, 15);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    setFixedSize(386, 93);  // 257 x 57 dialog units
    setWindowModality(Qt::ApplicationModal);
}

QString PuffWaitDlg::text() const {
    return label_->text();
}
int PuffWaitDlg::position() const {
    return bar_->value();
}
int PuffWaitDlg::maximum() const {
    return bar_->maximum();
}

void PuffWaitDlg::Sink::setRange(int max) {
    dialog_.bar_->setRange(0, max);
}

void PuffWaitDlg::Sink::setPosition(int position) {
    dialog_.bar_->setValue(position);
    dialog_.bar_->repaint();
}

void PuffWaitDlg::Sink::setText(const std::string& text) {
    dialog_.label_->setText(QString::fromStdString(text));
    dialog_.label_->repaint();
}

void PuffWaitDlg::Sink::show() {
    dialog_.show();
    // Under a window manager the window is drawable only once the manager has framed and exposed it;
    // paints before that are lost. Wait for it (briefly at most); user input stays queued until the
    // analysis ends, and nothing that may run meanwhile can start a command (the window refuses them).
    QElapsedTimer waited;
    waited.start();
    do {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    } while (!(dialog_.windowHandle() && dialog_.windowHandle()->isExposed()) &&
             waited.elapsed() < kExposeWait);
    dialog_.repaint();
}

void PuffWaitDlg::Sink::hide() {
    dialog_.hide();
}

}  // namespace veltrano
