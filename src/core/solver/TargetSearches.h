#pragma once

#include "core/design/CigaretteDesign.h"
#include "core/design/ErrorMessages.h"
#include "core/design/ModelParameters.h"
#include "core/solver/SolverTargets.h"

namespace veltrano {

// The searches of the problem solver. Each works on a copy of `design` (recalculated, so that its
// coefficients and results are up to date) and never changes it. Permeabilities are in CU, ventilations
// in %, yields in mg/cig. A search that finds nothing returns -1.

// What `calibrate` reads: the reference with its measured values and the model's prediction for it.
struct CalibrationPair {
    const DesignValues& reference;
    const DesignValues& workingReference;
};

// The three false-position searches without a limit of their own give up after this many evaluations;
// converging cases need a few dozen at most.
inline constexpr int kSearchEvaluationCap = 1000;

// The factor by which the calibration scaled `design`'s filter ventilation: measured over predicted
// ventilation of the reference when the reference's value is measured (bit 20), the prediction is above
// 0.1 % and `design` is not perforated online; 1 otherwise (and 1 for a ratio that is not finite).
double filterVentilationCalibration(const DesignValues& design, const CalibrationPair& calibration);
// The same for the rod ventilation (bit 21, prediction above 0.1 %).
double rodVentilationCalibration(const CalibrationPair& calibration);

// The highest filter ventilation the perforation reaches: 8000 CU tipping over 30000 CU plug wrap.
double maxFilterVentilation(const DesignValues& design, const ModelParameters& mp);
// The highest rod ventilation the cigarette paper reaches: 220 CU.
double maxRodVentilation(const DesignValues& design);

// The ventilation zone coefficient `tp_k` that gives the filter ventilation x (on the model's own scale);
// -1 when 99 evaluations do not bring the ventilation within 0.01 % of x. The bracket starts from the
// design's filter ventilation taken back to the model's scale (it is stored calibrated).
double perforationCoefficientFor(const DesignValues& design, const CalibrationPair& calibration, double x,
                                 const ModelParameters& mp);

struct TippingResult {
    double tipping = -1;   // perforation permeability, whole CU
    double plugWrap = -1;  // plug wrap grade
};
// A plug wrap grade and a tipping perforation permeability whose ventilation zone has the coefficient k;
// both -1 when 499 evaluations do not meet the coefficient.
TippingResult perforationPermeabilities(const DesignValues& design, double k, const ModelParameters& mp);

// The calibrated ISO yield of code 2, 3 or 4 at zero filter ventilation (high) and at the highest
// reachable one (low). Any other code reports error 59 and leaves the output unchanged.
void yieldRangeOverVentilation(const DesignValues& design, const CalibrationPair& calibration,
                               SolverTarget code, double& high, double& low, const ModelParameters& mp,
                               ErrorReporter& errors);

// The filter ventilation (model scale) at which the calibrated ISO yield of `code` is `target`, between
// the yields `low` and `high` of yieldRangeOverVentilation; -1 when `evaluationCap` evaluations do not
// come within 0.001 mg/cig.
double ventilationForYield(const DesignValues& design, const CalibrationPair& calibration, SolverTarget code,
                           double target, double low, double high, const ModelParameters& mp,
                           int evaluationCap = kSearchEvaluationCap);

// The calibrated ISO carbon monoxide (code 4) or puff number (code 6) with a 0 CU paper (high) and a
// 220 CU paper (low). Any other code reports error 59 and leaves the output unchanged.
void paperTargetRange(const DesignValues& design, const CalibrationPair& calibration, SolverTarget code,
                      double& high, double& low, const ModelParameters& mp, ErrorReporter& errors);

struct PaperResult {
    double permeability = -1;  // CU, not rounded
    double diffusion = -1;     // predicted diffusion capacity, cm/s
};
// The paper permeability that gives the rod ventilation x (model scale), and its predicted diffusion
// capacity; both -1 when `evaluationCap` evaluations do not come within 0.001 %.
PaperResult paperForRodVentilation(const DesignValues& design, double x, const ModelParameters& mp,
                                   int evaluationCap = kSearchEvaluationCap);

// The paper permeability that gives the calibrated ISO carbon monoxide or puff number `target`, between
// the values `low` and `high` of paperTargetRange, and its predicted diffusion capacity; both -1 when
// `evaluationCap` evaluations do not come within 0.001.
PaperResult paperForTarget(const DesignValues& design, const CalibrationPair& calibration, SolverTarget code,
                           double target, double low, double high, const ModelParameters& mp,
                           int evaluationCap = kSearchEvaluationCap);

}  // namespace veltrano
