#pragma once

#include <QWidget>

class QScrollArea;

namespace veltrano {

class MainWin;

// The main window's client area: white background, the logo, then the view of the present mode or
// the raw listing. It tracks the mouse for the puff-by-puff view's hover data.
class ViewArea : public QWidget {
    Q_OBJECT
public:
    explicit ViewArea(MainWin& window);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // The listing can reach beyond the window: the area then takes its size, and the scroll area
    // around it scrolls. The views keep to the window.
    void followContentSize();

    MainWin& window_;
};

// The client area in a frameless scroll area, as the main window's central widget: the views fill the
// window; the raw listing scrolls (wheel, arrow and page keys) where it is larger than the window.
QScrollArea* scrollingClient(ViewArea* area);

}  // namespace veltrano
