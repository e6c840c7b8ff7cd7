#pragma once

#include <QColor>
#include <QRect>
#include <QSize>

#include "render/charts/ChartScale.h"
#include "render/charts/PointInfo.h"
#include "render/charts/SweepData.h"
#include "render/views/ViewResources.h"

class QPainter;

namespace veltrano {

// The map of two fields: a cell per point coloured by one output (its colour bar beside), labelled
// isolines of that output, today's design marked; cells the rules refused are hatched.
struct DesignMapLayout {
    QRect plot;
    ChartScale x, y, colours;
    QRect colourBar;

    int xOf(double value) const;
    int yOf(double value) const;
    // The colour of a value of the mapped output.
    QColor colourOf(double value) const;
};
DesignMapLayout designMapLayout(const SweepData& data, const ExploreOutput& mapped,
                                const ViewResources& resources, QSize canvas);

void drawDesignMap(QPainter& painter, const ViewResources& resources, const SweepData& data,
                   const ExploreOutput& mapped, QSize canvas, const ChartMarks& marks = {});

// The point whose cell holds the pointer; −1 outside the map.
int mapPointAt(const DesignMapLayout& layout, const SweepData& data, QPoint pointer);

// The colour scale of the map, from its lowest value (t = 0) to its highest (t = 1).
QColor mapColour(double t);

}  // namespace veltrano
