#pragma once

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/explore/ExploreFields.h"
#include "core/explore/VariantEvaluation.h"

namespace veltrano {

// Steps of one axis: 2 to 201 for a sweep, 2 to 51 each for a map of two variables.
inline constexpr int kMinSweepSteps = 2, kMaxSweepSteps = 201, kMaxMapSteps = 51;

// One varied field: `steps` values evenly spaced from `from` to `to` (both included, either order).
struct SweepAxis {
    const ExploreField* field = nullptr;
    double from = 0, to = 0;
    int steps = kMinSweepSteps;

    // Value k (0 .. steps-1); the first is `from` and the last `to` exactly.
    double valueAt(int k) const;
};

// A sweep of one field, or a map of two. Points are numbered with the second field's steps inside the
// first's: point = i * second.steps + j.
struct SweepGrid {
    SweepAxis first;
    std::optional<SweepAxis> second;

    int pointCount() const;
    // The axis values of a point, in axis order (one or two).
    std::vector<double> inputsAt(int point) const;
    // The current design with the point's values stored into it.
    DesignValues variantAt(int point, const DesignValues& current) const;
};

// Why the grid cannot run on `current` (a field missing, repeated or not offered by its sheet, a bound
// that is not a number, steps out of range), or nothing.
std::optional<std::string> checkSweepGrid(const SweepGrid& grid, const DesignValues& current);

// Every `count`-th point from `shard` on (0 <= shard < count): independent jobs whose points together
// are the whole grid.
std::vector<int> shardPoints(int pointCount, int shard, int count);

struct SweepPoint {
    int index = 0;
    std::vector<double> inputs;
    VariantResult result;
};

// What the caller of a sweep sees while it runs. Both are called on the thread that runs the sweep.
struct SweepCallbacks {
    // A finished point (computed or refused), in point order; points skipped by a cancel are not passed.
    std::function<void(SweepPoint&& point)> pointDone;
    // Polled between points: true stops starting new ones (the points already done are kept).
    std::function<bool()> cancelRequested;
};

// Runs `points` of the grid on variants of `current`, in parallel on the machine's threads (each point's
// model runs its tables on its own thread). Returns how many points finished.
int runSweep(const SweepGrid& grid, std::span<const int> points, const DesignValues& current,
             const ExploreBasis& basis, bool puffs, const SweepCallbacks& callbacks);

}  // namespace veltrano
