#include "core/model/Recalculation.h"

#include <array>

#include "core/model/AlternativeYields.h"
#include "core/model/Characteristics.h"
#include "core/model/IsoYields.h"
#include "core/model/ParallelTasks.h"
#include "core/model/PuffSimulation.h"
#include "core/model/StationaryFlow.h"

namespace veltrano {

namespace {

// Everything of a design's recalculation up to its puff tables: cheap, and the only part that reports.
void computeStationaryPart(CigaretteDesign& d, int mode, const ModelParameters& mp, ErrorReporter& errors,
                           ShootingStatistics* stats) {
    applyDefaults(d, mp);
    fitOnlinePerforation(d, mp, errors, stats);
    computeStationaryFlow(d, mode, mp, stats);
    computeIsoYields(d, mp);
}

// The puff tables of one design: the ISO and the alternative regime and the unventilated companion.
// They read a snapshot of the design taken before they start, write only their own arrays, and leave
// their scalar results here for the calling thread.
struct PuffWork {
    CigaretteDesign* design = nullptr;
    DesignValues snapshot;
    PuffAverages iso, alternative;
    UnventilatedCompanion companion;
};

enum PuffTask { kCompanionTask, kIsoTask, kAlternativeTask, kTasksPerDesign };

PuffAverages simulateInto(CigaretteDesign& d, const DesignValues& values, PuffRegime regime,
                          ShootingStatistics* stats) {
    const std::span<double> flow = puffFlowOf(d, regime);
    fillPuffFlow(values, regime, flow);
    const FlowTableView table = flowTableOf(d, regime);
    fillFlowTable(values, regime, flow, table, stats);
    return fillPuffCurves(values, regime, table, puffCurvesOf(d, regime));
}

// The puff tables of the given designs (whose stationary part is done), all independent of each other;
// the companions run first because they take longest. Each design then takes its averages; the
// alternative yields follow in the order given, so a working reference listed first is complete when
// the current design reads it.
template <std::size_t N>
void computePuffPart(const std::array<CigaretteDesign*, N>& designs, const DesignValues& reference,
                     const DesignValues& workingReference, const ModelParameters& mp,
                     ShootingStatistics* stats, InnerThreads threads) {
    std::array<PuffWork, N> work;
    for (std::size_t i = 0; i < N; ++i) {
        work[i].design = designs[i];
        work[i].snapshot = *designs[i];
    }
    constexpr int kTasks = static_cast<int>(N) * kTasksPerDesign;
    std::array<ShootingStatistics, kTasks> taskStats{};
    ShootingStatistics* const counting = stats ? taskStats.data() : nullptr;
    ParallelTasks tasks(
        kTasks,
        [&](int task, int) {
            PuffWork& w = work[static_cast<std::size_t>(task) % N];
            ShootingStatistics* s = counting ? counting + task : nullptr;
            switch (task / static_cast<int>(N)) {
                case kCompanionTask:
                    w.companion = computeUnventilatedCompanion(w.snapshot, mp, s);
                    break;
                case kIsoTask:
                    w.iso = simulateInto(*w.design, w.snapshot, kIsoRegime, s);
                    break;
                default:
                    w.alternative = simulateInto(*w.design, w.snapshot, kAlternativeRegime, s);
                    break;
            }
        },
        threads);
    tasks.waitAll();
    if (stats) {
        for (const ShootingStatistics& s : taskStats) stats->merge(s);
    }

    for (PuffWork& w : work) {
        storePuffAverages(*w.design, kIsoRegime, w.iso);
        storePuffAverages(*w.design, kAlternativeRegime, w.alternative);
        applyAlternativeYields(*w.design, w.companion, reference, workingReference);
    }
}

}  // namespace

void recalculate(DesignSet& designs, const ModelParameters& mp, ErrorReporter& errors,
                 ShootingStatistics* stats, InnerThreads threads) {
    const CigaretteDesign& reference = designs.referenceDesign;
    CigaretteDesign& working = designs.workingReference;
    CigaretteDesign& current = designs.currentDesign;
    ensureModelArrays(working);
    ensureModelArrays(current);

    working.assign(reference);
    computeStationaryPart(working, kResultsOnly, mp, errors, stats);
    computeStationaryPart(current, kWithProfiles, mp, errors, stats);
    computePuffPart<2>({&working, &current}, reference, working, mp, stats, threads);
    calibrate(current, reference, working);
}

void recalculateWorkingReference(const DesignValues& reference, CigaretteDesign& working,
                                 const ModelParameters& mp, ErrorReporter& errors, ShootingStatistics* stats,
                                 InnerThreads threads) {
    ensureModelArrays(working);
    working.assign(reference);
    computeStationaryPart(working, kResultsOnly, mp, errors, stats);
    computePuffPart<1>({&working}, reference, working, mp, stats, threads);
}

void recalculateCurrent(CigaretteDesign& current, const DesignValues& reference,
                        const DesignValues& workingReference, const ModelParameters& mp,
                        ErrorReporter& errors, ShootingStatistics* stats, InnerThreads threads) {
    ensureModelArrays(current);
    computeStationaryPart(current, kWithProfiles, mp, errors, stats);
    computePuffPart<1>({&current}, reference, workingReference, mp, stats, threads);
    calibrate(current, reference, workingReference);
}

void calibrate(DesignValues& design, const DesignValues& reference, const DesignValues& workingReference) {
    using V = DesignValues;
    // A ratio R.x / W.x applies when bit `bit` of the reference is set and W.x exceeds the threshold;
    // the inverse one (W.x / R.x) moves the burn rate against the puff number.
    struct Ratio {
        double V::*field = nullptr;
        KnownBit bit = KnownBit::None;
        double threshold = 0;
        bool inverse = false;
    };
    struct Row {
        double V::*value;
        Ratio ratio;
        Ratio fallback;
        bool skippedWhenOnline = false;
    };
    static const Row rows[] = {
        {&V::iso_nico, {&V::iso_nico, KnownBit::IsoNicotine, 0.01}, {}},
        {&V::iso_nfdpm, {&V::iso_nfdpm, KnownBit::IsoTar, 0.01}, {}},
        {&V::iso_co, {&V::iso_co, KnownBit::IsoCo, 0.01}, {}},
        {&V::iso_puff, {&V::iso_puff, KnownBit::IsoPuffNumber, 0.1}, {}},
        {&V::stat_mbr,
         {&V::stat_mbr, KnownBit::StaticBurnRate, 1},
         {&V::iso_puff, KnownBit::IsoPuffNumber, 0.1, true}},
        {&V::iso_pdo, {&V::stat_pdo, KnownBit::OpenDrawResistance, 1}, {}},
        {&V::iso_fivent, {&V::stat_fivent, KnownBit::FilterVentilation, 0.1}, {}, true},
        {&V::iso_rovent, {&V::stat_rovent, KnownBit::RodVentilation, 0.1}, {}},
        {&V::alt_pdo, {&V::stat_pdo, KnownBit::OpenDrawResistance, 1}, {}},
        {&V::alt_fivent, {&V::stat_fivent, KnownBit::FilterVentilation, 0.1}, {}, true},
        {&V::alt_rovent, {&V::stat_rovent, KnownBit::RodVentilation, 0.1}, {}},
        {&V::alt_nico,
         {&V::alt_nico, KnownBit::AltNicotine, 0.01},
         {&V::iso_nico, KnownBit::IsoNicotine, 0.01}},
        {&V::alt_nfdpm, {&V::alt_nfdpm, KnownBit::AltTar, 0.01}, {&V::iso_nfdpm, KnownBit::IsoTar, 0.01}},
        {&V::alt_co, {&V::alt_co, KnownBit::AltCo, 0.01}, {&V::iso_co, KnownBit::IsoCo, 0.01}},
        {&V::alt_puff,
         {&V::alt_puff, KnownBit::AltPuffNumber, 0.1},
         {&V::iso_puff, KnownBit::IsoPuffNumber, 0.1}},
        {&V::stat_pdo, {&V::stat_pdo, KnownBit::OpenDrawResistance, 1}, {}},
        {&V::stat_pdc, {&V::stat_pdc, KnownBit::ClosedDrawResistance, 1}, {}},
        {&V::stat_fivent, {&V::stat_fivent, KnownBit::FilterVentilation, 0.1}, {}, true},
        {&V::stat_rovent, {&V::stat_rovent, KnownBit::RodVentilation, 0.1}, {}},
    };
    const V& R = reference;
    const V& W = workingReference;
    // An online design's filter ventilation is its own target, not a prediction to calibrate.
    const bool online = design.tp_perfotype == kOnlineLaser;
    for (const Row& row : rows) {
        if (row.skippedWhenOnline && online) continue;
        for (const Ratio& q : {row.ratio, row.fallback}) {
            if (!q.field || !R.isKnown(q.bit) || !(W.*q.field > q.threshold)) continue;
            design.*row.value =
                design.*row.value * (q.inverse ? W.*q.field / R.*q.field : R.*q.field / W.*q.field);
            break;
        }
    }
}

}  // namespace veltrano
