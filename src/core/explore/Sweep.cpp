#include "core/explore/Sweep.h"

#include <atomic>
#include <cmath>

#include "core/model/ParallelTasks.h"

namespace veltrano {

double SweepAxis::valueAt(int k) const {
    // Exact at both ends. Between them one division, so that round bounds and steps give round values
    // (0 to 220 in 21 steps stores 121, not 121.00000000000001); bounds too far apart for that sum
    // take the interpolation, which cannot overflow.
    const int last = steps - 1;
    if (k <= 0) return from;
    if (k >= last) return to;
    const double even = (from * (last - k) + to * k) / last;
    return std::isfinite(even) ? even : std::lerp(from, to, static_cast<double>(k) / last);
}

int SweepGrid::pointCount() const {
    return first.steps * (second ? second->steps : 1);
}

std::vector<double> SweepGrid::inputsAt(int point) const {
    if (!second) return {first.valueAt(point)};
    return {first.valueAt(point / second->steps), second->valueAt(point % second->steps)};
}

DesignValues SweepGrid::variantAt(int point, const DesignValues& current) const {
    DesignValues variant = current;
    const std::vector<double> inputs = inputsAt(point);
    storeValue(*first.field, variant, inputs[0]);
    if (second) storeValue(*second->field, variant, inputs[1]);
    return variant;
}

std::optional<std::string> checkSweepGrid(const SweepGrid& grid, const DesignValues& current) {
    const int maxSteps = grid.second ? kMaxMapSteps : kMaxSweepSteps;
    std::vector<const SweepAxis*> axes{&grid.first};
    if (grid.second) axes.push_back(&*grid.second);
    for (const SweepAxis* axis : axes) {
        if (!axis->field) return "no field given";
        const std::string name(axis->field->name());
        if (!isOffered(*axis->field, current))
            return "the field " + name + " cannot be edited on this design";
        if (!std::isfinite(axis->from) || !std::isfinite(axis->to))
            return "the range of " + name + " must be finite numbers";
        if (axis->steps < kMinSweepSteps || axis->steps > maxSteps)
            return "the steps of " + name + " must lie between " + std::to_string(kMinSweepSteps) + " and " +
                   std::to_string(maxSteps);
    }
    if (grid.second && grid.second->field == grid.first.field) return "the two fields must differ";
    return std::nullopt;
}

std::vector<int> shardPoints(int pointCount, int shard, int count) {
    std::vector<int> points;
    if (count < 1 || shard < 0 || shard >= count) return points;
    for (int p = shard; p < pointCount; p += count) points.push_back(p);
    return points;
}

int runSweep(const SweepGrid& grid, std::span<const int> points, const DesignValues& current,
             const ExploreBasis& basis, bool puffs, const SweepCallbacks& callbacks) {
    const int count = static_cast<int>(points.size());
    std::vector<SweepPoint> results(points.size());
    std::atomic<bool> stop{false};
    // One thread budget: the points share the machine's threads, each point's model stays on its own.
    ParallelTasks tasks(count, [&](int i, int) {
        if (stop) return;
        SweepPoint& p = results[static_cast<std::size_t>(i)];
        p.index = points[static_cast<std::size_t>(i)];
        p.inputs = grid.inputsAt(p.index);
        p.result =
            evaluateVariant(grid.variantAt(p.index, current), basis, puffs, InnerThreads::CallingThread);
    });
    int finished = 0;
    for (int i = 0; i < count; ++i) {
        if (!stop && callbacks.cancelRequested && callbacks.cancelRequested()) stop = true;
        tasks.wait(i);
        SweepPoint& p = results[static_cast<std::size_t>(i)];
        if (p.result.status == VariantStatus::NotRun) continue;
        ++finished;
        if (callbacks.pointDone) callbacks.pointDone(std::move(p));
    }
    return finished;
}

}  // namespace veltrano
