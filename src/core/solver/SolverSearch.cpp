#include "core/solver/SolverSearch.h"

#include <cmath>

#include "core/design/NumberText.h"
#include "core/model/Characteristics.h"
#include "core/solver/PerforationHints.h"

namespace veltrano {

namespace {

// Within [low, high]; a bound that is not a number lets nothing through.
bool within(double y, double low, double high) {
    return y >= low && y <= high;
}

bool finite(double a, double b) {
    return std::isfinite(a) && std::isfinite(b);
}

SearchOutcome failed(ErrorNumber error) {
    SearchOutcome outcome;
    outcome.kind = SearchOutcome::Kind::Error;
    outcome.error = error;
    return outcome;
}

SearchOutcome rangeMessage(std::string message) {
    SearchOutcome outcome;
    outcome.kind = SearchOutcome::Kind::RangeMessage;
    outcome.message = std::move(message);
    return outcome;
}

// The range message of each target: between 1 % and the reachable maximum (rounded down) for the
// ventilations, between the low and the high end of the range for the others.
std::string_view rangeFormat(SolverTarget code) {
    switch (code) {
        case SolverTarget::FilterVentilation:
            return "Error: The desired degree of filter ventilation has to be between 1%% and %.0f%%.";
        case SolverTarget::RodVentilation:
            return "Error: The desired degree of rod ventilation has to be between 1%% and %.0f%%.";
        case SolverTarget::Tar:
            return "Error: The desired 'tar' value has to be between %.2f mg/cig and %.2f mg/cig.";
        case SolverTarget::Nicotine:
            return "Error: The desired nicotine value has to be between %.2f mg/cig and %.2f mg/cig.";
        case SolverTarget::CarbonMonoxide:
            return "Error: The desired carbon monoxide value has to be between %.2f mg/cig and %.2f mg/cig.";
        default:
            return "Error: The desired puff number has to be between %.2f and %.2f.";
    }
}

// The coefficient for a filter ventilation x on the model's scale, split into tipping and plug wrap.
SearchOutcome tippingFor(double x, const DesignValues& design, const CalibrationPair& calibration,
                         const ModelParameters& mp) {
    const double k = perforationCoefficientFor(design, calibration, x, mp);
    if (k < 0) return failed(kErrorNoTippingPlugWrapCombination);
    const TippingResult found = perforationPermeabilities(design, k, mp);
    if (found.tipping < 0) return failed(kErrorNoTippingPermeability);
    SearchOutcome outcome;
    outcome.kind = SearchOutcome::Kind::Result;
    outcome.tipping = found;
    outcome.fieldTexts = {formatNumber("%.0f", found.plugWrap), formatNumber("%.0f", found.tipping)};
    outcome.hints = perforationHints(found.tipping, design);
    return outcome;
}

SearchOutcome tippingSearch(const DesignSet& designs, SolverTarget code, double y, const ModelParameters& mp,
                            ErrorReporter& errors, int evaluationCap) {
    const DesignValues& design = designs.currentDesign;
    const CalibrationPair calibration{designs.referenceDesign, designs.workingReference};
    if (code == SolverTarget::FilterVentilation) {
        const double f = filterVentilationCalibration(design, calibration);
        const double reachable = maxFilterVentilation(design, mp) * f;
        if (!std::isfinite(reachable)) return failed(kErrorNoTippingPlugWrapCombination);
        if (!within(y, 1, reachable))
            return rangeMessage(formatText(rangeFormat(code), {std::floor(reachable)}));
        return tippingFor(y / f, design, calibration, mp);
    }
    double high = 0, low = 0;
    yieldRangeOverVentilation(design, calibration, code, high, low, mp, errors);
    if (!finite(low, high)) return failed(kErrorNoFilterVentilation);
    if (!within(y, low, high)) return rangeMessage(formatText(rangeFormat(code), {low, high}));
    const double ventilation =
        ventilationForYield(design, calibration, code, y, low, high, mp, evaluationCap);
    if (ventilation < 0) return failed(kErrorNoFilterVentilation);
    return tippingFor(ventilation, design, calibration, mp);
}

SearchOutcome paperSearch(const DesignSet& designs, SolverTarget code, double y, const ModelParameters& mp,
                          ErrorReporter& errors, int evaluationCap) {
    const DesignValues& design = designs.currentDesign;
    const CalibrationPair calibration{designs.referenceDesign, designs.workingReference};
    PaperResult found;
    if (code == SolverTarget::RodVentilation) {
        const double f = rodVentilationCalibration(calibration);
        const double reachable = maxRodVentilation(design) * f;
        if (!std::isfinite(reachable)) return failed(kErrorNoPaperPermeability);
        if (!within(y, 1, reachable))
            return rangeMessage(formatText(rangeFormat(code), {std::floor(reachable)}));
        found = paperForRodVentilation(design, y / f, mp, evaluationCap);
    } else {
        double high = 0, low = 0;
        paperTargetRange(design, calibration, code, high, low, mp, errors);
        if (!finite(low, high)) return failed(kErrorNoPaperPermeability);
        if (!within(y, low, high)) return rangeMessage(formatText(rangeFormat(code), {low, high}));
        found = paperForTarget(design, calibration, code, y, low, high, mp, evaluationCap);
    }
    if (found.permeability < 0) return failed(kErrorNoPaperPermeability);
    SearchOutcome outcome;
    outcome.kind = SearchOutcome::Kind::Result;
    outcome.paper = found;
    outcome.fieldTexts = {formatNumber("%.0f", found.permeability), formatNumber("%.3f", found.diffusion)};
    return outcome;
}

}  // namespace

SearchOutcome runSolverSearch(const DesignSet& designs, SolverGroup group, SolverTarget code,
                              std::string_view targetText, const ModelParameters& mp, ErrorReporter& errors,
                              int evaluationCap) {
    const DesignValues& design = designs.currentDesign;
    if (!groupOffered(group, design) || !targetOffered(group, code, design)) return {};
    const double y = readNumber(targetText);
    if (group == SolverGroup::Tipping) return tippingSearch(designs, code, y, mp, errors, evaluationCap);
    return paperSearch(designs, code, y, mp, errors, evaluationCap);
}

void acceptSearchResult(DesignValues& design, SolverGroup group, const std::array<std::string, 2>& fieldTexts,
                        const ModelParameters& mp) {
    if (group == SolverGroup::Tipping) {
        design.pw_perm = readNumber(fieldTexts[0]);
        design.tp_perfoperm = readNumber(fieldTexts[1]);
        return;
    }
    design.cp_perm = readNumber(fieldTexts[0]);
    design.cp_diff = predictDiffusion(design, mp);  // for the permeability as accepted, not as displayed
}

}  // namespace veltrano
