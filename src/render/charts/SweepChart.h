#pragma once

#include <string>
#include <vector>

#include <QRect>
#include <QSize>

#include "render/charts/ChartScale.h"
#include "render/charts/PointInfo.h"
#include "render/charts/SweepData.h"
#include "render/views/ViewResources.h"

class QPainter;

namespace veltrano {

// The chart of a sweep of one field: each shown output against the field, one colour each, an axis
// per unit, today's value marked; refused points leave gaps and are crossed on the field's axis.
struct SweepChartLayout {
    struct UnitAxis {
        std::string unit;
        ChartScale scale;
        int x = 0;
    };
    QRect plot;
    ChartScale input;
    std::vector<UnitAxis> axes;
    std::vector<int> axisOf;  // the axis of each shown output
    int legendLeft = 0;

    int xOf(double input) const;
    int yOf(int output, double value) const;
};
SweepChartLayout sweepChartLayout(const SweepData& data, const ViewResources& resources, QSize canvas);

void drawSweepChart(QPainter& painter, const ViewResources& resources, const SweepData& data, QSize canvas,
                    const ChartMarks& marks = {});

// The point that has run nearest to the pointer along the field's axis, while the pointer is over
// the plot; −1 otherwise.
int sweepPointAt(const SweepChartLayout& layout, const SweepData& data, QPoint pointer);

}  // namespace veltrano
