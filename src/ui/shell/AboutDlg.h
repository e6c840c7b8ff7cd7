#pragma once

#include <functional>

#include <QDialog>
#include <QImage>

class QFrame;

namespace veltrano {

class Dialogs;

// The about box: product name, build date and logo, and two maintenance gestures:
// a left double-click with Ctrl, Shift and the right button held writes the start-up design file
// (and beeps once it is completely written); a right double-click with Ctrl, Shift and the left
// button held toggles the raw listing (shown at the main window's next repaint).
class AboutDlg : public QDialog {
    Q_OBJECT
public:
    struct Gestures {
        std::function<bool()> saveStartupDesigns;  // true when the file was written completely
        std::function<void()> toggleRawListing;
    };

    AboutDlg(const QImage& logo, Dialogs& dialogs, Gestures gestures, QWidget* owner);

    static QString buildDate();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QImage logo_;
    Dialogs& dialogs_;
    Gestures gestures_;
    QFrame* logoFrame_;
};

}  // namespace veltrano
