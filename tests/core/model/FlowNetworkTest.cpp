#include <cmath>

#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "core/model/Characteristics.h"
#include "core/model/FlowNetwork.h"
#include "core/model/StationaryFlow.h"

namespace veltrano {
namespace {

using testing::fixtureParameters;

DesignValues withCoefficients(DesignValues d = {}) {
    applyDefaults(d, fixtureParameters());
    computePerforationCoefficients(d, fixtureParameters());
    computeFilterCoefficients(d);
    computePaperCoefficients(d);
    computeRodCoefficients(d);
    return d;
}

TEST(Segments, LengthZeroReturnsItsInput) {
    const FlowState solid = solidSegment(5e4, 1.2, 0, 0.36, 900);
    EXPECT_EQ(solid.v, 0.36);
    EXPECT_EQ(solid.p, 900);
    const FlowState porous = porousSegment({2e-5, 0.7}, {5e4, 1.2}, 0, {0.36, 900}, 7.9);
    EXPECT_EQ(porous.v, 0.36);
    EXPECT_EQ(porous.p, 900);
}

TEST(Segments, NegativeVelocityReversesTheLoss) {
    const double forward = solidSegment(5e4, 1.2, 20, 0.3, 100).p - 100;
    const double backward = solidSegment(5e4, 1.2, 20, -0.3, 100).p - 100;
    EXPECT_LT(forward, 0);
    EXPECT_DOUBLE_EQ(backward, -forward);
}

TEST(Segments, PorousWallDrawsAirInTowardTheLitEnd) {
    // Integrated from the mouth side, suction pulls air in: the axial flow falls toward the lit end.
    const FlowState s = porousSegment({8e-6, 1}, {5e4, 1}, 50, {0.36, 600}, 7.9);
    EXPECT_LT(s.v, 0.36);
    EXPECT_LT(s.p, 600);
}

TEST(OpenNetwork, WithoutPerforationMatchesTheClosedOne) {
    DesignValues d = withCoefficients();
    d.tp_k = 0;
    const double v0 = standardVelocity(d.fi_diam);
    Stations vo{}, po{}, vc{}, pc{};
    vo[0] = vc[0] = v0;
    po[0] = pc[0] = 1000;
    solveOpen(d, vo, po, kNoCoalIso);
    solveClosed(d, vc, pc);
    EXPECT_EQ(vo[1], vo[2]);
    EXPECT_NEAR(po[0], pc[0], 2.0);  // both lit ends within 1 Pa of the atmosphere
    EXPECT_LE(std::fabs(po[5]), 1);
    EXPECT_LE(std::fabs(pc[5]), 1);
}

TEST(OpenNetwork, SealedPaperLosesOnlyTheAxialPressureDrops) {
    DesignValues d = withCoefficients();
    d.cp_k = 0;
    d.tp_k = 0;
    const double v0 = standardVelocity(d.fi_diam);
    Stations v{}, p{};
    v[0] = v0;
    p[0] = 500;
    solveOpen(d, v, p, kNoCoalIso);
    for (double station : v) EXPECT_EQ(station, v0);
    const double axial = d.fi_k * std::pow(v0, d.fi_n) * d.fi_len * 0.001 +
                         d.ro_k * std::pow(v0, d.ro_n) * (d.ci_len - d.fi_len) * 0.001;
    EXPECT_NEAR(p[0], axial, 1.0);
}

TEST(OpenNetwork, CoalAddsItsPressureDropBehindTheRod) {
    DesignValues d = withCoefficients();
    d.coal_len = 6;
    d.coal1_k = 1e5;
    d.coal1_n = 1;
    const double v0 = standardVelocity(d.fi_diam);
    Stations v{}, p{}, vn{}, pn{};
    v[0] = vn[0] = v0;
    p[0] = pn[0] = 1100;
    solveOpen(d, v, p, kFirstPuffCoal);
    solveOpen(d, vn, pn, kNoCoal);
    EXPECT_GT(p[0], pn[0] + 5);
}

// Residuals made up for the loop alone: each pass sets p[5] from p[0].
template <class Residual>
auto passOf(Residual residual) {
    return [residual](Stations&, Stations& p) { p[5] = residual(p[0]); };
}

TEST(ShootingLoop, ConvergesOnASmoothResidual) {
    Stations v{}, p{};
    p[0] = 100;
    ShootingStatistics stats;
    const int passes = shootMouthSuction(v, p, passOf([](double x) { return 0.002 * x * x - 1500; }), &stats);
    EXPECT_LE(std::fabs(p[5]), 1);
    EXPECT_LT(passes, 30);
    EXPECT_EQ(stats.unconvergedSolves, 0);
}

TEST(ShootingLoop, EndsAtTheCapWhenNoSuctionIsEverHighEnough) {
    // p[0] grows by 1.2 per pass and never brackets the root.
    Stations v{}, p{};
    p[0] = 100;
    ShootingStatistics stats;
    EXPECT_EQ(shootMouthSuction(v, p, passOf([](double x) { return x - 1e300; }), &stats),
              kMaxShootingPasses);
    EXPECT_EQ(stats.unconvergedSolves, 1);
    EXPECT_TRUE(std::isfinite(p[0]));
}

TEST(ShootingLoop, EndsWhereEveryFurtherPassWouldRepeatTheLast) {
    // A jump across the tolerance: halving shrinks the bracket to two neighbouring doubles, after which
    // each pass would be the same as the one before, up to the cap.
    Stations v{}, p{};
    p[0] = 100;
    ShootingStatistics stats;
    const int passes =
        shootMouthSuction(v, p, passOf([](double x) { return x < 500 ? -10.0 : 10.0; }), &stats);
    EXPECT_LT(passes, kBisectionAfterPasses + 100);
    EXPECT_EQ(stats.unconvergedSolves, 1);
    EXPECT_EQ(p[0], 500);
    EXPECT_EQ(p[5], 10);
}

TEST(ShootingLoop, HalvesTheBracketOfACreepingSecant) {
    // The secant keeps one end of the bracket and creeps toward the root from the other side.
    Stations v{}, p{};
    p[0] = 100;
    ShootingStatistics stats;
    const int passes =
        shootMouthSuction(v, p, passOf([](double x) { return std::exp((x - 700) / 5) - 1.5; }), &stats);
    EXPECT_LE(std::fabs(p[5]), 1);
    EXPECT_GT(passes, kBisectionAfterPasses);
    EXPECT_LT(passes, kBisectionAfterPasses + 60);
    EXPECT_EQ(stats.unconvergedSolves, 0);
}

TEST(ShootingLoop, HalvesTheBracketWhereTheSecantWouldRepeatItself) {
    // From 1000 the suction shrinks to 694.4 (still too much) and 578.7, where the residual is huge. The
    // secant through that point lands exactly on 694.4 again: without the halving the loop would make
    // the same pass forever.
    Stations v{}, p{};
    p[0] = 1000;
    ShootingStatistics stats;
    const auto residual = [](double x) { return x < 600 ? -0x1p100 : 0.5 * (x - 650); };
    shootMouthSuction(v, p, passOf(residual), &stats);
    EXPECT_LE(std::fabs(p[5]), 1);
    EXPECT_EQ(stats.unconvergedSolves, 0);
}

TEST(ShootingLoop, NotANumberEndsTheLoop) {
    Stations v{}, p{};
    p[0] = 100;
    EXPECT_EQ(shootMouthSuction(v, p, passOf([](double) { return std::nan(""); })), 1);
}

}  // namespace
}  // namespace veltrano
