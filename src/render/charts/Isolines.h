#pragma once

#include <vector>

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace veltrano {

// A line of equal value through a grid of values: its points in grid coordinates (x runs along the
// first index, y along the second; whole numbers are grid nodes).
struct Isoline {
    double level = 0;
    std::vector<QPointF> points;
    bool closed = false;
};

// The isolines of `levels` through the grid of nx × ny values, value (i, j) at values[i * ny + j]
// (the map's point order). A cell with a corner that is not a number has no lines; a cell whose
// corners lie crosswise above and below is split by its centre's average.
std::vector<Isoline> isolines(const std::vector<double>& values, int nx, int ny,
                              const std::vector<double>& levels);

// Where a label of an isoline goes: at `centre`, on the line.
struct IsolineLabel {
    int line;
    QRectF box;
};

// At most one label per line (`lines` in pixels, a label of sizes[line] each): the longest lines
// first, each at the first of a few places along it (its middle, then further out) where the label
// lies inside `area`, clear of every label placed before and of `avoid`. A line too short to carry its
// label gets none.
std::vector<IsolineLabel> placeIsolineLabels(const std::vector<std::vector<QPointF>>& lines,
                                             const std::vector<QSizeF>& sizes, const QRectF& area,
                                             const std::vector<QRectF>& avoid);

}  // namespace veltrano
