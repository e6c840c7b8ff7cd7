#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ExploreTestSupport.h"
#include "core/explore/DiffusionCoupling.h"
#include "core/explore/Sweep.h"
#include "core/model/Characteristics.h"

namespace veltrano {
namespace {

using testing::ExploreDesigns;
using testing::fixtureParameters;
using testing::imageOf;

const ExploreField* field(std::string_view name) {
    return findExploreField(name);
}

DesignValues withoutKnownDiffusion(DesignValues d) {
    d.known &= ~known::bit(KnownBit::PaperDiffusion);
    return d;
}

DesignValues withPermeability(DesignValues d, double permeability) {
    d.cp_perm = permeability;
    return d;
}

TEST(DiffusionCoupling, AKnownDiffusionFollowsThePermeabilityScaledToTodaysValue) {
    const ModelParameters& mp = fixtureParameters();
    DesignValues today;
    today.cp_diff = 1.45;  // measured, below what the model predicts for the paper
    ASSERT_TRUE(holdsKnownDiffusion(today));
    struct Case {
        const char* what;
        DesignValues current;
        double permeability;
        double diffusion;
    };
    const double ratio = predictDiffusion(withPermeability(today, 150), mp) / predictDiffusion(today, mp);
    ASSERT_GT(ratio, 1);
    const std::vector<Case> cases{
        {"today's permeability keeps today's value bit for bit", today, today.cp_perm, 1.45},
        {"a more permeable paper diffuses more, in the model's proportion", today, 150, 1.45 * ratio},
        {"a diffusion not marked known stays as it is (the model predicts it)", withoutKnownDiffusion(today),
         150, 1.45},
    };
    for (const Case& c : cases) {
        DesignValues point = withPermeability(c.current, c.permeability);
        coupleDiffusion(point, c.current, mp);
        EXPECT_EQ(point.cp_diff, c.diffusion) << c.what;
    }
}

TEST(DiffusionCoupling, SaysWhenItCannotCoupleAndWhatIsHeldWithoutIt) {
    const ModelParameters& mp = fixtureParameters();
    const DesignValues today, predicted = withoutKnownDiffusion(today);
    // An impermeable paper predicts no diffusion to scale from.
    const DesignValues impermeable = withPermeability(today, 0);
    struct Case {
        const char* what;
        std::vector<const ExploreField*> varied;
        DesignValues current;
        bool problem;
        std::vector<std::string_view> heldWithout;
    };
    const std::vector<Case> cases{
        {"the permeability", {field("cp_perm")}, today, false, {"cp_diff"}},
        {"the permeability in a map", {field("fi_totpd"), field("cp_perm")}, today, false, {"cp_diff"}},
        {"another paper field", {field("cp_citrate")}, today, false, {}},
        {"the diffusion itself", {field("cp_diff")}, today, true, {}},
        {"the permeability of a predicted diffusion", {field("cp_perm")}, predicted, false, {}},
        {"an impermeable paper", {field("cp_perm")}, impermeable, true, {"cp_diff"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(couplingProblem(c.varied, c.current, mp).has_value(), c.problem) << c.what;
        EXPECT_EQ(heldKnownValues(c.varied, c.current, false), c.heldWithout) << c.what;
        EXPECT_TRUE(heldKnownValues(c.varied, c.current, true).empty()) << c.what << ", coupled";
    }
    const std::vector<std::string_view> held{"cp_diff"};
    EXPECT_NE(heldText(held).find("cp_diff"), std::string::npos);
    EXPECT_TRUE(heldText({}).empty());
}

TEST(DiffusionCoupling, ACoupledSweepPointIsWhatOkGivesWithBothValuesTyped) {
    const ExploreDesigns designs;
    const ModelParameters& mp = fixtureParameters();
    SweepGrid grid{SweepAxis{field("cp_perm"), 20, 150, 3}, std::nullopt, true};
    ASSERT_FALSE(checkSweepGrid(grid, designs.current(), mp).has_value());
    grid.second = SweepAxis{field("cp_diff"), 1, 2, 2};
    EXPECT_TRUE(checkSweepGrid(grid, designs.current(), mp).has_value()) << "the diffusion varied";
    grid.second.reset();

    std::vector<SweepPoint> points;
    SweepCallbacks callbacks;
    callbacks.pointDone = [&](SweepPoint&& p) { points.push_back(std::move(p)); };
    runSweep(grid, shardPoints(grid.pointCount(), 0, 1), designs.current(), designs.basis(), false,
             callbacks);
    ASSERT_EQ(points.size(), 3u);
    for (const SweepPoint& p : points) {
        DesignValues typed = withPermeability(designs.current(), p.inputs[0]);
        coupleDiffusion(typed, designs.current(), mp);
        EXPECT_EQ(grid.variantAt(p.index, designs.current(), mp).cp_diff, typed.cp_diff);
        std::vector<int> errors;
        const DesignSet ok = testing::recalculatedWith(
            designs, [&](DesignValues& d) { d = typed; }, errors);
        ASSERT_EQ(p.result.status, VariantStatus::Computed);
        EXPECT_EQ(imageOf(p.result.values), imageOf(ok.currentDesign)) << p.inputs[0];
    }
    EXPECT_NE(points[0].result.values.cp_diff, points[2].result.values.cp_diff);
}

}  // namespace
}  // namespace veltrano
