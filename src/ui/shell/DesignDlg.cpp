#include "ui/shell/DesignDlg.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/dialogs/ControlIds.h"
#include "ui/shell/MainWin.h"

namespace veltrano {

DesignDlg::DesignDlg(MainWin& window)
    : QDialog(&window, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), window_(window) {
    setObjectName("DesignDlg");
    setWindowTitle(QStringLiteral("Cigarette Design"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(6);

    auto addButton = [&](const char* objectName, int id, const QString& text) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(objectName));
        setControlId(button, id);
        button->setAutoDefault(false);
        layout->addWidget(button);
        return button;
    };
    auto addCommandButton = [&](const PanelButton& b) {
        if (b.gapBefore) layout->addSpacing(b.gapBefore);
        QPushButton* button = addButton(b.objectName, b.controlId, QString::fromLatin1(b.text));
        connect(button, &QPushButton::clicked, this, [this, b] {
            if (b.activateFirst) window_.activateWindow();
            window_.runCommand(b.command);
        });
    };
    for (const PanelButton& b : panelFileButtons()) addCommandButton(b);

    layout->addSpacing(8);
    auto* display = new QGroupBox(QStringLiteral("Display"), this);
    auto* radioLayout = new QVBoxLayout(display);
    for (std::size_t i = 0; i < radios_.size(); ++i) {
        radios_[i] = new QRadioButton(QString::fromLatin1(kViewRows[i].panelText), display);
        radios_[i]->setObjectName(QString::fromLatin1(kViewRows[i].panelObjectName));
        setControlId(radios_[i], kViewRows[i].panelControlId);
        radioLayout->addWidget(radios_[i]);
        connect(radios_[i], &QRadioButton::clicked, this, &DesignDlg::radioClicked);
    }
    radios_[0]->setChecked(true);
    layout->addWidget(display);
    layout->addSpacing(8);

    for (const PanelButton& b : panelDesignButtons()) addCommandButton(b);

    connect(addButton("closeButton", 2, QStringLiteral("Close")), &QPushButton::clicked, this,
            &DesignDlg::reject);
    connect(addButton("exitButton", 3, QStringLiteral("Exit")), &QPushButton::clicked, this,
            [this] { window_.runCommand(kCmdExit); });
    layout->addStretch(1);
    setFixedSize(sizeHint());
}

QPushButton* DesignDlg::button(int controlId) const {
    return findByControlId<QPushButton>(this, controlId);
}

QRadioButton* DesignDlg::radio(View view) const {
    return radios_[viewIndex(view)];
}

void DesignDlg::syncRadios() {
    for (const ViewRow& row : kViewRows) radio(row.view)->setChecked(window_.viewMode() == row.view);
}

void DesignDlg::updateEnabling() {
    for (const auto& buttons : {panelFileButtons(), panelDesignButtons()})
        for (const PanelButton& b : buttons)
            button(b.controlId)->setEnabled(window_.commandEnabled(b.command));
    for (std::size_t i = 0; i < radios_.size(); ++i)
        radios_[i]->setEnabled(window_.commandEnabled(viewCommand(kViewRows[i].view)));
}

void DesignDlg::radioClicked() {
    for (std::size_t i = 0; i < radios_.size(); ++i) {
        if (radios_[i]->isChecked()) {
            window_.runCommand(viewCommand(kViewRows[i].view));
            break;
        }
    }
    syncRadios();
    window_.updateViewChecks();
}

void DesignDlg::keyPressEvent(QKeyEvent* event) {
    // Enter presses the button that has the focus, as Space does. The panel has no default button:
    // Enter anywhere else does nothing.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled())
            button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void DesignDlg::reject() {
    window_.panelClosed();
    hide();
}

}  // namespace veltrano
