#include "core/model/StationaryFlow.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "core/design/NumberText.h"
#include "core/model/Characteristics.h"

namespace veltrano {

namespace {

inline constexpr int kProfileSteps = 1000;

// Fills a suction and a flow profile front to back; never writes past their ends.
class ProfileWriter {
public:
    ProfileWriter(std::vector<double>& pressure, std::vector<double>& flow)
        : pressure_(pressure), flow_(flow) {}
    void add(FlowState s) {
        if (next_ >= pressure_.size() || next_ >= flow_.size()) return;
        pressure_[next_] = s.p;
        flow_[next_] = s.v;
        ++next_;
    }
    // Flows to ml/s, suctions to mmH2O.
    void convert(double crossSection) {
        for (double& v : flow_) v = v * crossSection;
        for (double& p : pressure_) p = p / kPaPerMmH2O;
    }

private:
    std::vector<double>& pressure_;
    std::vector<double>& flow_;
    std::size_t next_ = 0;
};

// The samples of a segment: trunc(length / ci_len · 300), never more than are left.
int sampleCount(double length, double cigaretteLength, int remaining) {
    return std::clamp(checkedToInt(length / cigaretteLength * kProfileSamples), 0, remaining);
}

// A segment without side inflow: the flow of the segment and the suction falling linearly from its start.
void sampleSolid(const PowerLaw& law, double L, FlowState start, int count, ProfileWriter& out) {
    const double sign = start.v > 0 ? 1 : (start.v < 0 ? -1 : 0);
    for (int i = 0; i < count; ++i) {
        out.add(
            {start.v, start.p - sign * law.k * power(std::fabs(start.v), law.n) * (L * 0.001 / count) * i});
    }
}

// A porous segment integrated again in 1000 finer steps; a sample is taken after each step that carries
// the covered length beyond one sample spacing. Samples that do not come repeat the last one taken (or
// the start values when none was taken). `wallAt(step)` gives the wall law of each step.
template <class WallAt>
void samplePorous(const WallAt& wallAt, const PowerLaw& axial, double d, double L, FlowState start, int count,
                  ProfileWriter& out) {
    if (count <= 0) return;
    const double h = L * 0.001 / kProfileSteps;
    const double spacing = L * 0.001 / count;
    double covered = 0;
    int taken = 0;
    FlowState s = start, last = start;
    for (int step = 0; step < kProfileSteps && taken < count; ++step) {
        midpointStep(wallAt(step), axial, d, h, s.v, s.p);
        covered += h;
        if (covered > spacing) {
            out.add(s);
            last = s;
            ++taken;
            covered -= spacing;
        }
    }
    for (; taken < count; ++taken) out.add(last);
}

// The porous rod: plain paper, or banded paper whose wall law changes with the first step that ends
// beyond a band boundary. The first band starts at `cp_bandspace` (below 3 mm) or a third of it; bands
// of `cp_bandwidth` and plain stretches of `cp_bandspace` follow. Bands and spaces are at least 1 mm in
// any design the editor accepts, so a step passes at most one boundary; the crossings are capped so that
// stretches of no length cannot hold a step forever.
void sampleRod(const DesignValues& d, double L, FlowState start, int count, ProfileWriter& out) {
    const PowerLaw rod{d.ro_k, d.ro_n};
    if (d.cp_lip != 1) {
        const PowerLaw paper{d.cp_k, d.cp_n};
        samplePorous([&](int) -> const PowerLaw& { return paper; }, rod, d.fi_diam, L, start, count, out);
        return;
    }
    const PowerLaw plain{wallCoefficient(d.cp_perm, d.cp_exponent), d.cp_exponent};
    const PowerLaw band{wallCoefficient(d.cp_bandperm, 1.0), 1.0};
    bool inBand = false;
    double boundary = d.cp_bandspace < 3 ? d.cp_bandspace : d.cp_bandspace / 3;
    int crossings = 0;
    const auto wallAt = [&](int step) -> const PowerLaw& {
        const double end = (step + 1) * L / kProfileSteps;  // mm from the segment start
        while (end > boundary && crossings < 2 * kProfileSteps) {
            inBand = !inBand;
            boundary += inBand ? d.cp_bandwidth : d.cp_bandspace;
            ++crossings;
        }
        return inBand ? band : plain;
    };
    samplePorous(wallAt, rod, d.fi_diam, L, start, count, out);
}

FlowState station(const Stations& v, const Stations& p, int i) {
    return {v[static_cast<std::size_t>(i)], p[static_cast<std::size_t>(i)]};
}

void closedProfiles(CigaretteDesign& d, const Stations& v, const Stations& p) {
    ProfileWriter out(d.stat_pres_closed, d.stat_flow_closed);
    const double rodUnderTipping = d.tp_width - d.fi_len;
    int left = kProfileSamples;
    const int filterCount = sampleCount(d.fi_len, d.ci_len, left);
    left -= filterCount;
    const int rodCount = sampleCount(rodUnderTipping, d.ci_len, left);
    left -= rodCount;
    sampleSolid({d.fi_k, d.fi_n}, d.fi_len, station(v, p, 0), filterCount, out);
    sampleSolid({d.ro_k, d.ro_n}, rodUnderTipping, station(v, p, 3), rodCount, out);
    sampleRod(d, d.ci_len - d.tp_width, station(v, p, 4), left, out);
    out.convert(kPi * d.fi_diam * d.fi_diam / 4);
}

void openProfiles(CigaretteDesign& d, const Stations& v, const Stations& p) {
    ProfileWriter out(d.stat_pres_open, d.stat_flow_open);
    const OpenNetwork net = openNetwork(d, kNoCoalIso);
    const double lengths[4] = {net.beforeZone, net.zoneWidth, net.afterZone, net.rodUnderTipping};
    int counts[4];
    int left = kProfileSamples;
    for (int i = 0; i < 4; ++i) {
        counts[i] = sampleCount(lengths[i], d.ci_len, left);
        left -= counts[i];
    }
    sampleSolid(net.filter, net.beforeZone, station(v, p, 0), counts[0], out);
    samplePorous([&](int) -> const PowerLaw& { return net.zone; }, net.filter, d.fi_diam, net.zoneWidth,
                 station(v, p, 1), counts[1], out);
    sampleSolid(net.filter, net.afterZone, station(v, p, 2), counts[2], out);
    sampleSolid(net.rod, net.rodUnderTipping, station(v, p, 3), counts[3], out);
    sampleRod(d, net.porousRod, station(v, p, 4), left, out);
    out.convert(kPi * d.fi_diam * d.fi_diam / 4);
}

// Pressure drop terms (Pa) of the first guesses: the rod, relieved by a permeable paper, and the parts of
// the filter behind and in front of the perforation.
double rodStartTerm(const DesignValues& d) {
    return (1 - d.cp_perm / 500) * d.ro_pd * kPaPerMmH2O;
}
double filterBehindZone(const DesignValues& d) {
    return (d.fi_len - d.tp_perfopos) / d.fi_len * d.fi_pd * kPaPerMmH2O;
}
double filterBeforeZone(const DesignValues& d) {
    return d.tp_perfopos / d.fi_len * d.fi_pd * kPaPerMmH2O;
}

}  // namespace

double openStartSuction(const DesignValues& d) {
    return (1 - std::sqrt(std::fabs(d.tp_perfoperm)) / 100) * (rodStartTerm(d) + filterBehindZone(d)) +
           filterBeforeZone(d);
}

void computeStationaryFlow(CigaretteDesign& d, int mode, const ModelParameters& mp,
                           ShootingStatistics* stats) {
    computePerforationCoefficients(d, mp);
    computeFilterCoefficients(d);
    computePaperCoefficients(d);
    computeRodCoefficients(d);
    const bool profiles = mode == kWithProfiles && d.hasArrays();

    const double v0 = standardVelocity(d.fi_diam);
    Stations v{}, p{};
    v[0] = v0;
    p[0] = rodStartTerm(d) + d.fi_pd * kPaPerMmH2O;
    solveClosed(d, v, p, stats);
    d.stat_pdc = p[0] / kPaPerMmH2O;
    if (profiles) closedProfiles(d, v, p);

    if (d.tp_perfotype == kNoPerforation) {
        d.stat_pdo = d.stat_pdc;
        d.stat_fivent = 0;
        d.stat_rovent = (v[4] - v[5]) / v0 * 100;
        if (profiles) {
            d.stat_pres_open = d.stat_pres_closed;
            d.stat_flow_open = d.stat_flow_closed;
        }
        return;
    }

    Stations vo{}, po{};
    vo[0] = v0;
    po[0] = openStartSuction(d);
    solveOpen(d, vo, po, kNoCoalIso, stats);
    // For online perforation the fitted permeability stands for the target itself.
    d.stat_fivent = d.tp_perfotype == kOnlineLaser ? d.tp_onlinevent : (vo[1] - vo[2]) / v0 * 100;
    d.stat_rovent = (vo[4] - vo[5]) / v0 * 100;
    d.stat_pdo = po[0] / kPaPerMmH2O;
    if (profiles) openProfiles(d, vo, po);
}

void fitOnlinePerforation(DesignValues& d, const ModelParameters& mp, ErrorReporter& errors,
                          ShootingStatistics* stats) {
    if (d.tp_perfotype != kOnlineLaser) return;
    DesignValues trialDesign = d;
    computePaperCoefficients(trialDesign);
    computeFilterCoefficients(trialDesign);
    computeRodCoefficients(trialDesign);

    const double target = d.tp_onlinevent;
    const double v0 = standardVelocity(trialDesign.fi_diam);
    const double start = (rodStartTerm(trialDesign) + filterBehindZone(trialDesign)) * (100 - target) / 100 +
                         filterBeforeZone(trialDesign);
    const auto ventilationAt = [&](double permeability) {
        trialDesign.tp_perfoperm = permeability;
        computePerforationCoefficients(trialDesign, mp);
        Stations v{}, p{};
        v[0] = v0;
        p[0] = start;
        solveOpen(trialDesign, v, p, kNoCoalIso, stats);
        return (v[1] - v[2]) / v0 * 100;
    };

    const double maximum = ventilationAt(8000);
    if (target > maximum) {
        d.tp_perfoperm = 8000;
        d.tp_onlinevent = maximum;
        ReportError(errors, kErrorTargetVentilationOutOfReach);
        return;
    }
    double lowCu = 0, lowVent = 0, highCu = 8000, highVent = maximum;
    for (int trial = 1;; ++trial) {
        const double permeability = interpolateLinear(lowCu, lowVent, highCu, highVent, target);
        const double ventilation = ventilationAt(permeability);
        if (target > ventilation) {
            lowCu = permeability;
            lowVent = ventilation;
        } else {
            highCu = permeability;
            highVent = ventilation;
        }
        if (trial >= 500) {
            ReportError(errors, kErrorNoVentilationParameters);
            break;
        }
        if (std::fabs(ventilation - target) <= 0.01) break;
    }
    d.tp_perfoperm = interpolateLinear(lowCu, lowVent, highCu, highVent, target);
}

}  // namespace veltrano
