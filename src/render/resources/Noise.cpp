#include "render/resources/Noise.h"

#include <cmath>

#include "core/design/NumberText.h"

namespace veltrano::noise {

namespace {

std::uint32_t mix(std::uint32_t h) {
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

double fade(double t) {
    return t * t * (3.0 - 2.0 * t);
}

}  // namespace

double lattice(int x, int y, std::uint32_t seed) {
    const std::uint32_t h =
        mix(static_cast<std::uint32_t>(x) * 0x9e3779b1U ^ mix(static_cast<std::uint32_t>(y) + seed));
    return static_cast<double>(h >> 8) / 16777216.0;
}

double smooth(double x, double y, double cellX, double cellY, std::uint32_t seed) {
    const double u = x / cellX, v = y / cellY;
    const double fu = std::floor(u), fv = std::floor(v);
    const int ix = checkedToInt(fu), iy = checkedToInt(fv);
    const double tx = fade(u - fu), ty = fade(v - fv);
    const double top = lattice(ix, iy, seed) + (lattice(ix + 1, iy, seed) - lattice(ix, iy, seed)) * tx;
    const double bottom =
        lattice(ix, iy + 1, seed) + (lattice(ix + 1, iy + 1, seed) - lattice(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

std::uint64_t Random::next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

double Random::unit() {
    return static_cast<double>(next() >> 11) / 9007199254740992.0;
}

double Random::between(double low, double high) {
    return low + (high - low) * unit();
}

int Random::below(int n) {
    return static_cast<int>(next() % static_cast<std::uint64_t>(n));
}

}  // namespace veltrano::noise
