#pragma once

#include <cstdint>

namespace veltrano::noise {

// Deterministic noise for the generated pictures: the same seed gives the same picture on every
// platform (no std distributions, whose output differs between standard libraries).

// A well-mixed hash of a lattice point, in [0, 1).
double lattice(int x, int y, std::uint32_t seed);

// Value noise: lattice values on cells of cellX × cellY pixels, blended smoothly, in [0, 1).
double smooth(double x, double y, double cellX, double cellY, std::uint32_t seed);

// A small seeded generator (splitmix64) for scattering shapes.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    double unit();                            // [0, 1)
    double between(double low, double high);  // [low, high)
    int below(int n);                         // 0 .. n-1, n > 0

private:
    std::uint64_t state_;
};

}  // namespace veltrano::noise
