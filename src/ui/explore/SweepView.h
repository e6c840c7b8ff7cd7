#pragma once

#include <QWidget>

#include "render/charts/PointInfo.h"
#include "render/charts/SweepData.h"
#include "render/views/ViewExport.h"
#include "render/views/ViewResources.h"

namespace veltrano {

// The chart of a sweep, or the map of two fields, as the dialog shows it: it follows the pointer with
// the numbers of the point under it, and a click picks a point. It draws from the dialog's data each
// time it paints; `drawing` is the same picture without the pointer's marks, for export and copy.
class SweepView : public QWidget {
    Q_OBJECT
public:
    SweepView(const SweepData& data, const ViewResources& resources, QWidget* parent = nullptr);

    // The output the map colours (the map needs one).
    void setMappedOutput(const ExploreOutput* output);
    void setSelected(int point);
    int selected() const { return marks_.selected; }
    int hovered() const { return marks_.hovered; }
    // The point under a position of the widget, or −1.
    int pointAt(QPoint position) const;
    // Whether there is a chart to show: a run has started and, for a map, an output is chosen.
    bool hasChart() const;
    Drawing drawing() const;

signals:
    void pointClicked(int point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void paintChart(QPainter& painter, const ViewResources& resources, QSize canvas,
                    const ChartMarks& marks) const;
    void hover(int point);

    const SweepData& data_;
    const ViewResources& resources_;
    const ExploreOutput* mapped_ = nullptr;
    ChartMarks marks_;
};

}  // namespace veltrano
