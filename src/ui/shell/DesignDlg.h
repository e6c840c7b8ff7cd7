#pragma once

#include <array>

#include <QDialog>

#include "render/views/ViewList.h"

class QPushButton;
class QRadioButton;

namespace veltrano {

class MainWin;

// The design panel: a tool window beside the main window with the most used commands as buttons and
// the four views as radio buttons. It holds no state of its own: its buttons run the main window's
// commands and follow their enabling.
class DesignDlg : public QDialog {
    Q_OBJECT
public:
    explicit DesignDlg(MainWin& window);

    // Checks the radio button of the main window's view mode.
    void syncRadios();
    // Every button and radio button as its command's enabling says.
    void updateEnabling();

    QPushButton* button(int controlId) const;
    QRadioButton* radio(View view) const;

public slots:
    void reject() override;  // Close, Escape and the close box hide the panel

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void radioClicked();

    MainWin& window_;
    std::array<QRadioButton*, kViewRows.size()> radios_{};
};

}  // namespace veltrano
