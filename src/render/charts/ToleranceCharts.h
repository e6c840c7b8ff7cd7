#pragma once

#include <span>
#include <string>
#include <vector>

#include <QSize>

#include "core/explore/Sensitivity.h"
#include "core/explore/ToleranceSummary.h"
#include "render/views/ViewResources.h"

class QPainter;

namespace veltrano {

// The charts of the tolerance dialog: a histogram per output with its limits, the inputs' shares of an
// output's variance, and the tornado of the elasticities.

// A run as the charts show it: its setup, its samples in index order, their summary, and today's
// outputs (NaN where unknown), in the setup's output order.
struct ToleranceChartData {
    ToleranceSetup setup;
    std::vector<ToleranceSample> samples;
    ToleranceSummary summary;
    std::vector<double> today;
};

// The samples of an output counted in `bins` equal bins from lo to hi (the last bin includes hi); the
// values outside and those that are not numbers are not counted.
struct Histogram {
    double lo = 0, hi = 0;
    std::vector<int> counts;
};
Histogram outputHistogram(const ToleranceChartData& data, std::size_t output, double lo, double hi, int bins);

// One histogram per output of the setup, side by side in rows, each with its limits drawn and the share
// of samples outside them written beside them.
void drawToleranceHistograms(QPainter& painter, const ViewResources& resources,
                             const ToleranceChartData& data, QSize canvas);

// A bar per input: its first-order share of the output's variance, largest first.
void drawVarianceShares(QPainter& painter, const ViewResources& resources, const ToleranceChartData& data,
                        std::size_t output, QSize canvas);

// A bar per input: its elasticity for the output, largest magnitude first, to the left when negative.
struct TornadoBar {
    const ExploreField* field = nullptr;
    double elasticity = 0;
};
std::vector<TornadoBar> tornadoBars(std::span<const SensitivityRow> rows, std::size_t output);
void drawTornado(QPainter& painter, const ViewResources& resources, std::span<const SensitivityRow> rows,
                 const ExploreOutput& output, std::size_t outputIndex, double stepPercent, QSize canvas);

}  // namespace veltrano
