#include "core/model/FlowNetwork.h"

#include <algorithm>

namespace veltrano {

void ShootingStatistics::record(int solvePasses, bool converged) {
    ++solves;
    passes += solvePasses;
    maxPasses = std::max(maxPasses, solvePasses);
    if (!converged) ++unconvergedSolves;
}

void ShootingStatistics::merge(const ShootingStatistics& other) {
    solves += other.solves;
    passes += other.passes;
    maxPasses = std::max(maxPasses, other.maxPasses);
    unconvergedSolves += other.unconvergedSolves;
}

FlowState porousSegment(const PowerLaw& wall, const PowerLaw& axial, double L, FlowState s, double d) {
    const double h = L * 0.001 / kPorousSteps;
    for (int step = 0; step < kPorousSteps; ++step) midpointStep(wall, axial, d, h, s.v, s.p);
    return s;
}

namespace {

FlowState solid(const PowerLaw& law, double L, FlowState s) {
    return solidSegment(law.k, law.n, L, s.v, s.p);
}

void store(Stations& v, Stations& p, int station, FlowState s) {
    v[static_cast<std::size_t>(station)] = s.v;
    p[static_cast<std::size_t>(station)] = s.p;
}

}  // namespace

int solveClosed(const DesignValues& d, Stations& v, Stations& p, ShootingStatistics* stats) {
    const PowerLaw filter{d.fi_k, d.fi_n}, rod{d.ro_k, d.ro_n}, paper{d.cp_k, d.cp_n};
    const double rodUnderTipping = d.tp_width - d.fi_len;
    const double porousRod = d.ci_len - d.tp_width;
    const auto pass = [&](Stations& vs, Stations& ps) {
        store(vs, ps, 3, solid(filter, d.fi_len, {vs[0], ps[0]}));
        store(vs, ps, 4, solid(rod, rodUnderTipping, {vs[3], ps[3]}));
        store(vs, ps, 5, porousSegment(paper, rod, porousRod, {vs[4], ps[4]}, d.fi_diam));
    };
    return shootMouthSuction(v, p, pass, stats);
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
        store(vs, ps, 2, porousSegment(net.zone, net.filter, net.zoneWidth, {vs[1], ps[1]}, net.d));
        store(vs, ps, 3, solid(net.filter, net.afterZone, {vs[2], ps[2]}));
        store(vs, ps, 4, solid(net.rod, net.rodUnderTipping, {vs[3], ps[3]}));
        store(vs, ps, 5, porousSegment(net.paper, net.rod, net.porousRod, {vs[4], ps[4]}, net.d));
        if (net.withCoal) store(vs, ps, 5, solid(net.coal, net.coalLength, {vs[5], ps[5]}));
    };
    return shootMouthSuction(v, p, pass, stats);
}

int solveOpen(const DesignValues& d, Stations& v, Stations& p, int solverType, ShootingStatistics* stats) {
    return solveOpen(openNetwork(d, solverType), v, p, stats);
}

}  // namespace veltrano
