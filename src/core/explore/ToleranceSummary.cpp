#include "core/explore/ToleranceSummary.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace veltrano {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The mean taken about the first value: exact when every value is the same, and free of the
// cancellation a plain sum of large values suffers.
double meanOf(std::span<const double> values) {
    double shifted = 0;
    for (double v : values) shifted += v - values.front();
    return values.front() + shifted / static_cast<double>(values.size());
}

// Type 7 quantile of sorted values.
double quantile(std::span<const double> sorted, double p) {
    const double h = static_cast<double>(sorted.size() - 1) * p;
    const auto j = static_cast<std::size_t>(h);
    if (j + 1 >= sorted.size()) return sorted.back();
    return sorted[j] + (h - static_cast<double>(j)) * (sorted[j + 1] - sorted[j]);
}

}  // namespace

OutputStatistics outputStatistics(std::vector<double> values) {
    if (values.empty()) return {kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN};
    OutputStatistics s;
    s.mean = meanOf(values);
    double squares = 0;
    for (double v : values) squares += (v - s.mean) * (v - s.mean);
    s.sd = values.size() > 1 ? std::sqrt(squares / static_cast<double>(values.size() - 1)) : kNaN;
    std::sort(values.begin(), values.end());
    s.p5 = quantile(values, 0.05);
    s.p50 = quantile(values, 0.5);
    s.p95 = quantile(values, 0.95);
    s.min = values.front();
    s.max = values.back();
    return s;
}

Interval wilsonInterval(int outside, int counted) {
    if (counted <= 0) return {kNaN, kNaN};
    constexpr double z = 1.959963984540054;  // the normal 97.5 % point
    const double n = counted, p = outside / n, z2 = z * z;
    const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
    const double half = z / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
    // At no or every sample outside the interval reaches 0 or 1 exactly, which rounding would miss.
    return {outside == 0 ? 0.0 : std::max(0.0, centre - half),
            outside == counted ? 1.0 : std::min(1.0, centre + half)};
}

std::optional<double> firstOrderShare(std::span<const double> x, std::span<const double> y) {
    const std::size_t n = y.size();
    if (n < 4) return std::nullopt;
    const double yMean = meanOf(y);
    double total = 0;
    for (double v : y) total += (v - yMean) * (v - yMean);
    if (!(total > 0)) return std::nullopt;
    if (std::all_of(x.begin(), x.end(), [&](double v) { return v == x.front(); })) return 0.0;
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return x[a] < x[b]; });
    const std::size_t bins = std::clamp<std::size_t>(
        static_cast<std::size_t>(std::lround(std::sqrt(static_cast<double>(n)))), 2, 50);
    double between = 0, within = 0;
    std::vector<double> bin;
    for (std::size_t b = 0; b < bins; ++b) {
        bin.clear();
        for (std::size_t k = b * n / bins; k < (b + 1) * n / bins; ++k) bin.push_back(y[order[k]]);
        const double binMean = meanOf(bin);
        between += static_cast<double>(bin.size()) * (binMean - yMean) * (binMean - yMean);
        for (double v : bin) within += (v - binMean) * (v - binMean);
    }
    // Bins of finitely many values scatter their means by the noise within them: (bins - 1) times the
    // within-bin variance, on average, where x explains nothing.
    const double noise = static_cast<double>(bins - 1) * within / static_cast<double>(n - bins);
    return std::clamp((between - noise) / total, 0.0, 1.0);
}

ToleranceSummary summariseTolerance(const ToleranceSetup& setup, std::span<const ToleranceSample> samples) {
    ToleranceSummary summary;
    summary.samples = static_cast<int>(samples.size());
    for (const ToleranceSample& s : samples) {
        if (!s.refused) continue;
        ++summary.refused;
        auto same = std::find_if(summary.refusals.begin(), summary.refusals.end(),
                                 [&](const Refusal& r) { return r.errors == s.errors; });
        if (same == summary.refusals.end()) same = summary.refusals.insert(same, Refusal{s.errors, 0});
        ++same->samples;
    }
    for (std::size_t o = 0; o < setup.outputs.size(); ++o) {
        std::vector<double> values;
        std::vector<std::vector<double>> drawn(setup.inputs.size());
        for (const ToleranceSample& s : samples) {
            if (s.refused || std::isnan(s.outputs[o])) continue;
            values.push_back(s.outputs[o]);
            for (std::size_t k = 0; k < drawn.size(); ++k) drawn[k].push_back(s.drawn[k]);
        }
        std::vector<std::optional<double>> shares;
        for (const std::vector<double>& x : drawn) shares.push_back(firstOrderShare(x, values));
        summary.shares.push_back(std::move(shares));
        summary.outputs.push_back(outputStatistics(std::move(values)));
    }
    for (const OutputLimit& limit : setup.limits) {
        const auto o = static_cast<std::size_t>(
            std::find(setup.outputs.begin(), setup.outputs.end(), limit.output) - setup.outputs.begin());
        LimitShare share{limit, 0, 0, kNaN, kNaN, kNaN};
        for (const ToleranceSample& s : samples) {
            if (s.refused) continue;
            ++share.counted;
            if (isOutside(limit, s.outputs[o])) ++share.outside;
        }
        if (share.counted > 0) share.share = static_cast<double>(share.outside) / share.counted;
        const Interval interval = wilsonInterval(share.outside, share.counted);
        share.low = interval.low;
        share.high = interval.high;
        summary.limits.push_back(share);
    }
    return summary;
}

}  // namespace veltrano
