#pragma once

#include <array>
#include <cmath>

#include "core/design/CigaretteDesign.h"

namespace veltrano {

// The cigarette as a chain of segments from the mouth end (station 0) to the lit end (station 5):
// 1 and 2 edge the ventilation zone, 3 is the filter/rod junction, 4 the end of the tipping paper.
inline constexpr int kStations = 6;
using Stations = std::array<double, kStations>;

// Open-network solver types: 1 and 2 without coal, 3 with the coal of the first puff, 4 with the coal
// of the later puffs.
enum SolverType { kNoCoal = 1, kNoCoalIso = 2, kFirstPuffCoal = 3, kLaterPuffCoal = 4 };

// The shooting loop stops at this many passes whatever the residual. From kBisectionAfterPasses on (or as
// soon as the secant step would repeat the last pass) it halves the bracket instead of the secant step.
// Solves that converge need far fewer passes (at most about 50 in any design the editor accepts); those
// that do not would otherwise run forever.
inline constexpr int kMaxShootingPasses = 1000;
inline constexpr int kBisectionAfterPasses = 100;

// Counts of the shooting loop, summed over the solves of one or more operations.
struct ShootingStatistics {
    long long solves = 0;
    long long passes = 0;
    int maxPasses = 0;                // the most passes a single solve took
    long long unconvergedSolves = 0;  // solves that ended without meeting the 1 Pa tolerance

    void record(int solvePasses, bool converged);
    void merge(const ShootingStatistics& other);
};

// x^e for x >= 0; exact for e == 1 (pow returns x exactly there, so the shortcut changes nothing).
inline double power(double x, double e) {
    return e == 1 ? x : std::pow(x, e);
}

// sign(x)·|x|^e.
inline double signedPower(double x, double e) {
    if (e == 1) return x;
    return x < 0 ? -std::pow(-x, e) : std::pow(x, e);
}

// An axial law (k·|v|^n·L·0.001 Pa over L mm) and a wall law (k·|Δp|^n m/s through the wrapper).
struct PowerLaw {
    double k = 0;
    double n = 1;
};

// Velocity and suction at one end of a segment.
struct FlowState {
    double v = 0;
    double p = 0;
};

// The shooting loop on the mouth suction p[0]: runs `pass(v, p)` (which fills stations 1 to 5 from v[0]
// and p[0]) until the lit end is within 1 Pa of the atmosphere, |p[5]| <= 1. Below the residual a bound
// exists only while it is above 0: without an upper bound p[0] grows by 1.2, without a lower one it
// shrinks by 1.2, with both the secant runs through the latest point on each side. Once a sign change
// is known, a step that would leave p[0] where it was, and every step from pass kBisectionAfterPasses
// on, halves the bracket instead. The loop ends at kMaxShootingPasses, or earlier when the next pass
// could only repeat this one (the cap would leave the same stations). The stations of the last pass are
// the result. Returns the passes.
template <class Pass>
int shootMouthSuction(Stations& v, Stations& p, const Pass& pass, ShootingStatistics* stats = nullptr) {
    double lowP = -1, highP = -1, lowR = 0, highR = 0;
    bool lowSeen = false, highSeen = false;
    int passes = 0;
    bool converged = false;
    for (;;) {
        pass(v, p);
        ++passes;
        const double r = p[5];
        if (!(std::fabs(r) > 1)) {  // within tolerance (or not a number: nothing to aim at)
            converged = !std::isnan(r);
            break;
        }
        if (passes >= kMaxShootingPasses) break;
        const double previous = p[0];
        if (r < -1) {
            lowP = p[0];
            lowR = r;
            lowSeen = true;
            if (highP > 0) {
                if (std::fabs(r - highR) > 1e-6) p[0] = (r * highP - highR * lowP) / (r - highR);
            } else {
                p[0] = p[0] * 1.2;
            }
        } else if (r > 1) {
            highP = p[0];
            highR = r;
            highSeen = true;
            if (lowP > 0) {
                if (std::fabs(lowR - r) > 1e-6) p[0] = (lowR * highP - r * lowP) / (lowR - r);
            } else {
                p[0] = p[0] / 1.2;
            }
        }
        if (lowSeen && highSeen && (p[0] == previous || passes >= kBisectionAfterPasses)) {
            p[0] = (lowP + highP) / 2;
        }
        if (p[0] == previous) break;
    }
    if (stats) stats->record(passes, converged);
    return passes;
}

// A segment of L mm without side inflow: the flow stays, the suction drops in the direction of flow.
inline FlowState solidSegment(double k, double n, double L, double v, double p) {
    if (v >= 0) return {v, p - k * power(v, n) * L * 0.001};
    return {v, p + k * power(-v, n) * L * 0.001};
}

// One explicit midpoint step of h metres along a porous segment: the axial law inside, the wall law
// through the wrapper, d the cigarette diameter in mm (3600/d turns wall inflow into axial velocity
// change per metre).
inline void midpointStep(const PowerLaw& wall, const PowerLaw& axial, double d, double h, double& v,
                         double& p) {
    const double vMid = v - signedPower(p, wall.n) * wall.k * (h / 2) * 3600 / d;
    const double pMid = p - signedPower(v, axial.n) * axial.k * (h / 2);
    const double vNew = v - signedPower(pMid, wall.n) * wall.k * h * 3600 / d;
    const double pNew = p - signedPower(vMid, axial.n) * axial.k * h;
    v = vNew;
    p = pNew;
}

inline constexpr int kPorousSteps = 200;

// A porous segment of L mm (its wall's law, its axial law, diameter d mm), integrated from the state at
// its mouth-side end in 200 midpoint steps.
FlowState porousSegment(const PowerLaw& wall, const PowerLaw& axial, double L, FlowState start, double d);

// Solves the closed network (ventilation zone sealed; stations 0, 3, 4, 5). v[0] is the mouth velocity,
// p[0] the first guess of the mouth suction; on return p[0] is the solved suction and stations 3 to 5
// hold the solution. Returns the number of passes.
int solveClosed(const DesignValues& d, Stations& v, Stations& p, ShootingStatistics* stats = nullptr);

// The same for the open network of the given solver type; all six stations are set.
int solveOpen(const DesignValues& d, Stations& v, Stations& p, int solverType,
              ShootingStatistics* stats = nullptr);

// The open network's segments, taken from a design once and solved many times (a characteristic
// table changes only the mouth velocity and the ventilation coefficient).
struct OpenNetwork {
    PowerLaw filter, rod, paper, zone, coal;
    double d = 0;
    double beforeZone = 0, zoneWidth = 0, afterZone = 0, rodUnderTipping = 0, porousRod = 0, coalLength = 0;
    bool withCoal = false;
};
OpenNetwork openNetwork(const DesignValues& d, int solverType);
int solveOpen(const OpenNetwork& net, Stations& v, Stations& p, ShootingStatistics* stats = nullptr);

}  // namespace veltrano
