#include "core/explore/TargetDesign.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>
#include <random>

#include <nlopt.h>

#include "core/model/ParallelTasks.h"

namespace veltrano {

namespace {

// What a variant the sheet refuses, or one whose outputs are not numbers, costs: far above any real
// compromise, so the search turns back to where the rules hold.
constexpr double kRefusedPenalty = 1e6;
// The search works on each variable scaled to 0..1 of its bounds; it starts with steps of a tenth.
constexpr double kFirstStep = 0.1, kSmallestStep = 1e-6;

double objectiveOf(const std::vector<DesignTarget>& targets, const std::vector<TargetReached>& reached) {
    double sum = 0;
    for (std::size_t i = 0; i < targets.size(); ++i)
        sum += targets[i].weight * reached[i].deviation * reached[i].deviation;
    return std::isfinite(sum) ? sum : kRefusedPenalty;
}

bool allMet(const std::vector<TargetReached>& reached) {
    return std::all_of(reached.begin(), reached.end(), [](const TargetReached& t) { return t.met; });
}

// What the starts share while they run: the first start (in start order) that met every target, the
// recalculations so far, the caller's callbacks.
struct SharedState {
    const TargetSearchCallbacks* callbacks = nullptr;
    std::atomic<int> firstMet{std::numeric_limits<int>::max()};
    std::atomic<bool> cancelled{false};
    std::mutex callbackMutex;
    int evaluations = 0;  // under the mutex

    // Whether the start may go on: no earlier start has met every target and nobody cancelled.
    bool goOn(int start) {
        if (firstMet < start || cancelled) return false;
        std::lock_guard lock(callbackMutex);
        if (callbacks->cancelRequested && callbacks->cancelRequested()) cancelled = true;
        return !cancelled;
    }
    void evaluated() {
        std::lock_guard lock(callbackMutex);
        ++evaluations;
        if (callbacks->progress) callbacks->progress(evaluations);
    }
    void met(int start) {
        int seen = firstMet;
        while (start < seen && !firstMet.compare_exchange_weak(seen, start)) {
        }
    }
};

// One start of the search: its best variant so far.
struct StartSearch {
    const std::vector<DesignVariable>* variables = nullptr;
    const std::vector<DesignTarget>* targets = nullptr;
    const DesignValues* current = nullptr;
    const ExploreBasis* basis = nullptr;
    SharedState* shared = nullptr;
    int index = 0;
    nlopt_opt opt = nullptr;

    std::vector<double> start;  // scaled
    int evaluations = 0;
    bool found = false;
    double objective = std::numeric_limits<double>::infinity();
    std::vector<double> values;
    std::vector<TargetReached> reached;
    std::vector<int> errors;

    std::vector<double> natural(const double* x) const {
        std::vector<double> v;
        for (std::size_t i = 0; i < variables->size(); ++i) {
            const ValueRange& b = (*variables)[i].bounds;
            v.push_back(std::lerp(b.lo, b.hi, std::clamp(x[i], 0.0, 1.0)));
        }
        return v;
    }

    double evaluate(const double* x) {
        if (!shared->goOn(index)) {
            nlopt_force_stop(opt);
            return kRefusedPenalty;
        }
        ++evaluations;
        std::vector<double> v = natural(x);
        VariantResult r = evaluateVariant(designWithVariables(*current, *variables, v), *basis, false,
                                          InnerThreads::CallingThread);
        shared->evaluated();
        if (r.status != VariantStatus::Computed) return kRefusedPenalty;
        std::vector<TargetReached> t = targetsReached(*targets, r.values);
        const double f = objectiveOf(*targets, t);
        if (f < objective) {
            found = true;
            objective = f;
            values = std::move(v);
            errors = std::move(r.errors);
            reached = std::move(t);
            if (allMet(reached)) {
                shared->met(index);
                nlopt_force_stop(opt);
            }
        }
        return f;
    }

    void run(int maxEvaluations) {
        const unsigned n = static_cast<unsigned>(variables->size());
        // Quadratic models need two variables; a single one is searched by linear approximations.
        std::unique_ptr<nlopt_opt_s, decltype(&nlopt_destroy)> owner(
            nlopt_create(n >= 2 ? NLOPT_LN_BOBYQA : NLOPT_LN_COBYLA, n), nlopt_destroy);
        opt = owner.get();
        nlopt_set_lower_bounds1(opt, 0.0);
        nlopt_set_upper_bounds1(opt, 1.0);
        nlopt_set_min_objective(
            opt,
            [](unsigned, const double* x, double*, void* self) {
                return static_cast<StartSearch*>(self)->evaluate(x);
            },
            this);
        nlopt_set_maxeval(opt, maxEvaluations);
        nlopt_set_initial_step1(opt, kFirstStep);
        nlopt_set_xtol_abs1(opt, kSmallestStep);
        std::vector<double> x = start;
        double f = 0;
        nlopt_optimize(opt, x.data(), &f);
        opt = nullptr;
    }
};

// The starting points, scaled: the current design's values (kept within the bounds), then points drawn
// evenly over the bounds from a generator whose sequence the language fixes.
std::vector<std::vector<double>> startingPoints(const std::vector<DesignVariable>& variables,
                                                const DesignValues& current,
                                                const TargetSearchLimits& limits) {
    std::vector<std::vector<double>> starts;
    std::vector<double> today;
    for (const DesignVariable& v : variables) {
        const double t = (current.*v.field->member() - v.bounds.lo) / (v.bounds.hi - v.bounds.lo);
        // A value that is not a number starts in the middle.
        today.push_back(std::isfinite(t) ? std::clamp(t, 0.0, 1.0) : 0.5);
    }
    starts.push_back(today);
    std::mt19937 generator(limits.seed);
    while (static_cast<int>(starts.size()) < limits.starts) {
        std::vector<double> x;
        for (std::size_t i = 0; i < variables.size(); ++i) x.push_back(generator() / 4294967296.0);
        starts.push_back(x);
    }
    return starts;
}

}  // namespace

std::optional<std::string> checkTargetDesign(const std::vector<DesignVariable>& variables,
                                             const std::vector<DesignTarget>& targets,
                                             const DesignValues& current) {
    if (variables.empty() || variables.size() > kMaxDesignVariables) return "give 1 to 4 variables";
    if (targets.empty() || targets.size() > kMaxDesignTargets) return "give 1 to 6 targets";
    for (std::size_t i = 0; i < variables.size(); ++i) {
        const DesignVariable& v = variables[i];
        if (!v.field) return "a variable has no field";
        const std::string name(v.field->name());
        if (!isOffered(*v.field, current)) return "the field " + name + " cannot be edited on this design";
        for (std::size_t j = 0; j < i; ++j)
            if (variables[j].field == v.field) return "the field " + name + " is given twice";
        if (!std::isfinite(v.bounds.lo) || !std::isfinite(v.bounds.hi) || !(v.bounds.lo < v.bounds.hi))
            return "the bounds of " + name + " must be two finite numbers, the lower first";
    }
    for (const DesignTarget& t : targets) {
        if (!t.output || !t.output->targetable) return "a target must be one of the offered outputs";
        const std::string name(t.output->name);
        if (!std::isfinite(t.value) || t.value == 0)
            return "the target of " + name + " must be a number other than 0";
        if (!std::isfinite(t.weight) || !(t.weight > 0)) return "the weight of " + name + " must be above 0";
        if (!std::isfinite(t.tolerance) || !(t.tolerance > 0)) return "the tolerance must be above 0";
    }
    return std::nullopt;
}

DesignValues designWithVariables(const DesignValues& current, const std::vector<DesignVariable>& variables,
                                 const std::vector<double>& values) {
    DesignValues design = current;
    for (std::size_t i = 0; i < variables.size() && i < values.size(); ++i)
        storeValue(*variables[i].field, design, values[i]);
    return design;
}

std::vector<TargetReached> targetsReached(const std::vector<DesignTarget>& targets,
                                          const DesignValues& design) {
    std::vector<TargetReached> reached;
    for (const DesignTarget& t : targets) {
        TargetReached r;
        r.reached = t.output->read(design);
        r.deviation = (r.reached - t.value) / std::fabs(t.value);
        r.met = std::fabs(r.deviation) <= t.tolerance;
        reached.push_back(r);
    }
    return reached;
}

TargetDesignResult designToTargets(const std::vector<DesignVariable>& variables,
                                   const std::vector<DesignTarget>& targets, const DesignValues& current,
                                   const ExploreBasis& basis, const TargetSearchLimits& limits,
                                   const TargetSearchCallbacks& callbacks) {
    const std::vector<std::vector<double>> starts = startingPoints(variables, current, limits);
    SharedState shared;
    shared.callbacks = &callbacks;
    std::vector<StartSearch> searches(starts.size());
    ParallelTasks tasks(static_cast<int>(searches.size()), [&](int i, int) {
        StartSearch& s = searches[static_cast<std::size_t>(i)];
        s.variables = &variables;
        s.targets = &targets;
        s.current = &current;
        s.basis = &basis;
        s.shared = &shared;
        s.index = i;
        s.start = starts[static_cast<std::size_t>(i)];
        if (shared.goOn(i)) s.run(limits.evaluationsPerStart);
    });
    tasks.waitAll();

    // The first start that met every target, else the lowest sum (the earlier start on a tie).
    TargetDesignResult result;
    result.cancelled = shared.cancelled;
    const int winner = shared.firstMet;
    for (const StartSearch& s : searches)
        if (s.index <= winner) result.evaluations += s.evaluations;
    const StartSearch* best = nullptr;
    if (winner < static_cast<int>(searches.size())) {
        best = &searches[static_cast<std::size_t>(winner)];
    } else {
        for (const StartSearch& s : searches)
            if (s.found && (!best || s.objective < best->objective)) best = &s;
    }
    if (!best) return result;
    result.found = true;
    result.variables = best->values;
    result.targets = best->reached;
    result.allMet = allMet(best->reached);
    result.objective = best->objective;
    result.errors = best->errors;
    return result;
}

}  // namespace veltrano
