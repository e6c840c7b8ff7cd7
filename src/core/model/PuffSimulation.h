#pragma once

#include <span>

#include "core/design/CigaretteDesign.h"
#include "core/model/FlowNetwork.h"

namespace veltrano {

// Regime codes of the puff operations: 2 is the ISO puff (35 ml in 2 s, sine shape); every other code is
// the design's alternative regime, 3 and 4 with the coal of the first and of the later puffs.
enum PuffRegime { kAlternativeRegime = 1, kIsoRegime = 2, kFirstPuffRegime = 3, kLaterPuffRegime = 4 };

// The peak flow of the ISO sine puff before normalising, 8.75·π ml/s.
inline constexpr double kIsoPeakFlow = 27.488935722500003;

// The integral over a puff of duration T of a curve of 400 samples: Simpson's rule over samples 0 to 398
// with the step T/398.
double integrateOverPuff(std::span<const double> y, double duration);

// A characteristic table against flow (200 entries each) and the curves of one puff against time (400).
struct FlowTableView {
    std::span<double> flow, fivent, rovent, pdo, pvent, pfilt;
};
struct PuffCurveView {
    std::span<const double> flow;
    std::span<double> fivent, rovent, pdo, pvent, pfilt;
};
// Filter and rod ventilation (% of the puff volume) and the mean draw resistance (mmH2O) of a puff.
struct PuffAverages {
    double fivent = 0, rovent = 0, pdo = 0;
};

// The pure computations behind the three operations below; they read `d` and write only the views.
void fillPuffFlow(const DesignValues& d, PuffRegime regime, std::span<double> flow);
void fillFlowTable(const DesignValues& d, PuffRegime regime, std::span<const double> puffFlow,
                   const FlowTableView& table, ShootingStatistics* stats = nullptr);
PuffAverages fillPuffCurves(const DesignValues& d, PuffRegime regime, const FlowTableView& table,
                            const PuffCurveView& curves);

// The table and curve arrays of a design for a regime (`iso_` for 2, `alt_` otherwise).
FlowTableView flowTableOf(CigaretteDesign& d, PuffRegime regime);
PuffCurveView puffCurvesOf(CigaretteDesign& d, PuffRegime regime);
std::span<double> puffFlowOf(CigaretteDesign& d, PuffRegime regime);
// Stores the averages in `iso_fivent`, `iso_rovent`, `iso_pdo` (regime 2) or the `alt_` fields.
void storePuffAverages(DesignValues& d, PuffRegime regime, const PuffAverages& averages);

// Gives a design without arrays its 28 arrays (zero-filled); a design with arrays keeps them.
void ensureModelArrays(CigaretteDesign& d);

// The three puff operations on a design with arrays, always called in this order for one regime (a
// design without arrays is left as it is).
void buildPuffProfile(CigaretteDesign& d, PuffRegime regime);
void buildFlowTable(CigaretteDesign& d, PuffRegime regime, ShootingStatistics* stats = nullptr);
void integratePuff(CigaretteDesign& d, PuffRegime regime);

}  // namespace veltrano
