#include "core/model/PuffSimulation.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/design/NumberText.h"
#include "core/model/Characteristics.h"
#include "core/model/StationaryFlow.h"

namespace veltrano {

namespace {

inline constexpr int kLastEntry = kTableSamples - 1;

// S · (2/398)/3/35, written as the constant it evaluates to in the earlier versions.
inline constexpr double kIsoNormalisation = 4.7858339315625756e-05;

double simpsonSum(std::span<const double> y) {
    double sum = 0;
    for (std::size_t m = 0; m + 2 < static_cast<std::size_t>(kCurveSamples); m += 2) {
        sum += y[m] + 4 * y[m + 1] + y[m + 2];
    }
    return sum;
}

int solverTypeFor(PuffRegime regime) {
    switch (regime) {
        case kIsoRegime:
            return kNoCoalIso;
        case kFirstPuffRegime:
            return kFirstPuffCoal;
        case kLaterPuffRegime:
            return kLaterPuffCoal;
        default:
            return kNoCoal;
    }
}

double duration(const DesignValues& d, PuffRegime regime) {
    return regime == kIsoRegime ? 2 : d.alt_duration;
}

}  // namespace

double integrateOverPuff(std::span<const double> y, double puffDuration) {
    return puffDuration / 398 / 3 * simpsonSum(y);
}

void fillPuffFlow(const DesignValues& d, PuffRegime regime, std::span<double> flow) {
    double scale;
    if (regime == kIsoRegime) {
        for (int i = 0; i < kCurveSamples; ++i) flow[i] = std::fabs(std::sin(kPi * i / 399)) * kIsoPeakFlow;
        scale = simpsonSum(flow) * kIsoNormalisation;
    } else {
        // The shape's N points span the puff; the 400 samples interpolate between them.
        const int n = d.profilePointCount();
        const auto& shape = d.alt_profile;
        for (int i = 0; i < kCurveSamples; ++i) {
            const double b = static_cast<double>((n - 1) * i) / 399;
            const int j = std::clamp(checkedFloorToInt(b), 0, n - 1);
            const double f = b - j;
            const double relative = j == n - 1 ? shape[j] : (1 - f) * shape[j] + f * shape[j + 1];
            flow[i] = std::fabs(relative * d.alt_volume);
        }
        scale = simpsonSum(flow) * (d.alt_duration / 398) / (3 * d.alt_volume);
    }
    for (double& y : flow) y = y / scale;
}

void fillFlowTable(const DesignValues& d, PuffRegime regime, std::span<const double> puffFlow,
                   const FlowTableView& table, ShootingStatistics* stats) {
    double peak = kIsoPeakFlow;
    if (regime != kIsoRegime) {
        peak = 2.0;
        for (double q : puffFlow) {
            if (q > peak) peak = q;
        }
    }
    const double area = kPi * d.fi_diam * d.fi_diam / 4;
    // The velocity grid: -0.05 m/s, 1 ml/s (off the line of the other entries), then up to 1.03 times the
    // peak flow.
    std::array<double, kTableSamples> grid;
    grid[0] = -0.05;
    grid[1] = 1 / area;
    for (int k = 2; k <= kLastEntry; ++k) grid[k] = 1 / area + k / 199.0 * (1.03 * peak / area - 1 / area);

    OpenNetwork net = openNetwork(d, solverTypeFor(regime));
    // Ventilation blocking of the alternative regime closes part of the perforation.
    if (regime != kIsoRegime) net.zone.k = d.tp_k * (100 - d.alt_blocking) / 100;

    Stations v{}, p{};
    const auto store = [&](int k) {
        table.fivent[k] = (v[1] - v[2]) / v[0] * 100;
        table.rovent[k] = (v[4] - v[5]) / v[0] * 100;
        table.pdo[k] = p[0] / kPaPerMmH2O;
        table.pvent[k] = p[2] / kPaPerMmH2O;
        table.pfilt[k] = p[3] / kPaPerMmH2O;
    };
    v[0] = grid[1];
    p[0] = openStartSuction(d) * (1 / area) / 0.35;
    solveOpen(net, v, p, stats);
    store(0);
    store(1);
    // Each entry starts from the extrapolation of the two before it.
    double last = p[0], beforeLast = p[0];
    for (int k = 2; k <= kLastEntry; ++k) {
        v[0] = grid[k];
        p[0] = last + 1.02 * (last - beforeLast);
        solveOpen(net, v, p, stats);
        store(k);
        beforeLast = last;
        last = p[0];
    }
    for (int k = 0; k <= kLastEntry; ++k) table.flow[k] = grid[k] * area;
}

PuffAverages fillPuffCurves(const DesignValues& d, PuffRegime regime, const FlowTableView& table,
                            const PuffCurveView& curves) {
    // The lookup treats the table as evenly spaced from entry 1 to entry 199.
    const auto& x = table.flow;
    const double spacing = (x[kLastEntry] - x[1]) / 198;
    for (int i = 0; i < kCurveSamples; ++i) {
        const double q = curves.flow[i];
        double t = (q - x[1]) / spacing + 1;
        if (t < 0) t = 0;
        if (t > kLastEntry) t = kLastEntry;
        const int j = std::clamp(checkedFloorToInt(t), 0, kLastEntry);
        const double f = t - j;
        const auto at = [&](std::span<const double> tab) {
            return j == kLastEntry ? tab[kLastEntry] : (1 - f) * tab[j] + f * tab[j + 1];
        };
        curves.fivent[i] = at(table.fivent) * q / 100;
        curves.rovent[i] = at(table.rovent) * q / 100;
        curves.pdo[i] = at(table.pdo);
        curves.pvent[i] = at(table.pvent);
        curves.pfilt[i] = at(table.pfilt);
    }
    const double T = duration(d, regime);
    const double fivent = integrateOverPuff(curves.fivent, T);
    const double rovent = integrateOverPuff(curves.rovent, T);
    const double pdo = integrateOverPuff(curves.pdo, T);
    if (regime == kIsoRegime) return {100 * fivent / 35, 100 * rovent / 35, pdo / 2};
    return {100 * fivent / d.alt_volume, 100 * rovent / d.alt_volume, pdo / d.alt_duration};
}

FlowTableView flowTableOf(CigaretteDesign& d, PuffRegime regime) {
    if (regime == kIsoRegime) {
        return {d.iso_tab_flow, d.iso_tab_fivent, d.iso_tab_rovent,
                d.iso_tab_pdo,  d.iso_tab_pvent,  d.iso_tab_pfilt};
    }
    return {d.alt_tab_flow, d.alt_tab_fivent, d.alt_tab_rovent,
            d.alt_tab_pdo,  d.alt_tab_pvent,  d.alt_tab_pfilt};
}

PuffCurveView puffCurvesOf(CigaretteDesign& d, PuffRegime regime) {
    if (regime == kIsoRegime) {
        return {d.iso_prof_flow, d.iso_prof_fivent, d.iso_prof_rovent,
                d.iso_prof_pdo,  d.iso_prof_pvent,  d.iso_prof_pfilt};
    }
    return {d.alt_prof_flow, d.alt_prof_fivent, d.alt_prof_rovent,
            d.alt_prof_pdo,  d.alt_prof_pvent,  d.alt_prof_pfilt};
}

std::span<double> puffFlowOf(CigaretteDesign& d, PuffRegime regime) {
    return regime == kIsoRegime ? std::span<double>(d.iso_prof_flow) : std::span<double>(d.alt_prof_flow);
}

void storePuffAverages(DesignValues& d, PuffRegime regime, const PuffAverages& averages) {
    if (regime == kIsoRegime) {
        d.iso_fivent = averages.fivent;
        d.iso_rovent = averages.rovent;
        d.iso_pdo = averages.pdo;
    } else {
        d.alt_fivent = averages.fivent;
        d.alt_rovent = averages.rovent;
        d.alt_pdo = averages.pdo;
    }
}

void ensureModelArrays(CigaretteDesign& d) {
    if (d.hasArrays()) return;
    for (const OwnedArray& a : ownedArrays()) (d.*a.member).assign(static_cast<std::size_t>(a.count), 0.0);
}

void buildPuffProfile(CigaretteDesign& d, PuffRegime regime) {
    if (d.hasArrays()) fillPuffFlow(d, regime, puffFlowOf(d, regime));
}

void buildFlowTable(CigaretteDesign& d, PuffRegime regime, ShootingStatistics* stats) {
    if (d.hasArrays()) fillFlowTable(d, regime, puffFlowOf(d, regime), flowTableOf(d, regime), stats);
}

void integratePuff(CigaretteDesign& d, PuffRegime regime) {
    if (!d.hasArrays()) return;
    storePuffAverages(d, regime, fillPuffCurves(d, regime, flowTableOf(d, regime), puffCurvesOf(d, regime)));
}

}  // namespace veltrano
