#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "ExploreTestSupport.h"
#include "core/design/ErrorMessages.h"
#include "core/design/NumberText.h"
#include "core/explore/Sweep.h"
#include "core/explore/SweepTable.h"
#include "core/model/PuffByPuff.h"

namespace veltrano {
namespace {

using testing::ExploreDesigns;
using testing::imageOf;

const ExploreField& field(std::string_view name) {
    const ExploreField* f = findExploreField(name);
    EXPECT_NE(f, nullptr) << name;
    return *f;
}

SweepGrid line(std::string_view name, double from, double to, int steps) {
    return SweepGrid{SweepAxis{&field(name), from, to, steps}, std::nullopt};
}

// Every point of the grid, run as one job.
std::vector<SweepPoint> sweep(const SweepGrid& grid, const ExploreDesigns& designs, bool puffs = false) {
    std::vector<int> all = shardPoints(grid.pointCount(), 0, 1);
    std::vector<SweepPoint> points;
    SweepCallbacks callbacks;
    callbacks.pointDone = [&](SweepPoint&& p) { points.push_back(std::move(p)); };
    EXPECT_EQ(runSweep(grid, all, designs.current(), designs.basis(), puffs, callbacks), grid.pointCount());
    return points;
}

struct FieldCase {
    const char* field;
    double value;
    DesignValues current;
    std::vector<int> errors = {};  // of the recalculation
};

TEST(Sweep, APointIsTheCurrentDesignWithTheValueStoredAndRecalculatedBitForBit) {
    const DesignValues banded = testing::withBands(DesignValues());
    const std::vector<FieldCase> cases{
        {"tp_perfoperm", 333.3333333333333, {}},
        {"tp_perfopos", 10.123456789, {}},
        {"tp_perfowidth", 2.5, {}},
        {"pw_perm", 4321.5, {}},
        {"cp_perm", 77.77, {}},
        {"cp_diff", 1.2345, {}},
        {"cp_citrate", 0.3, {}},
        {"fi_totpd", 512.25, {}},
        {"fi_len", 21.7, {}},
        {"fi_diam", 7.1, {}},
        {"ro_totpd", 71.3, {}},
        {"ro_len", 58.4, {}},
        {"ro_totmass", 812.5, {}},
        {"alt_volume", 55.5, {}},
        {"alt_blocking", 50, {}},
        {"alt_interval", 30, {}},
        {"cp_bandperm", 3.3, banded},
        {"tp_onlinevent", 18.5, testing::onlineDesign(25)},
        // Over a 2400 CU plug wrap no online perforation reaches 31.5 %: error 76 with the point.
        {"tp_onlinevent", 31.5, testing::onlineDesign(15), {76}},
    };
    for (const FieldCase& c : cases) {
        const ExploreDesigns designs(DesignValues(), c.current);
        const ExploreField& f = field(c.field);
        const std::vector<SweepPoint> points = sweep(line(c.field, c.value, c.value, 2), designs);
        ASSERT_EQ(points.size(), 2u) << c.field;
        const VariantResult& r = points[1].result;
        ASSERT_EQ(r.status, VariantStatus::Computed) << c.field;
        EXPECT_EQ(points[1].inputs, std::vector<double>{c.value});

        EXPECT_EQ(line(c.field, c.value, c.value, 2).variantAt(1, c.current).*f.member(), c.value)
            << c.field << " stored unrounded";

        std::vector<int> errors;
        const DesignSet after = testing::recalculatedWith(
            designs, [&](DesignValues& d) { storeValue(f, d, c.value); }, errors);
        EXPECT_EQ(imageOf(r.values), imageOf(after.currentDesign)) << c.field;
        EXPECT_EQ(r.values.known, designs.set.referenceDesign.known) << c.field << ": OK's known word";
        EXPECT_EQ(r.errors, errors) << c.field;
        EXPECT_EQ(r.errors, c.errors) << c.field << " = " << c.value;
    }
}

TEST(Sweep, WithPuffsAPointCarriesThePuffByPuffAnalysisOfItsDesign) {
    const ExploreDesigns designs;
    const std::vector<SweepPoint> points = sweep(line("alt_volume", 45, 60, 2), designs, true);
    std::vector<int> errors;
    DesignSet after = testing::recalculatedWith(
        designs, [](DesignValues& d) { d.alt_volume = 60; }, errors);
    NullProgressSink progress;
    runPuffByPuff(after.currentDesign, testing::fixtureParameters(), progress);
    const VariantResult& r = points[1].result;
    ASSERT_GT(r.puffNumber, 0);
    EXPECT_EQ(r.puffNumber, after.currentDesign.puff_number);
    EXPECT_EQ(r.puffSize, after.currentDesign.puff_size);
    ASSERT_EQ(r.puffSeries.size(), puffArrays().size());
    for (std::size_t k = 0; k < puffArrays().size(); ++k)
        EXPECT_EQ(r.puffSeries[k], after.currentDesign.*puffArrays()[k].member) << puffArrays()[k].name;
}

TEST(Sweep, ARefusedPointCarriesTheFailingPageAndItsErrorsAndTheSweepGoesOn) {
    const ExploreDesigns designs;
    // 240 CU is beyond the paper page's range.
    std::vector<SweepPoint> points = sweep(line("cp_perm", 200, 240, 3), designs);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[1].result.status, VariantStatus::Computed);
    EXPECT_EQ(points[2].result.status, VariantStatus::Refused);
    EXPECT_EQ(points[2].result.refusedPage, kPaperPage);
    EXPECT_EQ(points[2].result.errors, std::vector<int>{12});

    // Values from outside may be anything: the checks refuse what is out of range, nothing breaks.
    points = sweep(line("fi_totpd", -1e308, 1e308, 3), designs);
    EXPECT_EQ(points[0].result.errors, (std::vector<int>{21, 62}));
    EXPECT_EQ(points[2].result.errors, (std::vector<int>{21, 62}));

    // A filter of 30 mm under a tipping paper of 32 mm breaks a rule of the tipping page (error 009);
    // the map goes on past it.
    SweepGrid map = line("fi_len", 20, 35, 4);
    map.second = SweepAxis{&field("ro_len"), 50, 60, 2};
    points = sweep(map, designs);
    ASSERT_EQ(points.size(), 8u);
    for (const SweepPoint& p : points) {
        const bool tooLong = p.inputs[0] + 1 > designs.current().tp_width;
        EXPECT_EQ(p.result.status, tooLong ? VariantStatus::Refused : VariantStatus::Computed) << p.index;
        if (tooLong) {
            EXPECT_EQ(p.result.refusedPage, kTippingPage);
            EXPECT_EQ(p.result.errors, std::vector<int>{9});
        }
    }
}

TEST(Sweep, ShardsTogetherAreTheWholeTable) {
    const ExploreDesigns designs;
    SweepGrid map = line("cp_perm", 20, 240, 3);
    map.second = SweepAxis{&field("tp_perfoperm"), 100, 300, 3};
    const SweepColumns columns = sweepColumns(map, {findExploreOutput("stat_pdo")}, false);
    std::vector<std::string> whole(static_cast<std::size_t>(map.pointCount()));
    for (const SweepPoint& p : sweep(map, designs))
        whole[static_cast<std::size_t>(p.index)] = sweepCsvRow(columns, p);

    std::vector<std::string> joined(whole.size());
    const int shards = 4;
    for (int shard = 0; shard < shards; ++shard) {
        const std::vector<int> mine = shardPoints(map.pointCount(), shard, shards);
        for (int p : mine) EXPECT_EQ(p % shards, shard);
        SweepCallbacks callbacks;
        callbacks.pointDone = [&](SweepPoint&& p) {
            std::string& row = joined[static_cast<std::size_t>(p.index)];
            EXPECT_TRUE(row.empty()) << "point " << p.index << " in two shards";
            row = sweepCsvRow(columns, p);
        };
        runSweep(map, mine, designs.current(), designs.basis(), false, callbacks);
    }
    EXPECT_EQ(joined, whole);
    EXPECT_TRUE(shardPoints(9, 4, 4).empty());
    EXPECT_TRUE(shardPoints(9, 0, 0).empty());
}

TEST(Sweep, ACancelKeepsThePointsDoneInOrder) {
    const ExploreDesigns designs;
    const SweepGrid grid = line("cp_perm", 20, 200, 40);
    const std::vector<int> all = shardPoints(grid.pointCount(), 0, 1);
    std::vector<int> delivered;
    SweepCallbacks callbacks;
    callbacks.pointDone = [&](SweepPoint&& p) {
        EXPECT_EQ(p.result.status, VariantStatus::Computed);
        delivered.push_back(p.index);
    };
    callbacks.cancelRequested = [&] { return delivered.size() >= 3; };
    const int finished = runSweep(grid, all, designs.current(), designs.basis(), false, callbacks);
    EXPECT_EQ(finished, static_cast<int>(delivered.size()));
    EXPECT_GE(finished, 3);
    EXPECT_LT(finished, grid.pointCount());
    EXPECT_TRUE(std::is_sorted(delivered.begin(), delivered.end()));
}

TEST(SweepGrid, ValuesRunFromFirstToLastBothIncluded) {
    const SweepAxis down{&field("cp_perm"), 0.3, 0.1, 3};
    EXPECT_EQ(down.valueAt(0), 0.3);
    EXPECT_NEAR(down.valueAt(1), 0.2, 1e-16);
    const SweepAxis far{&field("cp_perm"), -1e308, 1e308, 3};
    EXPECT_EQ(far.valueAt(0), -1e308);
    EXPECT_EQ(far.valueAt(1), 0);
    EXPECT_EQ(down.valueAt(2), 0.1);
    const SweepAxis round{&field("cp_perm"), 0, 220, 21};
    for (int k = 0; k < round.steps; ++k) EXPECT_EQ(round.valueAt(k), 11.0 * k) << k;
    const SweepAxis huge{&field("cp_perm"), 1e308, 1.5e308, 3};
    EXPECT_DOUBLE_EQ(huge.valueAt(1), 1.25e308);
    SweepGrid map = line("cp_perm", 0, 10, 3);
    map.second = SweepAxis{&field("fi_totpd"), 400, 500, 2};
    EXPECT_EQ(map.pointCount(), 6);
    EXPECT_EQ(map.inputsAt(3), (std::vector<double>{5, 500}));
    const DesignValues v = map.variantAt(5, DesignValues());
    EXPECT_EQ(v.cp_perm, 10);
    EXPECT_EQ(v.fi_totpd, 500);
}

TEST(SweepGrid, RefusesWhatCannotRun) {
    DesignValues noTippingLength;
    noTippingLength.known &= ~known::bit(KnownBit::TippingLength);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        SweepGrid grid;
        DesignValues current;
    };
    SweepGrid tooManyForAMap = line("cp_perm", 0, 1, 52), sameTwice = line("cp_perm", 0, 1, 3);
    tooManyForAMap.second = SweepAxis{&field("fi_totpd"), 400, 500, 2};
    sameTwice.second = SweepAxis{&field("cp_perm"), 0, 1, 3};
    const std::vector<Case> cases{
        {"one step", line("cp_perm", 0, 1, 1), {}},
        {"202 steps", line("cp_perm", 0, 1, 202), {}},
        {"52 steps in a map", tooManyForAMap, {}},
        {"the same field twice", sameTwice, {}},
        {"a bound that is not a number", line("cp_perm", nan, 1, 3), {}},
        {"a field whose known box is clear", line("tp_width", 25, 30, 3), noTippingLength},
        {"no field", SweepGrid{}, {}},
    };
    for (const Case& c : cases) EXPECT_TRUE(checkSweepGrid(c.grid, c.current).has_value()) << c.what;
    EXPECT_FALSE(checkSweepGrid(line("cp_perm", 0, 1, 201), DesignValues()).has_value());
}

TEST(SweepTable, CsvHasAHeaderWithUnitsAndTheSameFieldsInEveryRow) {
    const ExploreDesigns designs;
    const SweepGrid grid = line("cp_perm", 220, 230, 2);
    const SweepColumns columns =
        sweepColumns(grid, {findExploreOutput("stat_pdo"), findExploreOutput("iso_puff")}, true);
    EXPECT_EQ(
        sweepCsvHeader(columns).rfind("point,cp_perm [CU],status,stat_pdo [mm H2O],iso_puff,puff_number,"
                                      "puff_size [tenths],puff_pos [mm],",
                                      0),
        0u);
    const std::vector<SweepPoint> points = sweep(grid, designs, true);
    const auto count = [](const std::string& line) { return std::count(line.begin(), line.end(), ','); };
    const std::string header = sweepCsvHeader(columns);
    for (const SweepPoint& p : points) {
        const std::string row = sweepCsvRow(columns, p);
        EXPECT_EQ(count(row), count(header));
        EXPECT_EQ(row.substr(row.size() - 2), "\r\n");
    }
    const std::string refused = sweepCsvRow(columns, points[1]);
    EXPECT_EQ(refused.substr(0, 21), "1,230,refused,,,,,,,,");
    EXPECT_NE(refused.find(",12,Error 012: The cigarette paper permeability"), std::string::npos);
    // Full precision, '.' whatever the locale.
    EXPECT_NE(
        sweepCsvRow(columns, points[0]).find("," + fullPrecisionText(points[0].result.values.stat_pdo) + ","),
        std::string::npos);
}

}  // namespace
}  // namespace veltrano
