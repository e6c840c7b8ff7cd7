#include "core/model/PuffByPuff.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/design/NumberText.h"
#include "core/model/Characteristics.h"
#include "core/model/ParallelTasks.h"
#include "core/model/PuffSimulation.h"

namespace veltrano {

namespace {

// n = ceil(Lc / s): no puffs when that is not a number or below 1, at most kMaxPuffs.
int puffCount(double puffs) {
    const double n = std::ceil(puffs);
    if (!std::isfinite(n) || n < 1) return 0;
    if (n > kMaxPuffs) return kMaxPuffs;
    return checkedToInt(n);
}

// A share of the puff (in %) that cannot be negative: when the ventilations add up to more than 100 %,
// no air passes the coal (and no negative base meets a fractional exponent).
double flowShare(double percent) {
    return percent < 0 ? 0 : percent;
}

// One characteristic table and the curves looked up in it: the scratch space of one thread.
struct PuffScratch {
    std::vector<double> table = std::vector<double>(6 * kTableSamples);
    std::vector<double> curves = std::vector<double>(5 * kCurveSamples);

    FlowTableView tableView() {
        const auto part = [&](int i) {
            return std::span<double>(table).subspan(i * kTableSamples, kTableSamples);
        };
        return {part(0), part(1), part(2), part(3), part(4), part(5)};
    }
    PuffCurveView curveView(std::span<const double> flow) {
        const auto part = [&](int i) {
            return std::span<double>(curves).subspan(i * kCurveSamples, kCurveSamples);
        };
        return {flow, part(0), part(1), part(2), part(3), part(4)};
    }
};

}  // namespace

void setCoalParameters(DesignValues& d, const ModelParameters& mp) {
    const double v0 = standardVelocity(d.fi_diam);
    d.coal_n = mp[kCoalExponent];
    d.coal1_n = mp[kFirstCoalExponent];
    d.coal_len = mp[kCoalLength];
    d.coal_k = mp[kCoalPressureDrop] * kPaPerMmH2O / (power(v0, d.coal_n) * d.coal_len * 0.001);
    d.coal1_k = mp[kFirstCoalPressureDrop] * kPaPerMmH2O / (power(v0, d.coal1_n) * d.coal_len * 0.001);
}

double burningZoneSuction(const DesignValues& t, double f, double r, double vc, bool firstPuff) {
    const double coalK = firstPuff ? t.coal1_k : t.coal_k;
    const double coalN = firstPuff ? t.coal1_n : t.coal_n;
    // The rod term takes the later puffs' coal exponent for every puff.
    return (coalK * power(flowShare(100 - f - r) * vc * 0.01 / 100, coalN) * t.coal_len * 0.001 +
            t.ro_k * power(flowShare(100 - f - r / 2) * vc * 0.01 / 100, t.coal_n) * t.ro_len * 0.5 * 0.001) /
           kPaPerMmH2O;
}

double coEscape(const DesignValues& d, double a, double P, double l, const ModelParameters& mp) {
    double diffusion = d.cp_diff;
    if (d.cp_lip == 1) {
        const double phi = d.cp_bandwidth / (d.cp_bandspace + d.cp_bandwidth);
        diffusion = (1 - phi) * diffusion + phi * d.cp_banddiff;
    }
    // Gas-side transfer and paper diffusion in series, against the air drawn in through the paper.
    const double G = mp[kCoGasTransfer] * 2 / (d.fi_diam / 20);
    const double effective = 1 / (1 / G + 1 / diffusion);
    const double inflow = power(P * kPaPerMmH2O, d.cp_n) * d.cp_k * 100;
    const double x = effective > inflow ? effective - inflow : 0;
    return 1 - std::exp(-2 * x * l / (0.5 * d.fi_diam * a));
}

void simulatePuffs(CigaretteDesign& t, const ModelParameters& mp, ProgressSink& progress,
                   ShootingStatistics* stats, InnerThreads threads) {
    ensureModelArrays(t);
    // The whole cigarette: consumable length and tobacco, volumes through the coal, burn per puff.
    const double Lc = t.ci_len - buttLength(t);
    const double H = Lc * t.ro_totmass / t.ro_totlen;
    const double u = t.iso_puff;
    const double m = t.stat_mbr;
    const double L = (100 - t.iso_fivent - t.iso_rovent) * 35 / 100 * u;
    const double M = (100 - t.alt_fivent - t.alt_rovent) * t.alt_volume / 100;
    const double B = (H - (u - 1) * 58 * m / 60) / L;
    const double lp = B * M * Lc / H;
    const double A = kPi * t.fi_diam * t.fi_diam / 400;
    const double density = t.ro_totmass / (A * t.ro_totlen / 10);
    const double vc = M / t.alt_duration / A;
    const double s = Lc / t.alt_puff;
    const int n = puffCount(Lc / s);

    t.freePuffData();
    if (n == 0) return;
    t.allocatePuffData(n);
    progress.setRange(n);
    progress.setPosition(0);
    progress.setText(formatText("Please wait ... evaluating puff 1/%i.", {static_cast<long long>(n)}));
    progress.show();

    for (int i = 0; i < n; ++i) {
        t.puff_pos[i] = i * s;
        t.puff_size[i] = 10;
    }
    const double lastStart = t.puff_pos[n - 1];
    if (lastStart + lp > Lc)
        t.puff_size[n - 1] = std::max(1, checkedFloorToInt((Lc - lastStart) / lp * 10 + 0.5));
    buildPuffProfile(t, kLaterPuffRegime);

    // Each puff's rod length is known in advance (the rod burns down by s per puff), so the puff tables
    // are independent and run in parallel; the results are taken up in puff order.
    std::vector<double> cigaretteLength(static_cast<std::size_t>(n)), rodLength(static_cast<std::size_t>(n));
    cigaretteLength[0] = t.ci_len;
    rodLength[0] = t.ro_len;
    for (std::size_t i = 1; i < cigaretteLength.size(); ++i) {
        cigaretteLength[i] = cigaretteLength[i - 1] - s;
        rodLength[i] = rodLength[i - 1] - s;
    }
    const DesignValues base = t;
    const std::span<const double> puffFlow = t.alt_prof_flow;
    std::vector<PuffAverages> averages(static_cast<std::size_t>(n));
    std::vector<ShootingStatistics> puffStats(stats ? static_cast<std::size_t>(n) : 0);
    std::vector<PuffScratch> scratch(static_cast<std::size_t>(ParallelTasks::threadsFor(n, threads)));
    ParallelTasks tasks(
        n,
        [&](int i, int thread) {
            const auto puff = static_cast<std::size_t>(i);
            DesignValues values = base;
            values.ci_len = cigaretteLength[puff];
            values.ro_len = rodLength[puff];
            const PuffRegime regime = i == 0 ? kFirstPuffRegime : kLaterPuffRegime;
            PuffScratch& space = scratch[static_cast<std::size_t>(thread)];
            const FlowTableView table = space.tableView();
            fillFlowTable(values, regime, puffFlow, table, stats ? &puffStats[puff] : nullptr);
            averages[puff] = fillPuffCurves(values, regime, table, space.curveView(puffFlow));
        },
        threads);

    double sumTar = 0, sumNicotine = 0, sumCo = 0;
    for (int i = 0; i < n; ++i) {
        progress.setPosition(i);
        progress.setText(formatText("Please wait ... evaluating puff %i/%i.",
                                    {static_cast<long long>(i + 1), static_cast<long long>(n)}));
        tasks.wait(i);
        const bool first = i == 0;
        storePuffAverages(t, first ? kFirstPuffRegime : kLaterPuffRegime,
                          averages[static_cast<std::size_t>(i)]);
        const double f = t.alt_fivent, r = t.alt_rovent, p = t.alt_pdo;

        const double P = burningZoneSuction(t, f, r, vc, first);
        t.puff_fivent[i] = f;
        t.puff_rovent[i] = r;
        t.puff_avgpd[i] = p;
        t.puff_mass[i] = (100 - f - r) * (t.puff_size[i] * B / 10 * M) / 100;
        // Retention of 'tar' and nicotine in the rod still to burn.
        const double tarRetention =
            density < 200
                ? 0
                : 1 - std::exp(-(mp[kTarRetentionSlope] * density + mp[kTarRetentionOffset]) * t.ro_len);
        const double nicotineRetention =
            density < 200
                ? 0
                : 1 - std::exp(-(mp[kNicotineRetentionSlope] * density + mp[kNicotineRetentionOffset]) *
                               t.ro_len);
        t.puff_nfdpm[i] = (1 - tarRetention) * t.puff_mass[i];
        t.puff_nico[i] = (1 - nicotineRetention) * t.puff_mass[i];
        const double escape = coEscape(t, (100 - f - r / 2) * vc / 100, P, t.ci_len - t.tp_width, mp);
        t.puff_co[i] = (1 - escape) * t.puff_mass[i];
        sumTar += t.puff_nfdpm[i];
        sumNicotine += t.puff_nico[i];
        sumCo += t.puff_co[i];
        t.ci_len -= s;
        t.ro_len -= s;
    }
    if (stats) {
        for (const ShootingStatistics& puff : puffStats) stats->merge(puff);
    }

    // Scale to the calibrated totals where the design's yields are measured; a zero sum has nothing to
    // scale.
    const auto scaleTo = [&](std::vector<double>& perPuff, double total, double sum, bool measured) {
        if (!measured || sum == 0) return;
        for (double& x : perPuff) x = x * (total / sum);
    };
    scaleTo(t.puff_nfdpm, t.alt_nfdpm, sumTar, t.isKnown(KnownBit::IsoTar) || t.isKnown(KnownBit::AltTar));
    scaleTo(t.puff_nico, t.alt_nico, sumNicotine,
            t.isKnown(KnownBit::IsoNicotine) || t.isKnown(KnownBit::AltNicotine));
    scaleTo(t.puff_co, t.alt_co, sumCo, t.isKnown(KnownBit::IsoCo) || t.isKnown(KnownBit::AltCo));
    progress.hide();
}

void runPuffByPuff(CigaretteDesign& design, const ModelParameters& mp, ProgressSink& progress,
                   ShootingStatistics* stats, InnerThreads threads) {
    if (!design.isKnown(KnownBit::IsoPuffNumber)) return;
    setCoalParameters(design, mp);
    CigaretteDesign t(ArrayMode::WithArrays);
    t.assign(design);
    simulatePuffs(t, mp, progress, stats, threads);
    design.freePuffData();
    design.puff_number = t.puff_number;
    design.puff_size = std::move(t.puff_size);
    for (const PuffArray& a : puffArrays()) design.*a.member = std::move(t.*a.member);
}

}  // namespace veltrano
