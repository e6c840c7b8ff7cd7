#pragma once

#include "core/design/CigaretteDesign.h"
#include "core/design/ErrorMessages.h"
#include "core/design/ModelParameters.h"
#include "core/model/FlowNetwork.h"
#include "core/model/ParallelTasks.h"

namespace veltrano {

// An analysis never smokes more puffs than this.
inline constexpr int kMaxPuffs = 200;

// The coal fields (`coal_len`, `coal_k`, `coal_n`, `coal1_k`, `coal1_n`) from the model parameters.
void setCoalParameters(DesignValues& d, const ModelParameters& mp);

// The share (0 to 1) of carbon monoxide that escapes through the paper of a paper-wrapped rod of l mm,
// for a velocity a (cm/s) through the rod and a suction P (mmH2O) in its burning part.
double coEscape(const DesignValues& d, double a, double P, double l, const ModelParameters& mp);

// The mean suction (mmH2O) in the burning part during a puff with filter and rod ventilation f and r (%)
// and a mean coal velocity vc (cm/s): the coal's pressure drop (of the first puff or of the later ones)
// plus that of half the remaining rod. Shares of the puff below 0 count as 0.
double burningZoneSuction(const DesignValues& t, double f, double r, double vc, bool firstPuff);

// Smokes the (recalculated and calibrated) design puff after puff under its alternative regime and
// replaces its puff-by-puff data. Does nothing when bit 23 of its `known` is clear.
void runPuffByPuff(CigaretteDesign& design, const ModelParameters& mp, ProgressSink& progress,
                   ShootingStatistics* stats = nullptr, InnerThreads threads = InnerThreads::Machine);

// The analysis itself, on a temporary copy with arrays: fills its puff-by-puff arrays and burns its rod
// down, showing one progress step per puff. A puff count that is not a number or below 1 gives no puffs
// (and no progress), one above kMaxPuffs gives kMaxPuffs.
void simulatePuffs(CigaretteDesign& t, const ModelParameters& mp, ProgressSink& progress,
                   ShootingStatistics* stats = nullptr, InnerThreads threads = InnerThreads::Machine);

}  // namespace veltrano
