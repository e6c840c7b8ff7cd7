#include "shell/PuffWaitDlg.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "dialogs/ControlIds.h"

namespace veltrano {

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
    auto* layout = new QVBoxLayout(this);
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
    // Map the window once before the first puff; user input stays queued until the analysis ends.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    dialog_.repaint();
}

void PuffWaitDlg::Sink::hide() {
    dialog_.hide();
}

}  // namespace veltrano
