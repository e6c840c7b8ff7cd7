#include "core/explore/TargetDesign.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>
#include <random>

#include <nlopt.h>

#include "core/design/NumberText.h"
#include "core/explore/DiffusionCoupling.h"
#include "core/model/ParallelTasks.h"

namespace veltrano {

namespace {

// What a variant the sheet refuses, or one whose outputs are not numbers, costs: far above any real
// compromise, so the search turns back to where the rules hold.
constexpr double kRefusedPenalty = 1e6;
// The search works on each variable scaled to 0..1 of its bounds. Its first steps are a quarter of
// today's value, within a thousandth and a tenth of the bounds; it ends at steps of a millionth. An
// answer within that of a bound sits at it.
constexpr double kFirstStep = 0.1, kSmallestFirstStep = 0.001, kSmallestStep = 1e-6;
// The search goes on until every target is within this relative deviation (or its tolerance, where that
// is smaller): about as close as the model's flow tolerance lets its outputs settle.
constexpr double kCloseEnough = 1e-4;
// A search has gained when its root-sum-square miss, or the distance of the nearest variant from today's
// design, comes down by this much.
constexpr double kMeaningfulGain = kCloseEnough / 10;
// The steps that bring the nearest variant back close to the targets: a tenth of the first ones.
constexpr double kClosingStep = 0.1;

using Optimizer = std::unique_ptr<nlopt_opt_s, decltype(&nlopt_destroy)>;

// An optimizer over the scaled variables that starts with `steps` and ends once its steps are below
// `smallest` (scaled too).
Optimizer boundedOptimizer(nlopt_algorithm algorithm, const std::vector<double>& steps,
                           const std::vector<double>& smallest, int maxEvaluations) {
    Optimizer opt(nlopt_create(algorithm, static_cast<unsigned>(steps.size())), nlopt_destroy);
    nlopt_set_lower_bounds1(opt.get(), 0.0);
    nlopt_set_upper_bounds1(opt.get(), 1.0);
    nlopt_set_maxeval(opt.get(), std::max(maxEvaluations, 1));
    nlopt_set_initial_step(opt.get(), steps.data());
    nlopt_set_xtol_abs(opt.get(), smallest.data());
    return opt;
}

// Whether a search still gains: it has stalled once as many evaluations as the method's first model
// takes (2n + 1), and ten more, have brought its best measure no lower by kMeaningfulGain. Where the
// model's flow tolerance (or a step in its outputs) leaves nothing better within reach, the rest of the
// evaluations would go on ever smaller steps that gain nothing.
class Progress {
public:
    explicit Progress(std::size_t variables) : patience_(2 * static_cast<int>(variables) + 11) {}
    void reached(double measure, int evaluation) {
        if (best_ - measure < kMeaningfulGain) return;
        best_ = measure;
        at_ = evaluation;
    }
    bool stalled(int evaluation) const { return std::isfinite(best_) && evaluation - at_ >= patience_; }

private:
    int patience_;
    double best_ = std::numeric_limits<double>::infinity();
    int at_ = 0;
};

// One recalculated variant: where it lies (scaled and in natural units) and how the targets fare.
struct Trial {
    std::vector<double> x;
    std::vector<double> values;
    bool computed = false;
    std::vector<TargetReached> reached;
    std::vector<int> errors;
};

// The question as the search works on it: the variables scaled to 0..1 of their search bounds, and the
// scales the deviations are measured against.
struct Problem {
    const DesignQuestion& question;
    const DesignValues& current;
    const ExploreBasis& basis;
    std::vector<ValueRange> bounds;
    std::vector<double> scales;
    std::vector<double> today;  // scaled, kept within the bounds
    std::vector<double> steps;  // scaled: the first steps of a search

    Problem(const DesignQuestion& q, const DesignValues& c, const ExploreBasis& b)
        : question(q), current(c), basis(b) {
        for (const DesignVariable& v : q.variables) {
            bounds.push_back(searchBounds(v, c));
            const ValueRange& r = bounds.back();
            const double value = c.*v.field->member();
            const double t = (value - r.lo) / (r.hi - r.lo);
            // A value that is not a number starts in the middle.
            today.push_back(std::isfinite(t) ? std::clamp(t, 0.0, 1.0) : 0.5);
            const double quarter = std::fabs(value) / 4 / (r.hi - r.lo);
            steps.push_back(std::isfinite(quarter) && quarter > 0
                                ? std::clamp(quarter, kSmallestFirstStep, kFirstStep)
                                : kFirstStep);
        }
        // A target of 0 measures against today's value of its output, as the recalculation gives it.
        const bool anyZero = std::any_of(q.targets.begin(), q.targets.end(),
                                         [](const DesignTarget& t) { return t.value == 0; });
        const VariantResult now =
            anyZero ? evaluateVariant(c, b, false, InnerThreads::Machine) : VariantResult();
        for (const DesignTarget& t : q.targets)
            scales.push_back(deviationScale(t, now.status == VariantStatus::Computed
                                                   ? t.output->read(now.values)
                                                   : std::numeric_limits<double>::quiet_NaN()));
    }

    std::size_t size() const { return bounds.size(); }

    Trial evaluate(const double* x, InnerThreads threads) const {
        Trial trial;
        trial.x.assign(x, x + size());
        for (std::size_t i = 0; i < size(); ++i)
            trial.values.push_back(std::lerp(bounds[i].lo, bounds[i].hi, std::clamp(x[i], 0.0, 1.0)));
        VariantResult r =
            evaluateVariant(designPoint(question, current, trial.values, basis.mp), basis, false, threads);
        trial.computed = r.status == VariantStatus::Computed;
        trial.errors = std::move(r.errors);
        if (trial.computed)
            for (std::size_t i = 0; i < question.targets.size(); ++i) {
                const DesignTarget& t = question.targets[i];
                trial.reached.push_back(targetReached(t, t.output->read(r.values), scales[i]));
            }
        return trial;
    }

    // The weighted sum of squared misses; the penalty for a refused variant or one that is not a number.
    double objective(const Trial& trial) const {
        if (!trial.computed) return kRefusedPenalty;
        double sum = 0;
        for (std::size_t i = 0; i < trial.reached.size(); ++i)
            sum += question.targets[i].weight * trial.reached[i].miss * trial.reached[i].miss;
        return std::isfinite(sum) ? sum : kRefusedPenalty;
    }

    // Every target as close as the search goes, every limit on its side.
    bool closeEnough(const Trial& trial) const {
        if (!trial.computed) return false;
        for (std::size_t i = 0; i < trial.reached.size(); ++i) {
            const double close = std::min(kCloseEnough, question.targets[i].tolerance);
            if (!(std::fabs(trial.reached[i].miss) <= close)) return false;
        }
        return true;
    }

    double distanceFromToday(const std::vector<double>& x) const {
        double sum = 0;
        for (std::size_t i = 0; i < size(); ++i) sum += (x[i] - today[i]) * (x[i] - today[i]);
        return sum;
    }
};

// What the searches share while they run: the first start (in start order) that came close enough, the
// recalculations so far, the caller's callbacks.
struct SharedState {
    const TargetSearchCallbacks* callbacks = nullptr;
    std::atomic<int> firstClose{std::numeric_limits<int>::max()};
    std::atomic<bool> cancelled{false};
    std::mutex callbackMutex;
    int evaluations = 0;  // under the mutex

    // Whether the work of start `start` may go on: no earlier start has come close enough and nobody
    // cancelled.
    bool goOn(int start) {
        if (firstClose < start || cancelled) return false;
        std::lock_guard lock(callbackMutex);
        if (callbacks->cancelRequested && callbacks->cancelRequested()) cancelled = true;
        return !cancelled;
    }
    void evaluated() {
        std::lock_guard lock(callbackMutex);
        ++evaluations;
        if (callbacks->progress) callbacks->progress(evaluations);
    }
    void closeEnough(int start) {
        int seen = firstClose;
        while (start < seen && !firstClose.compare_exchange_weak(seen, start)) {
        }
    }
};

// A search for the variant closest to the targets from one starting point: its closest variant so far
// (the earlier one on a tie).
struct StartSearch {
    const Problem* problem = nullptr;
    SharedState* shared = nullptr;
    int index = 0;  // in start order
    nlopt_opt opt = nullptr;

    int evaluations = 0;
    double objective = std::numeric_limits<double>::infinity();
    std::optional<Trial> best;
    std::optional<Progress> progress;

    double evaluate(const double* x) {
        if (!shared->goOn(index)) {
            nlopt_force_stop(opt);
            return kRefusedPenalty;
        }
        ++evaluations;
        Trial trial = problem->evaluate(x, InnerThreads::CallingThread);
        shared->evaluated();
        const double f = problem->objective(trial);
        if (trial.computed && f < objective) {
            objective = f;
            best = std::move(trial);
            progress->reached(std::sqrt(f), evaluations);
            if (problem->closeEnough(*best)) {
                shared->closeEnough(index);
                nlopt_force_stop(opt);
            }
        }
        if (progress->stalled(evaluations)) nlopt_force_stop(opt);
        return f;
    }

    void run(std::vector<double> x, const std::vector<double>& steps, int maxEvaluations) {
        // Quadratic models need two variables; a single one is searched by linear approximations.
        const Optimizer owner =
            boundedOptimizer(problem->size() >= 2 ? NLOPT_LN_BOBYQA : NLOPT_LN_COBYLA, steps,
                             std::vector<double>(problem->size(), kSmallestStep), maxEvaluations);
        opt = owner.get();
        progress.emplace(problem->size());
        nlopt_set_min_objective(
            opt,
            [](unsigned, const double* x, double*, void* self) {
                return static_cast<StartSearch*>(self)->evaluate(x);
            },
            this);
        double f = 0;
        nlopt_optimize(opt, x.data(), &f);
        opt = nullptr;
    }
};

// The deviations a variant may keep to count as reaching the targets as closely as `answer`: each target
// within half its tolerance (or, `closely`, half the close-enough deviation) or the deviation the answer
// reached, whichever is more; each limit no further beyond than the answer's (on its side where the
// answer met it).
struct Band {
    std::vector<double> lowest, highest;

    Band(const Problem& problem, const Trial& answer, bool closely) {
        const double inf = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < answer.reached.size(); ++i) {
            const DesignTarget& t = problem.question.targets[i];
            const double d = answer.reached[i].deviation;
            const double wide =
                std::max(std::fabs(d), (closely ? std::min(kCloseEnough, t.tolerance) : t.tolerance) / 2);
            switch (t.kind) {
                case TargetKind::Equal:
                    lowest.push_back(-wide);
                    highest.push_back(wide);
                    break;
                case TargetKind::AtMost:
                    lowest.push_back(-inf);
                    highest.push_back(std::max(d, 0.0));
                    break;
                case TargetKind::AtLeast:
                    lowest.push_back(std::min(d, 0.0));
                    highest.push_back(inf);
                    break;
            }
        }
    }
};

// The nearest variant to today's design that keeps a band: COBYLA minimises the distance from today's
// design under two constraints per target; the nearest variant that kept them all is the answer.
struct Narrowing {
    const Problem* problem = nullptr;
    SharedState* shared = nullptr;
    Band band;
    nlopt_opt opt = nullptr;
    int evaluations = 0;
    std::optional<Trial> best;
    double distance = std::numeric_limits<double>::infinity();
    Progress progress;

    Narrowing(const Problem& p, SharedState& s, Band b)
        : problem(&p), shared(&s), band(std::move(b)), progress(p.size()) {}

    // Each constraint is at most 0 when kept; they are measured in close-enough deviations.
    void constraints(double* c, const double* x) {
        const std::size_t m = band.lowest.size();
        if (!shared->goOn(0)) {
            nlopt_force_stop(opt);
            std::fill(c, c + 2 * m, kRefusedPenalty);
            return;
        }
        ++evaluations;
        Trial trial = problem->evaluate(x, InnerThreads::Machine);
        shared->evaluated();
        bool kept = trial.computed;
        for (std::size_t i = 0; i < m; ++i) {
            const double d = trial.computed ? trial.reached[i].deviation : kRefusedPenalty;
            const bool number = std::isfinite(d);
            c[2 * i] = number ? std::max(band.lowest[i] - d, -1.0) / kCloseEnough : kRefusedPenalty;
            c[2 * i + 1] = number ? std::max(d - band.highest[i], -1.0) / kCloseEnough : kRefusedPenalty;
            kept = kept && c[2 * i] <= 0 && c[2 * i + 1] <= 0;
        }
        const double near = problem->distanceFromToday(trial.x);
        if (kept && near < distance) {
            distance = near;
            best = std::move(trial);
            progress.reached(std::sqrt(near), evaluations);
        }
        if (progress.stalled(evaluations)) nlopt_force_stop(opt);
    }

    void run(std::vector<double> x, const std::vector<double>& steps, const std::vector<double>& smallest,
             int maxEvaluations) {
        const Optimizer owner = boundedOptimizer(NLOPT_LN_COBYLA, steps, smallest, maxEvaluations);
        opt = owner.get();
        nlopt_set_min_objective(
            opt,
            [](unsigned, const double* x, double*, void* self) {
                const Problem& p = *static_cast<Narrowing*>(self)->problem;
                return p.distanceFromToday(std::vector<double>(x, x + p.size()));
            },
            this);
        const std::vector<double> none(2 * band.lowest.size(), 0.0);
        nlopt_add_inequality_mconstraint(
            opt, static_cast<unsigned>(none.size()),
            [](unsigned, double* c, unsigned, const double* x, double*, void* self) {
                static_cast<Narrowing*>(self)->constraints(c, x);
            },
            this, none.data());
        double f = 0;
        nlopt_optimize(opt, x.data(), &f);
        opt = nullptr;
    }
};

// The starting points, scaled: the current design's values (kept within the bounds), then points drawn
// evenly over the bounds from a generator whose sequence the language fixes.
std::vector<std::vector<double>> startingPoints(const Problem& problem, const TargetSearchLimits& limits) {
    std::vector<std::vector<double>> starts{problem.today};
    std::mt19937 generator(limits.seed);
    while (static_cast<int>(starts.size()) < limits.starts) {
        std::vector<double> x;
        for (std::size_t i = 0; i < problem.size(); ++i) x.push_back(generator() / 4294967296.0);
        starts.push_back(x);
    }
    return starts;
}

bool allMet(const std::vector<TargetReached>& reached) {
    return std::all_of(reached.begin(), reached.end(), [](const TargetReached& t) { return t.met; });
}

std::size_t equalTargets(const DesignQuestion& question) {
    return static_cast<std::size_t>(
        std::count_if(question.targets.begin(), question.targets.end(),
                      [](const DesignTarget& t) { return t.kind == TargetKind::Equal; }));
}

}  // namespace

std::vector<const ExploreField*> DesignQuestion::fields() const {
    std::vector<const ExploreField*> fields;
    for (const DesignVariable& v : variables) fields.push_back(v.field);
    return fields;
}

std::vector<std::size_t> TargetDesignResult::heldBack() const {
    std::vector<std::size_t> held;
    if (!found || allMet) return held;
    for (std::size_t i = 0; i < atBound.size(); ++i)
        if (atBound[i] != BoundSide::None) held.push_back(i);
    return held;
}

ValueRange searchBounds(const DesignVariable& variable, const DesignValues& current) {
    const ValueRange valid = validRange(*variable.field, current);
    return {std::max(variable.bounds.lo, valid.lo), std::min(variable.bounds.hi, valid.hi)};
}

std::optional<std::string> checkTargetDesign(const DesignQuestion& question, const DesignValues& current,
                                             const ModelParameters& mp) {
    const std::vector<DesignVariable>& variables = question.variables;
    if (variables.empty() || variables.size() > kMaxDesignVariables) return "give 1 to 4 variables";
    if (question.targets.empty() || question.targets.size() > kMaxDesignTargets) return "give 1 to 6 targets";
    for (std::size_t i = 0; i < variables.size(); ++i) {
        const DesignVariable& v = variables[i];
        if (!v.field) return "a variable has no field";
        const std::string name(v.field->name());
        if (!isOffered(*v.field, current)) return "the field " + name + " cannot be edited on this design";
        for (std::size_t j = 0; j < i; ++j)
            if (variables[j].field == v.field) return "the field " + name + " is given twice";
        if (!std::isfinite(v.bounds.lo) || !std::isfinite(v.bounds.hi) || !(v.bounds.lo < v.bounds.hi))
            return "the bounds of " + name + " must be two finite numbers, the lower first";
        if (const ValueRange r = searchBounds(v, current); !(r.lo < r.hi)) {
            const ValueRange valid = validRange(*v.field, current);
            return "the bounds of " + name + " leave nothing the sheet accepts (" + shortestText(valid.lo) +
                   " to " + shortestText(valid.hi) + ")";
        }
    }
    if (std::optional<std::string> why = checkTargets(question.targets)) return why;
    if (question.coupleDiffusion) return couplingProblem(question.fields(), current, mp);
    return std::nullopt;
}

DesignValues designPoint(const DesignQuestion& question, const DesignValues& current,
                         const std::vector<double>& values, const ModelParameters& mp) {
    DesignValues design = current;
    for (std::size_t i = 0; i < question.variables.size() && i < values.size(); ++i)
        storeValue(*question.variables[i].field, design, values[i]);
    if (question.coupleDiffusion) coupleDiffusion(design, current, mp);
    return design;
}

std::vector<TargetReached> targetsReached(const std::vector<DesignTarget>& targets,
                                          const DesignValues& design, const DesignValues& today) {
    std::vector<TargetReached> reached;
    for (const DesignTarget& t : targets)
        reached.push_back(targetReached(t, t.output->read(design), deviationScale(t, t.output->read(today))));
    return reached;
}

TargetDesignResult designToTargets(const DesignQuestion& question, const DesignValues& current,
                                   const ExploreBasis& basis, const TargetSearchLimits& limits,
                                   const TargetSearchCallbacks& callbacks) {
    const Problem problem(question, current, basis);
    const std::vector<std::vector<double>> starts = startingPoints(problem, limits);
    SharedState shared;
    shared.callbacks = &callbacks;
    std::vector<StartSearch> searches(starts.size());
    ParallelTasks tasks(static_cast<int>(searches.size()), [&](int i, int) {
        StartSearch& s = searches[static_cast<std::size_t>(i)];
        s.problem = &problem;
        s.shared = &shared;
        s.index = i;
        if (shared.goOn(i))
            s.run(starts[static_cast<std::size_t>(i)], problem.steps, limits.evaluationsPerStart);
    });
    tasks.waitAll();

    TargetDesignResult result;
    result.bounds = problem.bounds;
    for (std::size_t i = 0; i < question.variables.size(); ++i) {
        const ValueRange& asked = question.variables[i].bounds;
        result.clipped.push_back(asked.lo != problem.bounds[i].lo || asked.hi != problem.bounds[i].hi);
    }
    result.held = heldKnownValues(question.fields(), current, question.coupleDiffusion);

    // The first start that came close enough, else the lowest sum (the earlier start on a tie).
    const int winner = shared.firstClose;
    for (const StartSearch& s : searches)
        if (s.index <= winner) result.evaluations += s.evaluations;
    const StartSearch* best = nullptr;
    if (winner < static_cast<int>(searches.size())) {
        best = &searches[static_cast<std::size_t>(winner)];
    } else {
        for (const StartSearch& s : searches)
            if (s.best && (!best || s.objective < best->objective)) best = &s;
    }
    if (!best) {
        result.cancelled = shared.cancelled;
        return result;
    }
    Trial answer = *best->best;

    // More variables than targets to reach leave a choice: the smallest change of today's design. First
    // the nearest variant within half the tolerance (a band wide enough for COBYLA's linear models), then
    // from there, in short steps, the nearest that reaches the targets as closely as the answer does.
    if (question.variables.size() > equalTargets(question) && problem.distanceFromToday(answer.x) > 0 &&
        shared.goOn(0)) {
        std::vector<double> shortSteps = problem.steps;
        for (double& step : shortSteps) step *= kClosingStep;
        // The nearest variant within the wide band need only be found to within the closing's first
        // steps.
        Narrowing near(problem, shared, Band(problem, answer, false));
        near.run(answer.x, problem.steps, shortSteps, limits.evaluationsToNarrow / 2);
        result.evaluations += near.evaluations;
        if (near.best) {
            Narrowing closing(problem, shared, Band(problem, answer, true));
            closing.run(near.best->x, shortSteps, std::vector<double>(problem.size(), kSmallestStep),
                        limits.evaluationsToNarrow - near.evaluations);
            result.evaluations += closing.evaluations;
            if (closing.best && closing.distance < problem.distanceFromToday(answer.x))
                answer = std::move(*closing.best);
        }
    }
    result.cancelled = shared.cancelled;

    result.found = true;
    result.variables = answer.values;
    for (double x : answer.x)
        result.atBound.push_back(x <= kSmallestStep       ? BoundSide::Low
                                 : x >= 1 - kSmallestStep ? BoundSide::High
                                                          : BoundSide::None);
    result.targets = answer.reached;
    result.allMet = allMet(answer.reached);
    result.objective = problem.objective(answer);
    result.errors = answer.errors;
    result.design = designPoint(question, current, answer.values, basis.mp);
    return result;
}

}  // namespace veltrano
