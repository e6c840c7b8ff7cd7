#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "ExploreTestSupport.h"
#include "core/explore/DiffusionCoupling.h"
#include "core/explore/TargetDesign.h"

namespace veltrano {
namespace {

using testing::ExploreDesigns;
using testing::fixtureParameters;

const ExploreField* field(std::string_view name) {
    return findExploreField(name);
}
const ExploreOutput* output(std::string_view name) {
    return findExploreOutput(name);
}

DesignVariable variable(const char* name, const DesignValues& current) {
    return {field(name), validRange(*field(name), current)};
}

std::vector<DesignVariable> threeVariables(const DesignValues& current) {
    std::vector<DesignVariable> variables;
    for (const char* name : {"tp_perfoperm", "cp_perm", "fi_totpd"})
        variables.push_back(variable(name, current));
    return variables;
}

// The current design with the variables at `values`, recalculated as the program would after OK.
DesignValues recalculatedAt(const ExploreDesigns& designs, const DesignQuestion& question,
                            const std::vector<double>& values) {
    std::vector<int> errors;
    return testing::recalculatedWith(
               designs, [&](DesignValues& d) { d = designPoint(question, d, values, fixtureParameters()); },
               errors)
        .currentDesign;
}

// The squared distance from today's design in the variables scaled to 0..1 of their bounds.
double distanceFromToday(const DesignQuestion& question, const DesignValues& current,
                         const std::vector<double>& values) {
    double sum = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const ValueRange& b = question.variables[i].bounds;
        const double d = (values[i] - current.*question.variables[i].field->member()) / (b.hi - b.lo);
        sum += d * d;
    }
    return sum;
}

TEST(TargetDesign, MeetsReachableTargetsAsAnIndependentRecalculationConfirms) {
    const ExploreDesigns designs;
    DesignQuestion question{threeVariables(designs.current()), {}};
    // Targets that a known design reaches: 400 CU perforation, 80 CU paper, a 500 mmH2O filter rod.
    const DesignValues aim = recalculatedAt(designs, question, {400, 80, 500});
    question.targets = {{output("stat_pdo"), aim.stat_pdo},
                        {output("stat_fivent"), aim.stat_fivent},
                        {output("iso_nfdpm"), aim.iso_nfdpm}};
    ASSERT_FALSE(checkTargetDesign(question, designs.current(), fixtureParameters()).has_value());

    const TargetDesignResult result = designToTargets(question, designs.current(), designs.basis());
    ASSERT_TRUE(result.found);
    EXPECT_TRUE(result.allMet);
    EXPECT_FALSE(result.cancelled);
    ASSERT_EQ(result.variables.size(), 3u);
    for (std::size_t i = 0; i < question.variables.size(); ++i) {
        EXPECT_GE(result.variables[i], question.variables[i].bounds.lo);
        EXPECT_LE(result.variables[i], question.variables[i].bounds.hi);
    }
    const DesignValues reached = recalculatedAt(designs, question, result.variables);
    const std::vector<TargetReached> check = targetsReached(question.targets, reached, designs.current());
    for (std::size_t i = 0; i < question.targets.size(); ++i) {
        EXPECT_TRUE(check[i].met) << question.targets[i].output->name;
        EXPECT_EQ(check[i].reached, result.targets[i].reached) << question.targets[i].output->name;
    }
    EXPECT_EQ(
        testing::imageOf(result.design),
        testing::imageOf(designPoint(question, designs.current(), result.variables, fixtureParameters())));
}

TEST(TargetDesign, GoesOnPastTheToleranceToTheBestPoint) {
    const ExploreDesigns designs;
    struct Case {
        const char* field;
        double value;  // of the field at which the aim is taken
        const char* output;
    };
    const std::vector<Case> cases{
        {"tp_perfoperm", 400, "iso_nfdpm"},
        {"cp_perm", 80, "iso_co"},
        {"fi_totpd", 500, "stat_pdo"},
    };
    for (const Case& c : cases) {
        DesignQuestion question{{variable(c.field, designs.current())}, {}};
        const double aim = output(c.output)->read(recalculatedAt(designs, question, {c.value}));
        question.targets = {{output(c.output), aim}};
        const TargetDesignResult result = designToTargets(question, designs.current(), designs.basis());
        ASSERT_TRUE(result.allMet) << c.field;
        // A tolerance of 1 % decides "met"; the search goes on to a hundredth of a percent.
        EXPECT_LE(std::fabs(result.targets[0].deviation), 1e-4) << c.field << " at " << result.variables[0];
    }
}

TEST(TargetDesign, WithMoreVariablesThanTargetsChangesTodaysDesignLeast) {
    const ExploreDesigns designs;
    const DesignValues& today = designs.current();
    // The perforation alone reaches the 'tar' target.
    DesignQuestion alone{{variable("tp_perfoperm", today)}, {}};
    const double tar = recalculatedAt(designs, alone, {400}).iso_nfdpm;
    alone.targets = {{output("iso_nfdpm"), tar}};
    const TargetDesignResult perforation = designToTargets(alone, today, designs.basis());
    ASSERT_TRUE(perforation.allMet);

    DesignQuestion both{{variable("tp_perfoperm", today), variable("cp_perm", today)}, alone.targets};
    const TargetDesignResult result = designToTargets(both, today, designs.basis());
    ASSERT_TRUE(result.allMet);
    EXPECT_LE(std::fabs(result.targets[0].deviation), 1e-4);
    // No farther from today's design than the perforation alone goes (a little slack for the model's
    // roughness), and the paper stays near today's value.
    const double perforationOnly = distanceFromToday(both, today, {perforation.variables[0], today.cp_perm});
    EXPECT_LE(distanceFromToday(both, today, result.variables), perforationOnly * 1.01);
    EXPECT_NEAR(result.variables[1], today.cp_perm,
                0.02 * (both.variables[1].bounds.hi - both.variables[1].bounds.lo));
}

TEST(TargetDesign, ALimitPullsOnlyWhenItIsNotKept) {
    const ExploreDesigns designs;
    const DesignValues& today = designs.current();
    const DesignValues now =
        recalculatedAt(designs, DesignQuestion{{variable("tp_perfoperm", today)}, {}}, {today.tp_perfoperm});
    DesignQuestion question{{variable("tp_perfoperm", today)}, {}};

    // Kept today: today's design is the answer.
    question.targets = {{output("iso_nfdpm"), now.iso_nfdpm * 1.2, 1, 0.01, TargetKind::AtMost}};
    TargetDesignResult result = designToTargets(question, today, designs.basis());
    ASSERT_TRUE(result.allMet);
    EXPECT_EQ(result.variables[0], today.tp_perfoperm);

    // Not kept today: the answer keeps it, no further inside than it must (the nearest such design).
    for (const TargetKind kind : {TargetKind::AtMost, TargetKind::AtLeast}) {
        const double limit = now.iso_nfdpm * (kind == TargetKind::AtMost ? 0.9 : 1.1);
        question.targets = {{output("iso_nfdpm"), limit, 1, 0.01, kind}};
        result = designToTargets(question, today, designs.basis());
        ASSERT_TRUE(result.allMet) << relationText(kind);
        EXPECT_TRUE(kind == TargetKind::AtMost ? result.targets[0].reached <= limit
                                               : result.targets[0].reached >= limit);
        EXPECT_LE(std::fabs(result.targets[0].deviation), 0.005) << relationText(kind);
    }

    // With a target: the limits that hold are met, the target too.
    question.targets = {{output("stat_fivent"), now.stat_fivent * 1.5},
                        {output("iso_nfdpm"), now.iso_nfdpm, 1, 0.01, TargetKind::AtMost},
                        {output("iso_co"), now.iso_co * 2, 1, 0.01, TargetKind::AtMost}};
    result = designToTargets(question, today, designs.basis());
    EXPECT_TRUE(result.allMet);
    EXPECT_LE(std::fabs(result.targets[0].deviation), 1e-4);
}

TEST(TargetDesign, ClipsBoundsToTheSheetAndNamesTheBoundsThatHoldTheAnswerBack) {
    const ExploreDesigns designs;
    const DesignValues& today = designs.current();
    // The more permeable the perforation, the less 'tar'.
    const DesignQuestion perforation{{variable("tp_perfoperm", today)}, {}};
    const double most = recalculatedAt(designs, perforation, {50}).iso_nfdpm;
    const double least = recalculatedAt(designs, perforation, {600}).iso_nfdpm;
    const double tar = recalculatedAt(designs, perforation, {today.tp_perfoperm}).iso_nfdpm;
    ASSERT_LT(least, most);
    const TargetSearchLimits quick{2, 40, 40, 7};
    struct Case {
        const char* what;
        ValueRange asked;
        double target;
        bool clipped;
        BoundSide side;
    };
    const std::vector<Case> cases{
        {"within the sheet's range", {50, 600}, tar, false, BoundSide::None},
        {"beyond the sheet's range on both sides", {-50, 1e9}, tar, true, BoundSide::None},
        {"held back by the most permeable perforation", {50, 600}, least / 2, false, BoundSide::High},
        {"held back by the least permeable perforation", {50, 600}, most * 2, false, BoundSide::Low},
    };
    for (const Case& c : cases) {
        const DesignQuestion question{{{field("tp_perfoperm"), c.asked}}, {{output("iso_nfdpm"), c.target}}};
        const TargetDesignResult result = designToTargets(question, today, designs.basis(), quick);
        ASSERT_TRUE(result.found) << c.what;
        EXPECT_EQ(result.clipped, std::vector<bool>{c.clipped}) << c.what;
        EXPECT_GE(result.bounds[0].lo, 0) << c.what;
        EXPECT_LE(result.bounds[0].hi, 8000) << c.what;
        EXPECT_EQ(result.atBound, std::vector<BoundSide>{c.side}) << c.what;
        EXPECT_EQ(result.allMet, c.side == BoundSide::None) << c.what;
        EXPECT_EQ(result.heldBack().size(), c.side == BoundSide::None ? 0u : 1u) << c.what;
        if (c.side != BoundSide::None) {
            EXPECT_EQ(result.variables[0], c.side == BoundSide::High ? c.asked.hi : c.asked.lo) << c.what;
        }
    }
}

TEST(TargetDesign, ReportsUnreachableTargetsAsNotMetWithTheBestCompromise) {
    const ExploreDesigns designs;
    // The cigarette paper alone cannot bring the filter ventilation to 60 %.
    const DesignQuestion question{{{field("cp_perm"), {0, 220}}},
                                  {{output("stat_fivent"), 60}, {output("iso_nfdpm"), 10}}};
    const TargetSearchLimits limits{2, 25, 25, 7};
    const TargetDesignResult result = designToTargets(question, designs.current(), designs.basis(), limits);
    ASSERT_TRUE(result.found);
    EXPECT_FALSE(result.allMet);
    EXPECT_FALSE(result.targets[0].met);
    EXPECT_LT(result.targets[0].deviation, -0.01);
    EXPECT_LE(result.evaluations, 2 * 25);
    // The compromise is no worse than today's design.
    const std::vector<TargetReached> today = targetsReached(
        question.targets, recalculatedAt(designs, question, {designs.current().cp_perm}), designs.current());
    double todaySum = 0;
    for (const TargetReached& t : today) todaySum += t.deviation * t.deviation;
    EXPECT_LE(result.objective, todaySum);

    // The same question gives the same answer.
    const TargetDesignResult again = designToTargets(question, designs.current(), designs.basis(), limits);
    EXPECT_EQ(again.variables, result.variables);
    EXPECT_EQ(again.evaluations, result.evaluations);
}

TEST(TargetDesign, ATargetOf0IsReachedWhereTheOutputCanBe0) {
    const ExploreDesigns designs;
    const DesignQuestion question{{variable("tp_perfoperm", designs.current())},
                                  {{output("stat_fivent"), 0}}};
    ASSERT_FALSE(checkTargetDesign(question, designs.current(), fixtureParameters()).has_value());
    const TargetDesignResult result = designToTargets(question, designs.current(), designs.basis());
    EXPECT_TRUE(result.allMet);
    EXPECT_EQ(result.targets[0].reached, 0);
    EXPECT_EQ(result.atBound, std::vector<BoundSide>{BoundSide::Low});
}

TEST(TargetDesign, SaysWhatIsHeldAndLetsTheDiffusionFollowWhenAsked) {
    const ExploreDesigns designs;
    const DesignValues& today = designs.current();
    ASSERT_TRUE(holdsKnownDiffusion(today));
    DesignQuestion question{{variable("cp_perm", today)}, {}};
    const double co = recalculatedAt(designs, question, {90}).iso_co;
    question.targets = {{output("iso_co"), co}};
    const TargetSearchLimits quick{1, 60, 0, 7};

    const TargetDesignResult held = designToTargets(question, today, designs.basis(), quick);
    EXPECT_EQ(held.held, std::vector<std::string_view>{"cp_diff"});
    EXPECT_EQ(held.design.cp_diff, today.cp_diff);

    question.coupleDiffusion = true;
    const TargetDesignResult coupled = designToTargets(question, today, designs.basis(), quick);
    EXPECT_TRUE(coupled.held.empty());
    DesignValues expected = today;
    expected.cp_perm = coupled.variables[0];
    coupleDiffusion(expected, today, fixtureParameters());
    EXPECT_EQ(coupled.design.cp_perm, coupled.variables[0]);
    EXPECT_EQ(coupled.design.cp_diff, expected.cp_diff);
    EXPECT_NE(coupled.design.cp_diff, today.cp_diff);
}

TEST(TargetDesign, ACancelEndsTheSearch) {
    const ExploreDesigns designs;
    const DesignQuestion question{threeVariables(designs.current()), {{output("stat_pdo"), 300}}};
    TargetSearchCallbacks callbacks;
    int seen = 0;
    callbacks.progress = [&](int evaluations) { seen = evaluations; };
    callbacks.cancelRequested = [&] { return seen >= 5; };
    const TargetDesignResult result =
        designToTargets(question, designs.current(), designs.basis(), {}, callbacks);
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
        DesignQuestion question;
        DesignValues current;
    };
    const std::vector<Case> cases{
        {"no variable", {{}, target}, current},
        {"five variables", {std::vector<DesignVariable>(5, one[0]), target}, current},
        {"no target", {one, {}}, current},
        {"seven targets", {one, std::vector<DesignTarget>(7, target[0])}, current},
        {"a variable twice", {{one[0], one[0]}, target}, current},
        {"bounds the wrong way round", {{{field("cp_perm"), {220, 0}}}, target}, current},
        {"a bound that is not a number", {{{field("cp_perm"), {nan, 10}}}, target}, current},
        {"bounds beyond what the sheet accepts", {{{field("cp_perm"), {300, 400}}}, target}, current},
        {"bounds that leave a single value", {{{field("cp_perm"), {220, 400}}}, target}, current},
        {"a field the sheet does not offer", {{{field("cp_diff"), {0, 3}}}, target}, noDiffusion},
        {"an output named twice",
         {one, {target[0], {output("iso_co"), 10, 1, 0.01, TargetKind::AtMost}}},
         current},
        {"a target of 0 for an output above 0", {one, {{output("iso_co"), 0}}}, current},
        {"a negative target", {one, {{output("stat_fivent"), -1}}}, current},
        {"a weight of 0", {one, {{output("iso_co"), 12, 0}}}, current},
        {"a tolerance of 0", {one, {{output("iso_co"), 12, 1, 0}}}, current},
        {"the diffusion varied while it follows", {{{field("cp_diff"), {0, 3}}}, target, true}, current},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(checkTargetDesign(c.question, c.current, fixtureParameters()).has_value()) << c.what;
    EXPECT_FALSE(checkTargetDesign({one, target}, current, fixtureParameters()).has_value());
    EXPECT_FALSE(checkTargetDesign({{{field("cp_perm"), {-1e300, 1e300}}}, {{output("alt_co"), 12}}}, current,
                                   fixtureParameters())
                     .has_value())
        << "bounds beyond the sheet's are clipped; the alternative outputs are targets too";
}

}  // namespace
}  // namespace veltrano
