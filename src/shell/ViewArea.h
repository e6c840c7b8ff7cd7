#pragma once

#include <QWidget>

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
    MainWin& window_;
};

}  // namespace veltrano
