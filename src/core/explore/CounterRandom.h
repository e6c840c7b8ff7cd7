#pragma once

#include <cstdint>

namespace veltrano {

// Random numbers that depend only on a seed and a counter, never on a sequence: draw (sample, stream)
// is the same number whichever thread makes it, in whatever order, in one run or in shards. Everything
// below uses only integer arithmetic, + - * / and sqrt, which IEEE 754 makes exact to the bit, so the
// draws are the same with every compiler and standard library.

// A uniform number in the open interval (0, 1), of 53 random bits: a SplitMix64-style mix of the seed,
// then of the sample and the stream (each input of a tolerance run has a stream of its own).
double uniformDraw(std::uint64_t seed, std::uint64_t sample, std::uint64_t stream);

// The standard normal quantile of u in (0, 1) (the value a standard normal variable stays below with
// probability u): Acklam's rational approximation (relative error below 1.2e-9) with a natural
// logarithm of our own in the tails. Drawing u uniformly gives a standard normal draw.
double standardNormalQuantile(double u);

// The natural logarithm of a positive finite x, from the exact split into mantissa and exponent and a
// series, good to a few units in the last place.
double portableLog(double x);

}  // namespace veltrano
