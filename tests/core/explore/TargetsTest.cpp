#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/explore/Targets.h"

namespace veltrano {
namespace {

const ExploreOutput* output(std::string_view name) {
    return findExploreOutput(name);
}

TEST(Targets, ReadTheThreeRelationsWithTheirWeights) {
    struct Case {
        const char* text;
        const char* output;
        TargetKind kind;
        double value;
        double weight;
    };
    const std::vector<Case> cases{
        {"iso_nfdpm=8", "iso_nfdpm", TargetKind::Equal, 8, 1},
        {"iso_nfdpm=8:2.5", "iso_nfdpm", TargetKind::Equal, 8, 2.5},
        {"iso_nfdpm<=10", "iso_nfdpm", TargetKind::AtMost, 10, 1},
        {"iso_co>=1e1:3", "iso_co", TargetKind::AtLeast, 10, 3},
        {"stat_fivent=0", "stat_fivent", TargetKind::Equal, 0, 1},
        {"stat_totvent<=0", "stat_totvent", TargetKind::AtMost, 0, 1},
        {"alt_co=20", "alt_co", TargetKind::Equal, 20, 1},
        {"alt_puff>=7.5", "alt_puff", TargetKind::AtLeast, 7.5, 1},
    };
    for (const Case& c : cases) {
        std::string problem;
        const std::optional<DesignTarget> t = parseTarget(c.text, problem);
        ASSERT_TRUE(t.has_value()) << c.text << ": " << problem;
        EXPECT_EQ(t->output, output(c.output)) << c.text;
        EXPECT_EQ(t->kind, c.kind) << c.text;
        EXPECT_EQ(t->value, c.value) << c.text;
        EXPECT_EQ(t->weight, c.weight) << c.text;
    }
}

TEST(Targets, RefuseTextsThatAreNoTargetAndSayWhy) {
    struct Case {
        const char* text;
        const char* named;  // what the problem must mention
    };
    const std::vector<Case> cases{
        {"", "expected NAME=VALUE"},
        {"iso_nfdpm", "expected NAME=VALUE"},
        {"iso_nfdpm<10", "expected NAME=VALUE"},
        {"iso_nfdpm=>10", "must be numbers"},
        {"iso_nfdpm==10", "must be numbers"},
        {"nonsense=10", "'nonsense' is not an output"},
        {"=10", "'' is not an output"},
        {"iso_nfdpm=", "must be numbers"},
        {"iso_nfdpm= 8", "must be numbers"},
        {"iso_nfdpm=8x", "must be numbers"},
        {"iso_nfdpm=nan", "must be numbers"},
        {"iso_nfdpm=inf", "must be numbers"},
        {"iso_nfdpm=1e999", "must be numbers"},
        {"iso_nfdpm=8:", "must be numbers"},
        {"iso_nfdpm=8:1:2", "must be numbers"},
        {"iso_nfdpm=-8", "cannot be negative"},
        {"stat_fivent>=-1", "cannot be negative"},
        {"iso_nfdpm=0", "cannot be 0"},
        {"stat_pdo<=0", "cannot be 0"},
        {"iso_nfdpm=8:0", "weight of iso_nfdpm must be above 0"},
        {"iso_nfdpm=8:-1", "weight of iso_nfdpm must be above 0"},
    };
    for (const Case& c : cases) {
        std::string problem;
        EXPECT_FALSE(parseTarget(c.text, problem).has_value()) << c.text;
        EXPECT_NE(problem.find(c.named), std::string::npos) << c.text << ": " << problem;
        EXPECT_NE(problem.find(std::string("'") + c.text + "'"), std::string::npos)
            << c.text << " is quoted in: " << problem;
    }
}

TEST(Targets, AnOutputNamedTwiceIsRefusedWhateverTheRelations) {
    const DesignTarget tar{output("iso_nfdpm"), 8},
        tarCeiling{output("iso_nfdpm"), 10, 1, 0.01, TargetKind::AtMost}, co{output("iso_co"), 10};
    EXPECT_FALSE(checkTargets(std::vector<DesignTarget>{tar, co}).has_value());
    for (const std::vector<DesignTarget>& twice :
         {std::vector<DesignTarget>{tar, co, tar}, std::vector<DesignTarget>{tarCeiling, tar}}) {
        const std::optional<std::string> why = checkTargets(twice);
        ASSERT_TRUE(why.has_value());
        EXPECT_NE(why->find("iso_nfdpm is named twice"), std::string::npos) << *why;
    }
    const DesignTarget noTolerance{output("iso_co"), 10, 1, 0};
    EXPECT_TRUE(checkTargets(std::vector<DesignTarget>{noTolerance}).has_value());
    EXPECT_TRUE(checkTargets(std::vector<DesignTarget>{DesignTarget{}}).has_value());
}

TEST(Targets, ATargetIsMetWithinItsToleranceALimitOnItsSide) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        TargetKind kind;
        double value, reached;
        double deviation, miss;
        bool met;
    };
    // Tolerance 1 %, deviations relative to the value.
    const std::vector<Case> cases{
        {"on the target", TargetKind::Equal, 8, 8, 0, 0, true},
        {"within 1 % below", TargetKind::Equal, 8, 7.93, -0.00875, -0.00875, true},
        {"beyond 1 % above", TargetKind::Equal, 8, 8.1, 0.0125, 0.0125, false},
        {"a ceiling kept", TargetKind::AtMost, 10, 7, -0.3, 0, true},
        {"a ceiling touched", TargetKind::AtMost, 10, 10, 0, 0, true},
        {"a ceiling passed by less than the tolerance", TargetKind::AtMost, 10, 10.05, 0.005, 0.005, false},
        {"a floor kept", TargetKind::AtLeast, 10, 12, 0.2, 0, true},
        {"a floor missed", TargetKind::AtLeast, 10, 9, -0.1, -0.1, false},
        {"no number reached", TargetKind::Equal, 8, nan, nan, nan, false},
        {"no number under a ceiling", TargetKind::AtMost, 10, nan, nan, nan, false},
    };
    for (const Case& c : cases) {
        const DesignTarget t{output("iso_nfdpm"), c.value, 1, 0.01, c.kind};
        const TargetReached r = targetReached(t, c.reached, deviationScale(t, 5));
        EXPECT_EQ(r.met, c.met) << c.what;
        if (std::isnan(c.deviation)) {
            EXPECT_TRUE(std::isnan(r.deviation) && std::isnan(r.miss)) << c.what;
            continue;
        }
        EXPECT_NEAR(r.deviation, c.deviation, 1e-12) << c.what;
        EXPECT_NEAR(r.miss, c.miss, 1e-12) << c.what;
    }
}

TEST(Targets, ATargetOf0IsMeasuredAgainstTodaysValue) {
    const DesignTarget none{output("stat_fivent"), 0};
    // Today 16 %: 0.08 % of ventilation is half a percent of today's value.
    EXPECT_EQ(deviationScale(none, 16), 16);
    const TargetReached near = targetReached(none, 0.08, deviationScale(none, 16));
    EXPECT_DOUBLE_EQ(near.deviation, 0.005);
    EXPECT_TRUE(near.met);
    EXPECT_FALSE(targetReached(none, 0.2, deviationScale(none, 16)).met);
    // Today at 0 as well (or not known): the output's own unit.
    EXPECT_EQ(deviationScale(none, 0), 1);
    EXPECT_EQ(deviationScale(none, std::numeric_limits<double>::quiet_NaN()), 1);
    EXPECT_EQ(deviationScale(DesignTarget{output("stat_fivent"), -3}, 16), 3);
}

}  // namespace
}  // namespace veltrano
