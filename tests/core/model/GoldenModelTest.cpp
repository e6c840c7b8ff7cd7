// The optimised model against the plain one over the corpus, and the shooting loop's pass counts.
#include <cmath>
#include <cstdio>
#include <variant>

#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "PlainModel.h"
#include "core/design/DesignFields.h"
#include "core/model/PuffByPuff.h"
#include "core/model/Recalculation.h"

namespace veltrano {
namespace {

using testing::CorpusCase;
using testing::fixtureParameters;
using testing::modelCorpus;

::testing::AssertionResult agree(const char* what, double optimised, double plain) {
    if (std::isnan(optimised) && std::isnan(plain)) return ::testing::AssertionSuccess();
    const double difference = std::fabs(optimised - plain);
    if (difference <= 1e-12 || difference <= 1e-9 * std::max(std::fabs(optimised), std::fabs(plain))) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << what << ": optimised " << optimised << ", plain " << plain;
}

void expectSameDesign(const std::string& which, const CigaretteDesign& optimised,
                      const CigaretteDesign& plain) {
    for (const DesignField& field : designFields()) {
        const std::string name = which + "." + std::string(field.name);
        std::visit(
            [&](auto member) {
                using T = std::decay_t<decltype(optimised.*member)>;
                if constexpr (std::is_same_v<T, double>) {
                    EXPECT_TRUE(agree(name.c_str(), optimised.*member, plain.*member));
                } else if constexpr (std::is_same_v<T, std::array<double, kShapeSlots>>) {
                    for (std::size_t i = 0; i < kShapeSlots; ++i) {
                        EXPECT_TRUE(agree(name.c_str(), (optimised.*member)[i], (plain.*member)[i]));
                    }
                } else {
                    EXPECT_EQ(optimised.*member, plain.*member) << name;
                }
            },
            field.member);
    }
    for (const OwnedArray& a : ownedArrays()) {
        const auto& x = optimised.*a.member;
        const auto& y = plain.*a.member;
        ASSERT_EQ(x.size(), y.size()) << a.name;
        for (std::size_t i = 0; i < x.size(); ++i) {
            EXPECT_TRUE(agree((which + "." + a.name + "[" + std::to_string(i) + "]").c_str(), x[i], y[i]));
        }
    }
    ASSERT_EQ(optimised.puff_number, plain.puff_number) << which;
    EXPECT_EQ(optimised.puff_size, plain.puff_size) << which;
    for (const PuffArray& a : puffArrays()) {
        const auto& x = optimised.*a.member;
        const auto& y = plain.*a.member;
        ASSERT_EQ(x.size(), y.size()) << a.name;
        for (std::size_t i = 0; i < x.size(); ++i) {
            EXPECT_TRUE(agree((which + "." + a.name + "[" + std::to_string(i) + "]").c_str(), x[i], y[i]));
        }
    }
}

void load(DesignSet& set, const CorpusCase& c) {
    set.referenceDesign.assign(c.reference);
    set.currentDesign.assign(c.current);
}

class GoldenModel : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(GoldenModel, OptimisedModelAgreesWithThePlainOne) {
    const ModelParameters& mp = fixtureParameters();
    DesignSet optimised, plain;
    load(optimised, GetParam());
    load(plain, GetParam());

    RecordingErrorReporter optimisedErrors, plainErrors;
    recalculate(optimised, mp, optimisedErrors);
    plain::PlainCounts counts;
    plain::recalculate(plain, mp, plainErrors, counts);
    EXPECT_EQ(optimisedErrors.numbers, plainErrors.numbers);

    NullProgressSink progress;
    runPuffByPuff(optimised.currentDesign, mp, progress);
    plain::runPuffByPuff(plain.currentDesign, mp, counts);

    expectSameDesign("workingReference", optimised.workingReference, plain.workingReference);
    expectSameDesign("currentDesign", optimised.currentDesign, plain.currentDesign);
}

INSTANTIATE_TEST_SUITE_P(Corpus, GoldenModel, ::testing::ValuesIn(modelCorpus()),
                         [](const ::testing::TestParamInfo<CorpusCase>& info) { return info.param.name; });

// Every solve of the corpus converges long before the pass cap, and the optimised model makes exactly
// the passes the plain one makes.
TEST(ShootingPasses, StayFarBelowTheCapOverTheCorpus) {
    const ModelParameters& mp = fixtureParameters();
    ShootingStatistics all;
    for (const CorpusCase& c : modelCorpus()) {
        DesignSet optimised, plain;
        load(optimised, c);
        load(plain, c);
        RecordingErrorReporter errors;
        ShootingStatistics stats;
        recalculate(optimised, mp, errors, &stats);
        NullProgressSink progress;
        runPuffByPuff(optimised.currentDesign, mp, progress, &stats);
        plain::PlainCounts counts;
        plain::recalculate(plain, mp, errors, counts);
        plain::runPuffByPuff(plain.currentDesign, mp, counts);
        EXPECT_EQ(stats.passes, counts.passes) << c.name;
        EXPECT_EQ(stats.unconvergedSolves, 0) << c.name;
        all.merge(stats);
    }
    std::printf("corpus: %lld solves, %lld passes, at most %d passes in one solve\n", all.solves, all.passes,
                all.maxPasses);
    RecordProperty("maxPasses", all.maxPasses);
    EXPECT_LT(all.maxPasses, kMaxShootingPasses / 10);
}

}  // namespace
}  // namespace veltrano
