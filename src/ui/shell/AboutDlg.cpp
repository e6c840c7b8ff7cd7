#include "ui/shell/AboutDlg.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "render/resources/ProgramTitle.h"
#include "ui/dialogs/ControlIds.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/ThinFrame.h"
#include "ui/shell/BuildDate.h"

namespace veltrano {

QString AboutDlg::buildDate() {
    return QStringLiteral(VELTRANO_BUILD_DATE);
}

AboutDlg::AboutDlg(const QImage& logo, Dialogs& dialogs, Gestures gestures, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint),  // a dialog frame, no caption
      logo_(logo),
      dialogs_(dialogs),
      gestures_(std::move(gestures)) {
    setObjectName("AboutDlg");
    auto* name = new QLabel(programTitle(), this);
    name->setObjectName("productName");
    setControlId(name, 1103);
    auto* date = new QLabel(buildDate(), this);
    date->setObjectName("buildDate");
    setControlId(date, 1104);
    date->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    logoFrame_ = new QFrame(this);
    logoFrame_->setObjectName("logoFrame");
    setControlId(logoFrame_, 1105);
    logoFrame_->setFixedSize(173, 98);  // 115 x 60 dialog units
    logoFrame_->installEventFilter(this);

    auto* credits = new QLabel(QStringLiteral("Design tool for filter cigarettes\n\n"
                                              "Developed by korbinel\n"
                                              "2026\n\n"
                                              "Questions and suggestions:\n"
                                              "korbinel Product Support, Design Tools\n"
                                              "(please give the version and build date)"),
                               this);
    credits->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setObjectName("exitButton");
    setControlId(exit, 2);
    exit->setDefault(true);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout(framedContents(*this));
    grid->addWidget(name, 0, 0);
    grid->addWidget(date, 0, 1);
    grid->addWidget(credits, 1, 0);
    grid->addWidget(logoFrame_, 1, 1, Qt::AlignRight | Qt::AlignTop);
    grid->setRowStretch(2, 1);
    grid->addWidget(exit, 3, 0, 1, 2);
    resize(333, 304);  // 222 x 187 dialog units
}

bool AboutDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == logoFrame_ && event->type() == QEvent::Paint) {
        QPainter p(logoFrame_);
        p.fillRect(logoFrame_->rect(), Qt::white);
        p.drawImage(QPoint(16, 10), logo_);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    const bool ctrlShift =
        (event->modifiers() & Qt::ControlModifier) && (event->modifiers() & Qt::ShiftModifier);
    if (ctrlShift && event->button() == Qt::LeftButton && (event->buttons() & Qt::RightButton)) {
        if (gestures_.saveStartupDesigns && gestures_.saveStartupDesigns()) dialogs_.beep(3500, 200);
    } else if (ctrlShift && event->button() == Qt::RightButton && (event->buttons() & Qt::LeftButton)) {
        if (gestures_.toggleRawListing) gestures_.toggleRawListing();
        dialogs_.beep(2000, 200);
    }
    QDialog::mouseDoubleClickEvent(event);
}

}  // namespace veltrano
