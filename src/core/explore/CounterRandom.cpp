#include "core/explore/CounterRandom.h"

#include <cmath>

namespace veltrano {

namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15u;

// The finaliser of SplitMix64: every input bit moves about half the output bits.
std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

}  // namespace

double uniformDraw(std::uint64_t seed, std::uint64_t sample, std::uint64_t stream) {
    const std::uint64_t key = mix(seed + kGolden);
    const std::uint64_t bits = mix(mix(key + sample * kGolden) + (stream + 1) * kGolden);
    // The top 53 bits, centred in their interval: never 0, never 1.
    return (static_cast<double>(bits >> 11) + 0.5) * 0x1.0p-53;
}

double portableLog(double x) {
    int exponent = 0;
    double m = std::frexp(x, &exponent);  // x = m * 2^exponent, m in [0.5, 1)
    if (m < 0.70710678118654752) {
        m *= 2;
        --exponent;
    }
    // ln m = 2 atanh(s), s = (m - 1) / (m + 1), |s| <= 0.1716: the series converges fast.
    const double s = (m - 1) / (m + 1), s2 = s * s;
    double term = s, sum = 0;
    for (int k = 1; k < 40; k += 2) {
        sum += term / k;
        term *= s2;
    }
    constexpr double kLn2 = 0.69314718055994531;
    return 2 * sum + exponent * kLn2;
}

double standardNormalQuantile(double u) {
    static constexpr double a[] = {-3.969683028665376e+01, 2.209460984245205e+02,  -2.759285104469687e+02,
                                   1.383577518672690e+02,  -3.066479806614716e+01, 2.506628277459239e+00};
    static constexpr double b[] = {-5.447609879822406e+01, 1.615858368580409e+02, -1.556989798598866e+02,
                                   6.680131188771972e+01, -1.328068155288572e+01};
    static constexpr double c[] = {-7.784894002430293e-03, -3.223964580411365e-01, -2.400758277161838e+00,
                                   -2.549732539343734e+00, 4.374664141464968e+00,  2.938163982698783e+00};
    static constexpr double d[] = {7.784695709041462e-03, 3.224671290700398e-01, 2.445134137142996e+00,
                                   3.754408661907416e+00};
    constexpr double kLow = 0.02425;
    const auto tail = [&](double p) {  // the lower tail, p in (0, kLow)
        const double q = std::sqrt(-2 * portableLog(p));
        return (((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
               ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1);
    };
    if (u < kLow) return tail(u);
    if (u > 1 - kLow) return -tail(1 - u);
    const double q = u - 0.5, r = q * q;
    return (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
           (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1);
}

}  // namespace veltrano
