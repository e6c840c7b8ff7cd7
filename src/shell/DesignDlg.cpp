#include "shell/DesignDlg.h"

#include <functional>

#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/MainWin.h"

namespace veltrano {

namespace {

struct PanelButton {
    int id;
    const char* text;
    void (MainWin::*handler)();
    bool activateFirst;
    int gapBefore;  // extra space above, in pixels, as the panel groups its buttons
};

// Buttons above the "Display" group, then below it, top to bottom.
const PanelButton kFileButtons[] = {
    {1087, "Open ...", &MainWin::openFile, true, 0},
    {1085, "Save ...", &MainWin::saveFile, true, 0},
    {1086, "Save as ...", &MainWin::saveFileAs, true, 0},
    {1092, "Import ...", &MainWin::importFile, true, 0},
    {1088, "Print ...", &MainWin::printDesigns, true, 18},
};
const PanelButton kDesignButtons[] = {
    {1080, "Reference cigarette ...", &MainWin::editReference, true, 0},
    {1081, "Copy to current", &MainWin::copyToCurrent, false, 0},
    {1082, "Current cigarette ...", &MainWin::editCurrent, true, 0},
    {1083, "Puff-by-puff analysis", &MainWin::puffByPuffCommand, false, 12},
    {1084, "Problem solver ...", &MainWin::problemSolver, true, 0},
    {1090, "Add Information ...", &MainWin::addInformation, true, 0},
    {1089, "About ...", &MainWin::about, true, 12},
};

const char* const kRadioTexts[4] = {"Stationary flow", "ISO and alt. yields", "Puff-by-puff analysis",
                                    "Data summary"};

}  // namespace

DesignDlg::DesignDlg(MainWin& window)
    : QDialog(&window, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), window_(window) {
    setObjectName("DesignDlg");
    setWindowTitle(QStringLiteral("Cigarette Design"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(6);

    auto addButton = [&](const PanelButton& b) {
        if (b.gapBefore) layout->addSpacing(b.gapBefore);
        auto* button = new QPushButton(QString::fromLatin1(b.text), this);
        button->setObjectName(QString::number(b.id));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, b] {
            if (b.activateFirst) window_.activateWindow();
            (window_.*b.handler)();
        });
        layout->addWidget(button);
    };
    for (const PanelButton& b : kFileButtons) addButton(b);

    layout->addSpacing(8);
    auto* display = new QGroupBox(QStringLiteral("Display"), this);
    auto* radioLayout = new QVBoxLayout(display);
    for (int i = 0; i < 4; ++i) {
        radios_[i] = new QRadioButton(QString::fromLatin1(kRadioTexts[i]), display);
        radios_[i]->setObjectName(QString::number(1099 + i));
        radioLayout->addWidget(radios_[i]);
        connect(radios_[i], &QRadioButton::clicked, this, &DesignDlg::radioClicked);
    }
    radios_[0]->setChecked(true);
    layout->addWidget(display);
    layout->addSpacing(8);

    for (const PanelButton& b : kDesignButtons) addButton(b);

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName("2");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &DesignDlg::reject);
    layout->addWidget(close);
    auto* exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setObjectName("3");
    exit->setAutoDefault(false);
    connect(exit, &QPushButton::clicked, this, [this] { window_.exitProgram(); });
    layout->addWidget(exit);
    layout->addStretch(1);
    setFixedSize(sizeHint());
}

QPushButton* DesignDlg::button(int id) const {
    return findChild<QPushButton*>(QString::number(id));
}

QRadioButton* DesignDlg::radio(int view) const {
    return radios_[view - 1];
}

void DesignDlg::syncRadios() {
    for (int i = 0; i < 4; ++i) radios_[i]->setChecked(window_.viewMode() == i + 1);
}

void DesignDlg::setPuffByPuffEnabled(bool enabled) {
    button(1083)->setEnabled(enabled);
    radios_[2]->setEnabled(enabled);
}

void DesignDlg::radioClicked() {
    const int old = window_.viewMode();
    int mode = old;
    for (int i = 0; i < 4; ++i) {
        if (radios_[i]->isChecked()) {
            mode = i + 1;
            break;
        }
    }
    if (mode != old) window_.setViewMode(mode);
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
