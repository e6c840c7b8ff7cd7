#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/explore/Sweep.h"
#include "core/explore/SweepTable.h"
#include "core/report/ReportTables.h"

namespace veltrano {

// A sweep or map as the dialog holds it: the grid it runs, the current design it varies (recalculated,
// so it holds today's inputs and results), the points computed so far, and which outputs are shown.
// Every output of a computed point can be read, so the shown outputs may change without a new run.
struct SweepData {
    SweepGrid grid;
    DesignValues today;
    std::vector<std::optional<SweepPoint>> points;  // by point index; empty until computed
    std::vector<const ExploreOutput*> outputs;      // shown, in the order chosen
    bool puffs = false;                             // the points carry the puff-by-puff analysis

    // A fresh run: no point computed yet.
    void start(const SweepGrid& newGrid, const DesignValues& current, bool withPuffs);
    void add(SweepPoint&& point);

    bool isMap() const { return grid.second.has_value(); }
    int pointCount() const { return static_cast<int>(points.size()); }
    int computedCount() const;
    // The point of that index once it has run (refused or computed), else nullptr.
    const SweepPoint* point(int index) const;
    // An output of a computed point; nothing for a point refused or not yet run.
    std::optional<double> outputAt(int index, const ExploreOutput& output) const;
    // Today's value of an axis's field, and today's result of an output.
    double todayInput(const SweepAxis& axis) const { return today.*axis.field->member(); }
    double todayOutput(const ExploreOutput& output) const { return output.read(today); }
    // The columns of the table, its CSV file and its copy.
    SweepColumns columns() const;
};

// The table beneath the chart, as the dialog shows it: the column titles, then a row per point that
// has run, in point order. Inputs show the stored value; outputs show three decimals; a refused point
// shows its page's error texts where its outputs would be.
std::vector<std::string> sweepTableHeader(const SweepData& data);
std::vector<std::string> sweepTableRow(const SweepData& data, const SweepPoint& point);

// The points that have run, in point order.
std::vector<const SweepPoint*> pointsRun(const SweepData& data);

// The table with its numbers at full precision, for the clipboard; the texts its cells point to are
// kept with it.
struct SweepReportTable {
    std::deque<std::string> texts;
    ReportTable table;
};
SweepReportTable sweepReportTable(const SweepData& data);

// The whole table as a CSV file (RFC 4180, a header row with units, '.' decimals), with the per-puff
// lists when the points carry them.
std::string sweepCsvText(const SweepData& data);

}  // namespace veltrano
