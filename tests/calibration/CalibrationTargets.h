#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/design/ModelParameters.h"

namespace veltrano::calibration {

// One calibration target: a check on the model's outputs for one or more designs.
//  - `designs`: "A: change; change | B: change ...", each design the constructor default with the changes
//    applied: `field=value` for any record value (`known` also as 0x...), `@fivent=v` (the ISO yields
//    evaluated again at the stationary filter ventilation v, paper unchanged) and `@diffusion=x` (the paper's
//    diffusion capacity set to its predicted value plus x cm/s and marked known). `default` changes nothing.
//  - `formula`: see TargetExpression; outputs are the raw model values of the reference's working copy, the
//    per-puff values of the analysed current design, and `predicted_diffusion`.
//  - `sweep`: optional "P=from:step:to"; every `$P` in `designs` takes each value and the check must hold
//    for all of them.
//  - `status`: "met", or "not adopted: reason".
struct CalibrationTarget {
    std::string id, check, designs, formula, sweep;
    std::optional<double> low, high;
    std::string status, basis;

    bool adopted() const { return status == "met"; }
};

struct TargetTable {
    std::vector<CalibrationTarget> targets;
    std::string error;
};
// The targets of a CSV text with the columns id, check, designs, formula, sweep, low, high, status, basis.
TargetTable readTargetTable(std::string_view csvText);

struct TargetResult {
    std::vector<double> values;  // one per sweep value
    std::string error;           // why the target could not be evaluated
    bool inRange = false;        // every value within [low, high]
};

// Evaluates targets on the real model (recalculation and puff-by-puff analysis) with one coefficient set;
// designs met by several targets are computed once.
class TargetEvaluator {
public:
    explicit TargetEvaluator(const ModelParameters& mp);
    ~TargetEvaluator();
    TargetEvaluator(const TargetEvaluator&) = delete;
    TargetEvaluator& operator=(const TargetEvaluator&) = delete;

    TargetResult evaluate(const CalibrationTarget& target);

private:
    struct Evaluated;
    const Evaluated& design(const std::string& changes, bool withPuffs);
    std::optional<double> evaluateOnce(const CalibrationTarget& target, const std::string& designs,
                                       std::string& error);

    const ModelParameters& mp_;
    std::map<std::string, std::unique_ptr<Evaluated>> cache_;
};

// "0.6 to 0.72", "at least 1.05" and the like, for reports.
std::string rangeText(const CalibrationTarget& target);

}  // namespace veltrano::calibration
