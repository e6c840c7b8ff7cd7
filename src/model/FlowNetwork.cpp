#include "model/FlowNetwork.h"

#include <algorithm>

#include "model/Characteristics.h"

namespace veltrano {

void ShootingStatistics::record(int solvePasses, bool capped) {
    ++solves;
    passes += solvePasses;
    maxPasses = std::max(maxPasses, solvePasses);
    if (capped) ++cappedSolves;
}

void ShootingStatistics::merge(const ShootingStatistics& other) {
    solves += other.solves;
    passes += other.passes;
    maxPasses = std::max(maxPasses, other.maxPasses);
    cappedSolves += other.cappedSolves;
}

namespace {

FlowState porous(const PowerLaw& wall, const PowerLaw& axial, double L, FlowState s, double d) {
    const double h = L * 0.001 / kPorousSteps;
    for (int step = 0; step < kPorousSteps; ++step) midpointStep(wall, axial, d, h, s.v, s.p);
    return s;
}

FlowState solid(const PowerLaw& law, double L, FlowState s) { return solidSegment(law.k, law.n, L, s.v, s.p); }

void store(Stations& v, Stations& p, int station, FlowState s) {
    v[static_cast<std::size_t>(station)] = s.v;
    p[static_cast<std::size_t>(station)] = s.p;
}

// Shooting on the mouth suction p[0] until the lit end is within 1 Pa of the atmosphere. Bounds exist
// only while they are above 0; the secant runs through the latest point on each side.
template <class Pass>
int shoot(Stations& v, Stations& p, const Pass& pass, ShootingStatistics* stats) {
    double lowP = -1, highP = -1, lowR = 0, highR = 0;
    bool lowSeen = false, highSeen = false;
    int passes = 0;
    bool capped = false;
    for (;;) {
        pass(v, p);
        ++passes;
        const double r = p[5];
        if (!(std::fabs(r) > 1)) break;
        if (passes >= kMaxShootingPasses) {
            capped = true;
            break;
        }
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
        // A step that leaves p[0] where it was would repeat this pass forever; so would a secant that
        // creeps for hundreds of passes. Halving the known bracket ends both.
        if (lowSeen && highSeen && (p[0] == previous || passes >= kBisectionAfterPasses)) {
            p[0] = (lowP + highP) / 2;
        }
    }
    if (stats) stats->record(passes, capped);
    return passes;
}

}  // namespace

FlowState porousSegment(double kw, double nw, double ka, double na, double L, double v, double p, double d) {
    return porous({kw, nw}, {ka, na}, L, {v, p}, d);
}

int solveClosed(const DesignValues& d, Stations& v, Stations& p, ShootingStatistics* stats) {
    const PowerLaw filter{d.fi_k, d.fi_n}, rod{d.ro_k, d.ro_n}, paper{d.cp_k, d.cp_n};
    const double rodUnderTipping = d.tp_width - d.fi_len;
    const double porousRod = d.ci_len - d.tp_width;
    const auto pass = [&](Stations& vs, Stations& ps) {
        store(vs, ps, 3, solid(filter, d.fi_len, {vs[0], ps[0]}));
        store(vs, ps, 4, solid(rod, rodUnderTipping, {vs[3], ps[3]}));
        store(vs, ps, 5, porous(paper, rod, porousRod, {vs[4], ps[4]}, d.fi_diam));
    };
    return shoot(v, p, pass, stats);
}

OpenNetwork openNetwork(const DesignValues& d, int solverType) {
    OpenNetwork net;
    net.filter = {d.fi_k, d.fi_n};
    net.rod = {d.ro_k, d.ro_n};
    net.paper = {d.cp_k, d.cp_n};
    net.zone = {d.tp_k, d.tp_n};
    net.d = d.fi_diam;
    net.beforeZone = d.tp_perfopos - d.tp_perfowidth * 0.5;
    net.zoneWidth = d.tp_perfowidth;
    net.afterZone = d.fi_len - d.tp_perfopos - d.tp_perfowidth * 0.5;
    net.rodUnderTipping = d.tp_width - d.fi_len;
    net.porousRod = d.ci_len - d.tp_width;
    net.coalLength = d.coal_len;
    if (solverType == kFirstPuffCoal) {
        net.withCoal = true;
        net.coal = {d.coal1_k, d.coal1_n};
    } else if (solverType == kLaterPuffCoal) {
        net.withCoal = true;
        net.coal = {d.coal_k, d.coal_n};
    }
    return net;
}

int solveOpen(const OpenNetwork& net, Stations& v, Stations& p, ShootingStatistics* stats) {
    const auto pass = [&](Stations& vs, Stations& ps) {
        store(vs, ps, 1, solid(net.filter, net.beforeZone, {vs[0], ps[0]}));
        store(vs, ps, 2, porous(net.zone, net.filter, net.zoneWidth, {vs[1], ps[1]}, net.d));
        store(vs, ps, 3, solid(net.filter, net.afterZone, {vs[2], ps[2]}));
        store(vs, ps, 4, solid(net.rod, net.rodUnderTipping, {vs[3], ps[3]}));
        store(vs, ps, 5, porous(net.paper, net.rod, net.porousRod, {vs[4], ps[4]}, net.d));
        if (net.withCoal) store(vs, ps, 5, solid(net.coal, net.coalLength, {vs[5], ps[5]}));
    };
    return shoot(v, p, pass, stats);
}

int solveOpen(const DesignValues& d, Stations& v, Stations& p, int solverType, ShootingStatistics* stats) {
    return solveOpen(openNetwork(d, solverType), v, p, stats);
}

}  // namespace veltrano
