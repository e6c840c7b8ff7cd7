#pragma once

#include <optional>
#include <span>
#include <vector>

#include "core/explore/Tolerance.h"

namespace veltrano {

// The distribution of one output over the computed samples whose value is a number; every member is NaN
// when there is none. `sd` divides by n - 1 (NaN for one sample). The p-points follow the quantile rule
// of Hyndman and Fan's type 7 (the default of R and NumPy): for p the point lies at rank h = (n - 1) p of
// the sorted values, counted from 0, interpolated linearly between the two values beside it.
struct OutputStatistics {
    double mean = 0, sd = 0, p5 = 0, p50 = 0, p95 = 0, min = 0, max = 0;
};

// The share of the computed samples outside a limit, with its 95 % Wilson score interval. Refused
// samples are not counted; with none counted every number is NaN.
struct LimitShare {
    OutputLimit limit;
    int outside = 0;
    int counted = 0;
    double share = 0, low = 0, high = 0;
};

// How often the sheet refused samples for the same errors.
struct Refusal {
    std::vector<int> errors;
    int samples = 0;
};

struct ToleranceSummary {
    int samples = 0;  // run (computed and refused)
    int refused = 0;
    std::vector<OutputStatistics> outputs;  // in the setup's output order
    std::vector<LimitShare> limits;         // in the setup's limit order
    // shares[o][k]: the first-order share of output o's variance that input k explains (nothing where the
    // output does not vary or too few samples were computed).
    std::vector<std::vector<std::optional<double>>> shares;
    std::vector<Refusal> refusals;  // by first appearance
};

// The statistics of `samples`, which must be in index order: every sum runs in that order, so the
// summary of the same samples is the same to the bit whichever threads or shards made them.
ToleranceSummary summariseTolerance(const ToleranceSetup& setup, std::span<const ToleranceSample> samples);

// The statistics of values that are all numbers, in any order.
OutputStatistics outputStatistics(std::vector<double> values);

// The 95 % Wilson score interval of a share of `outside` in `counted` trials.
struct Interval {
    double low = 0, high = 0;
};
Interval wilsonInterval(int outside, int counted);

// The first-order share of the variance of y that x explains, Var(E[y | x]) / Var(y), estimated from
// paired values: the pairs sorted by x fall into about sqrt(n) bins of equal count (at most 50), and the
// spread of the bins' means is corrected for the noise that bins of finitely many values add. Nothing
// when y does not vary or there are fewer than 4 pairs; 0 when x does not vary.
std::optional<double> firstOrderShare(std::span<const double> x, std::span<const double> y);

}  // namespace veltrano
