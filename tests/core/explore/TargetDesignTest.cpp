#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "ExploreTestSupport.h"
#include "core/explore/TargetDesign.h"

namespace veltrano {
namespace {

using testing::ExploreDesigns;

const ExploreField* field(std::string_view name) {
    return findExploreField(name);
}
const ExploreOutput* output(std::string_view name) {
    return findExploreOutput(name);
}

std::vector<DesignVariable> threeVariables(const DesignValues& current) {
    std::vector<DesignVariable> variables;
    for (const char* name : {"tp_perfoperm", "cp_perm", "fi_totpd"})
        variables.push_back({field(name), validRange(*field(name), current)});
    return variables;
}

// The outputs of the current design with the variables at `values`, recalculated as the program would.
DesignValues recalculatedAt(const ExploreDesigns& designs, const std::vector<DesignVariable>& variables,
                            const std::vector<double>& values) {
    std::vector<int> errors;
    return testing::recalculatedWith(
               designs, [&](DesignValues& d) { d = designWithVariables(d, variables, values); }, errors)
        .currentDesign;
}

TEST(TargetDesign, MeetsReachableTargetsAsAnIndependentRecalculationConfirms) {
    const ExploreDesigns designs;
    const std::vector<DesignVariable> variables = threeVariables(designs.current());
    // Targets that a known design reaches: 400 CU perforation, 80 CU paper, a 500 mmH2O filter rod.
    const DesignValues aim = recalculatedAt(designs, variables, {400, 80, 500});
    const std::vector<DesignTarget> targets{{output("stat_pdo"), aim.stat_pdo},
                                            {output("stat_fivent"), aim.stat_fivent},
                                            {output("iso_nfdpm"), aim.iso_nfdpm}};
    ASSERT_FALSE(checkTargetDesign(variables, targets, designs.current()).has_value());

    const TargetDesignResult result = designToTargets(variables, targets, designs.current(), designs.basis());
    ASSERT_TRUE(result.found);
    EXPECT_TRUE(result.allMet);
    EXPECT_FALSE(result.cancelled);
    ASSERT_EQ(result.variables.size(), 3u);
    for (std::size_t i = 0; i < variables.size(); ++i) {
        EXPECT_GE(result.variables[i], variables[i].bounds.lo);
        EXPECT_LE(result.variables[i], variables[i].bounds.hi);
    }
    const DesignValues reached = recalculatedAt(designs, variables, result.variables);
    const std::vector<TargetReached> check = targetsReached(targets, reached);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        EXPECT_TRUE(check[i].met) << targets[i].output->name;
        EXPECT_EQ(check[i].reached, result.targets[i].reached) << targets[i].output->name;
    }
}

TEST(TargetDesign, ReportsUnreachableTargetsAsNotMetWithTheBestCompromise) {
    const ExploreDesigns designs;
    // The cigarette paper alone cannot bring the filter ventilation to 60 %.
    const std::vector<DesignVariable> variables{{field("cp_perm"), {0, 220}}};
    const std::vector<DesignTarget> targets{{output("stat_fivent"), 60}, {output("iso_nfdpm"), 10}};
    const TargetSearchLimits limits{2, 25, 7};
    const TargetDesignResult result =
        designToTargets(variables, targets, designs.current(), designs.basis(), limits);
    ASSERT_TRUE(result.found);
    EXPECT_FALSE(result.allMet);
    EXPECT_FALSE(result.targets[0].met);
    EXPECT_LT(result.targets[0].deviation, -0.01);
    EXPECT_LE(result.evaluations, 2 * 25);
    // The compromise is no worse than today's design.
    const std::vector<TargetReached> today =
        targetsReached(targets, recalculatedAt(designs, variables, {designs.current().cp_perm}));
    double todaySum = 0;
    for (const TargetReached& t : today) todaySum += t.deviation * t.deviation;
    EXPECT_LE(result.objective, todaySum);

    // The same question gives the same answer.
    const TargetDesignResult again =
        designToTargets(variables, targets, designs.current(), designs.basis(), limits);
    EXPECT_EQ(again.variables, result.variables);
    EXPECT_EQ(again.evaluations, result.evaluations);
}

TEST(TargetDesign, ACancelEndsTheSearch) {
    const ExploreDesigns designs;
    const std::vector<DesignVariable> variables = threeVariables(designs.current());
    const std::vector<DesignTarget> targets{{output("stat_pdo"), 300}};
    TargetSearchCallbacks callbacks;
    int seen = 0;
    callbacks.progress = [&](int evaluations) { seen = evaluations; };
    callbacks.cancelRequested = [&] { return seen >= 5; };
    const TargetDesignResult result =
        designToTargets(variables, targets, designs.current(), designs.basis(), {}, callbacks);
    EXPECT_TRUE(result.cancelled);
    EXPECT_LT(seen, 10);
}

TEST(TargetDesign, RefusesQuestionsThatCannotBeAsked) {
    const DesignValues current;
    const std::vector<DesignVariable> one{{field("cp_perm"), {0, 220}}};
    const std::vector<DesignTarget> target{{output("iso_co"), 12}};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    DesignValues noDiffusion;
    noDiffusion.known &= ~known::bit(KnownBit::PaperDiffusion);
    struct Case {
        const char* what;
        std::vector<DesignVariable> variables;
        std::vector<DesignTarget> targets;
        DesignValues current;
    };
    const std::vector<Case> cases{
        {"no variable", {}, target, current},
        {"five variables", std::vector<DesignVariable>(5, one[0]), target, current},
        {"no target", one, {}, current},
        {"seven targets", one, std::vector<DesignTarget>(7, target[0]), current},
        {"a variable twice", {one[0], one[0]}, target, current},
        {"bounds the wrong way round", {{field("cp_perm"), {220, 0}}}, target, current},
        {"a bound that is not a number", {{field("cp_perm"), {nan, 10}}}, target, current},
        {"a field the sheet does not offer", {{field("cp_diff"), {0, 3}}}, target, noDiffusion},
        {"an output that is no target", one, {{output("alt_co"), 12}}, current},
        {"a target of 0", one, {{output("iso_co"), 0}}, current},
        {"a weight of 0", one, {{output("iso_co"), 12, 0}}, current},
        {"a tolerance of 0", one, {{output("iso_co"), 12, 1, 0}}, current},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(checkTargetDesign(c.variables, c.targets, c.current).has_value()) << c.what;
    EXPECT_FALSE(checkTargetDesign(one, target, current).has_value());
}

}  // namespace
}  // namespace veltrano
