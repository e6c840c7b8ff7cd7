#pragma once

#include <QDialog>

class QPushButton;
class QRadioButton;

namespace veltrano {

class MainWin;

// The design panel: a tool window beside the main window with the most used commands as buttons and
// the four views as radio buttons. It holds no state of its own.
class DesignDlg : public QDialog {
    Q_OBJECT
public:
    explicit DesignDlg(MainWin& window);

    // Checks the radio button of the main window's view mode.
    void syncRadios();
    // Button 1083 and radio button 1101 follow the reference's ISO puff number.
    void setPuffByPuffEnabled(bool enabled);

    QPushButton* button(int id) const;
    QRadioButton* radio(int view) const;

public slots:
    void reject() override;  // Close, Escape and the close box hide the panel

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void radioClicked();

    MainWin& window_;
    QRadioButton* radios_[4];
};

}  // namespace veltrano
