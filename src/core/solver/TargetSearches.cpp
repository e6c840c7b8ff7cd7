#include "core/solver/TargetSearches.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/design/PlugWrapGrades.h"
#include "core/model/Characteristics.h"
#include "core/model/FlowNetwork.h"
#include "core/model/IsoYields.h"
#include "core/model/Recalculation.h"
#include "core/solver/SolverTargets.h"

namespace veltrano {

namespace {

// The most permeable perforation and paper the searches consider (CU).
constexpr double kMaxTippingPermeability = 8000;
constexpr double kMaxPlugWrapPermeability = 30000;
constexpr double kMaxPaperPermeability = 220;

// Evaluations within which the two perforation searches must meet their tolerance.
constexpr int kCoefficientEvaluations = 99;
constexpr int kPermeabilityEvaluations = 499;

// One solved open network at the standard puff flow: filter and rod ventilation in % of the mouth flow.
struct Ventilation {
    double filter = 0;
    double rod = 0;
};

Ventilation solveVentilation(const DesignValues& d, double startSuction) {
    Stations v{}, p{};
    v[0] = standardVelocity(d.fi_diam);
    p[0] = startSuction;
    solveOpen(d, v, p, kNoCoalIso);
    return {(v[1] - v[2]) / v[0] * 100, (v[4] - v[5]) / v[0] * 100};
}

// The pressure drop terms (Pa) of the searches' first guesses of the mouth suction.
struct StartTerms {
    double front;   // the filter in front of the perforation: x_p / F × Pf
    double behind;  // the filter behind it: (F − x_p) / F × Pf
    double rod;     // Pr
    double relief;  // how much the perforation relieves the rest: 1 − √|P_t| / 100

    explicit StartTerms(const DesignValues& d) {
        const double Pf = d.fi_pd * kPaPerMmH2O;
        front = d.tp_perfopos / d.fi_len * Pf;
        behind = (d.fi_len - d.tp_perfopos) / d.fi_len * Pf;
        rod = d.ro_pd * kPaPerMmH2O;
        relief = 1 - std::sqrt(std::fabs(d.tp_perfoperm)) / 100;
    }
};

void setMostPermeablePerforation(DesignValues& d, const ModelParameters& mp) {
    d.tp_perfoperm = kMaxTippingPermeability;
    d.pw_perm = kMaxPlugWrapPermeability;
    computePerforationCoefficients(d, mp);
}

// A trial paper: its permeability, the diffusion capacity predicted for it and its wall law.
void setPaper(DesignValues& d, double permeability, const ModelParameters& mp) {
    d.cp_perm = permeability;
    d.cp_diff = predictDiffusion(d, mp);
    computePaperCoefficients(d);
}

// The ISO yields of a copy, calibrated as the current design's are.
void predictCalibratedYields(DesignValues& d, const CalibrationPair& calibration, const ModelParameters& mp) {
    computeIsoYields(d, mp);
    calibrate(d, calibration.reference, calibration.workingReference);
}

// The yield a ventilation search compares (codes 2, 3, 4) and the value a paper search compares
// (codes 4, 6).
std::optional<double> yieldOf(const DesignValues& d, SolverTarget code) {
    switch (code) {
        case SolverTarget::Tar:
            return d.iso_nfdpm;
        case SolverTarget::Nicotine:
            return d.iso_nico;
        case SolverTarget::CarbonMonoxide:
            return d.iso_co;
        default:
            return std::nullopt;
    }
}
std::optional<double> paperValueOf(const DesignValues& d, SolverTarget code) {
    switch (code) {
        case SolverTarget::CarbonMonoxide:
            return d.iso_co;
        case SolverTarget::PuffNumber:
            return d.iso_puff;
        default:
            return std::nullopt;
    }
}

void takeValue(std::optional<double> value, double& out, ErrorReporter& errors) {
    if (value) {
        out = *value;
    } else {
        ReportError(errors, kErrorUnknownTargetCode);
    }
}

struct Point {
    double x = 0;
    double y = 0;
};

// The rules of one false-position search toward `target`.
struct FalsePosition {
    double target = 0;
    double tolerance = 0;
    int maxEvaluations = 0;     // the tolerance must be met within this many evaluations
    bool squared = false;       // interpolate through the squared values (the ventilation zone's coefficient)
    bool equalToBelow = false;  // a value equal to the target replaces the `below` end
};

// False position between `below` (the end whose value lies below the target) and `above`: each trial is
// the bracket's interpolation toward the target, evaluated and put in place of the end on its side. On
// success the result is the final bracket's interpolation; nullopt when the evaluations run out or the
// result is not a number.
template <class Evaluate>
std::optional<double> falsePosition(const FalsePosition& rule, Point below, Point above,
                                    const Evaluate& evaluate) {
    const auto scaled = [&rule](double y) { return rule.squared ? y * y : y; };
    const auto interpolate = [&] {
        return interpolateLinear(below.x, scaled(below.y), above.x, scaled(above.y), scaled(rule.target));
    };
    for (int evaluation = 1;; ++evaluation) {
        const double x = interpolate();
        const double y = evaluate(x);
        if (y < rule.target || (rule.equalToBelow && y == rule.target)) {
            below = {x, y};
        } else {
            above = {x, y};
        }
        if (std::fabs(y - rule.target) <= rule.tolerance) break;
        if (evaluation >= rule.maxEvaluations) return std::nullopt;
    }
    const double result = interpolate();
    if (!std::isfinite(result)) return std::nullopt;
    return result;
}

// The paper result of a search: the permeability found and the diffusion capacity predicted for it.
PaperResult paperResult(DesignValues& copy, std::optional<double> permeability, const ModelParameters& mp) {
    if (!permeability) return {};
    copy.cp_perm = *permeability;
    const double diffusion = predictDiffusion(copy, mp);
    if (!std::isfinite(diffusion)) return {};
    return {*permeability, diffusion};
}

double finiteOrOne(double ratio) {
    return std::isfinite(ratio) ? ratio : 1;
}

}  // namespace

double filterVentilationCalibration(const DesignValues& design, const CalibrationPair& calibration) {
    const DesignValues& R = calibration.reference;
    const DesignValues& W = calibration.workingReference;
    if (!R.isKnown(KnownBit::FilterVentilation) || !(W.stat_fivent > 0.1) ||
        design.tp_perfotype == kOnlineLaser)
        return 1;
    return finiteOrOne(R.stat_fivent / W.stat_fivent);
}

double rodVentilationCalibration(const CalibrationPair& calibration) {
    const DesignValues& R = calibration.reference;
    const DesignValues& W = calibration.workingReference;
    if (!R.isKnown(KnownBit::RodVentilation) || !(W.stat_rovent > 0.1)) return 1;
    return finiteOrOne(R.stat_rovent / W.stat_rovent);
}

double maxFilterVentilation(const DesignValues& design, const ModelParameters& mp) {
    DesignValues copy = design;
    setMostPermeablePerforation(copy, mp);
    return solveVentilation(copy, StartTerms(design).front).filter;
}

double maxRodVentilation(const DesignValues& design) {
    DesignValues copy = design;
    copy.cp_perm = kMaxPaperPermeability;
    computePaperCoefficients(copy);  // the diffusion capacity stays: the ventilation does not read it
    return solveVentilation(copy, StartTerms(design).front).rod;
}

double perforationCoefficientFor(const DesignValues& design, const CalibrationPair& calibration, double x,
                                 const ModelParameters& mp) {
    DesignValues copy = design;
    const StartTerms t(design);
    const double start = t.front + (100 - x) / 100 * ((1 - design.cp_perm / 500) * t.rod + t.behind);

    // The design's ventilation is stored calibrated while x is on the model's scale: bracket with the
    // model's own value, or a target between the two scales falls outside the bracket.
    const double ratio = filterVentilationCalibration(design, calibration);
    const double ventilation = ratio != 0 ? design.stat_fivent / ratio : design.stat_fivent;
    Point below, above;
    if (ventilation > x) {
        below = {0, 0};
        above = {design.tp_k, ventilation};
    } else {
        setMostPermeablePerforation(copy, mp);  // the copy keeps this zone's exponent from here on
        below = {design.tp_k, ventilation};
        above = {copy.tp_k, solveVentilation(copy, start).filter};
    }
    const std::optional<double> k =
        falsePosition({x, 0.01, kCoefficientEvaluations, true}, below, above, [&](double trial) {
            copy.tp_k = trial;
            return solveVentilation(copy, start).filter;
        });
    if (!k) return -1;
    return *k < 0 ? 0 : *k;
}

TippingResult perforationPermeabilities(const DesignValues& design, double k, const ModelParameters& mp) {
    DesignValues copy = design;
    const double q = 10 * k * std::pow(1000.0, copy.tp_n) / 0.00016666;
    double plugWrap = q;
    if (q >= 0.001) {
        const auto grade = std::lower_bound(plugWrapGrades.begin(), plugWrapGrades.end(), q);
        plugWrap = grade == plugWrapGrades.end() ? plugWrapGrades.back() : *grade;
    }
    copy.pw_perm = plugWrap;
    const auto coefficientAt = [&](double permeability) {
        copy.tp_perfoperm = permeability;
        computePerforationCoefficients(copy, mp);
        return copy.tp_k;
    };
    const double start = q / copy.tp_perfowidth;
    const double c0 = coefficientAt(start);
    Point below, above;
    if (c0 > k) {
        below = {0, 0};
        above = {start, c0};
    } else {
        below = {start, c0};
        above = {kMaxTippingPermeability, coefficientAt(kMaxTippingPermeability)};
    }
    const std::optional<double> permeability = falsePosition(
        {k, k * 0.0001 + 1e-12, kPermeabilityEvaluations, false, true}, below, above, coefficientAt);
    if (!permeability) return {};
    return {std::floor(*permeability + 0.5), plugWrap};
}

void yieldRangeOverVentilation(const DesignValues& design, const CalibrationPair& calibration,
                               SolverTarget code, double& high, double& low, const ModelParameters& mp,
                               ErrorReporter& errors) {
    DesignValues copy = design;
    copy.stat_fivent = maxFilterVentilation(design, mp);
    predictCalibratedYields(copy, calibration, mp);
    takeValue(yieldOf(copy, code), low, errors);
    copy.stat_fivent = 0;
    predictCalibratedYields(copy, calibration, mp);
    takeValue(yieldOf(copy, code), high, errors);
}

double ventilationForYield(const DesignValues& design, const CalibrationPair& calibration, SolverTarget code,
                           double target, double low, double high, const ModelParameters& mp,
                           int evaluationCap) {
    DesignValues copy = design;
    const double most = maxFilterVentilation(design, mp);
    const std::optional<double> ventilation =
        falsePosition({target, 0.001, evaluationCap}, {most, low}, {0, high}, [&](double trial) {
            copy.stat_fivent = trial;
            predictCalibratedYields(copy, calibration, mp);
            return yieldOf(copy, code).value_or(0);
        });
    return ventilation ? *ventilation : -1;
}

void paperTargetRange(const DesignValues& design, const CalibrationPair& calibration, SolverTarget code,
                      double& high, double& low, const ModelParameters& mp, ErrorReporter& errors) {
    DesignValues copy = design;
    const StartTerms t(design);
    const double start = t.front + t.relief * (t.behind + 0.7 * t.rod);
    for (const auto& [permeability, out] : {std::pair{kMaxPaperPermeability, &low}, std::pair{0.0, &high}}) {
        setPaper(copy, permeability, mp);
        const Ventilation solved = solveVentilation(copy, start);
        copy.stat_fivent = solved.filter;
        copy.stat_rovent = solved.rod;
        predictCalibratedYields(copy, calibration, mp);
        takeValue(paperValueOf(copy, code), *out, errors);
    }
}

PaperResult paperForRodVentilation(const DesignValues& design, double x, const ModelParameters& mp,
                                   int evaluationCap) {
    DesignValues copy = design;
    const StartTerms t(design);
    const double start = t.front + t.relief * ((1 - x / 100) * t.rod + t.behind);
    const double most = maxRodVentilation(design);
    const std::optional<double> permeability =
        falsePosition({x, 0.001, evaluationCap}, {0, 0}, {kMaxPaperPermeability, most}, [&](double trial) {
            setPaper(copy, trial, mp);
            return solveVentilation(copy, start).rod;
        });
    return paperResult(copy, permeability, mp);
}

PaperResult paperForTarget(const DesignValues& design, const CalibrationPair& calibration, SolverTarget code,
                           double target, double low, double high, const ModelParameters& mp,
                           int evaluationCap) {
    DesignValues copy = design;
    const StartTerms t(design);
    const double start = t.front + t.relief * (t.behind + 0.8 * t.rod);
    const std::optional<double> permeability = falsePosition(
        {target, 0.001, evaluationCap}, {kMaxPaperPermeability, low}, {0, high}, [&](double trial) {
            setPaper(copy, trial, mp);
            const Ventilation solved = solveVentilation(copy, start);
            copy.stat_fivent = solved.filter;
            copy.stat_rovent = solved.rod;
            predictCalibratedYields(copy, calibration, mp);
            return paperValueOf(copy, code).value_or(0);
        });
    return paperResult(copy, permeability, mp);
}

}  // namespace veltrano
