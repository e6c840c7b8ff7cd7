#pragma once

#include <functional>
#include <string>

#include <QWidget>

#include "render/views/ViewExport.h"
#include "render/views/ViewResources.h"

namespace veltrano {

// A chart drawn by a function of the canvas size, as a dialog shows it; with nothing to draw it says
// `hint`. `drawing` is the same picture for export and copy.
class ChartPane : public QWidget {
public:
    using Paint = std::function<void(QPainter& painter, const ViewResources& resources, QSize canvas)>;

    ChartPane(const ViewResources& resources, std::string hint, QWidget* parent = nullptr);

    // Shows the chart `paint` draws; an empty one shows the hint.
    void setChart(Paint paint);
    bool hasChart() const { return static_cast<bool>(paint_); }
    Drawing drawing() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ViewResources& resources_;
    std::string hint_;
    Paint paint_;
};

}  // namespace veltrano
