#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "ExploreTestSupport.h"
#include "core/explore/Sensitivity.h"
#include "core/explore/Sweep.h"

namespace veltrano {
namespace {

using testing::ExploreDesigns;

std::vector<const ExploreOutput*> everyOutput() {
    std::vector<const ExploreOutput*> outputs;
    for (const ExploreOutput& o : exploreOutputs()) outputs.push_back(&o);
    return outputs;
}

std::vector<const ExploreField*> offered(const DesignValues& current) {
    std::vector<const ExploreField*> fields;
    for (const ExploreField& f : exploreFields())
        if (isOffered(f, current)) fields.push_back(&f);
    return fields;
}

// The current design after OK with the field at `value`, recalculated.
DesignValues pointAt(const ExploreDesigns& designs, const ExploreField& field, double value) {
    DesignValues variant = designs.current();
    storeValue(field, variant, value);
    return evaluateVariant(variant, designs.basis(), false, InnerThreads::CallingThread).values;
}

TEST(Sensitivity, AnElasticityIsTheCentralDifferenceOfTwoPointsAsOkStoresThem) {
    const ExploreDesigns designs;
    const std::vector<const ExploreField*> fields = offered(designs.current());
    const std::vector<const ExploreOutput*> outputs = everyOutput();
    for (double step : {5.0, 2.0}) {
        const std::vector<SensitivityRow> rows =
            computeSensitivities(fields, outputs, step, designs.current(), designs.basis());
        ASSERT_EQ(rows.size(), fields.size());
        const DesignValues today =
            evaluateVariant(designs.current(), designs.basis(), false, InnerThreads::CallingThread).values;
        for (const SensitivityRow& row : rows) {
            const ExploreField& f = *row.field;
            const double x0 = designs.current().*f.member();
            EXPECT_EQ(row.value, x0);
            if (row.refused) continue;
            const double xMinus = x0 * (1 - step / 100), xPlus = x0 * (1 + step / 100);
            const DesignValues minus = pointAt(designs, f, xMinus), plus = pointAt(designs, f, xPlus);
            for (std::size_t o = 0; o < outputs.size(); ++o) {
                const double y0 = outputs[o]->read(today);
                const std::optional<double> e = row.elasticities[o];
                if (x0 == 0 || y0 == 0) {
                    EXPECT_FALSE(e) << f.name() << " " << outputs[o]->name;
                    continue;
                }
                ASSERT_TRUE(e) << f.name() << " " << outputs[o]->name;
                const double expected =
                    ((outputs[o]->read(plus) - outputs[o]->read(minus)) / y0) / ((xPlus - xMinus) / x0);
                EXPECT_EQ(*e, expected) << f.name() << " " << outputs[o]->name;
            }
        }
    }
}

TEST(Sensitivity, KnownDirectionsAndTheNullsAndRefusalsOfTheEdges) {
    DesignValues current;
    current.cp_perm = 215;  // 5 % more is beyond the paper page's 220 CU
    const ExploreDesigns designs(DesignValues(), current);
    const std::vector<const ExploreField*> fields = offered(designs.current());
    const std::vector<const ExploreOutput*> outputs = everyOutput();
    const std::vector<SensitivityRow> rows =
        computeSensitivities(fields, outputs, 5, designs.current(), designs.basis());
    const auto rowOf = [&](std::string_view name) -> const SensitivityRow& {
        for (const SensitivityRow& r : rows)
            if (r.field->name() == name) return r;
        ADD_FAILURE() << name;
        return rows.front();
    };
    const auto column = [&](std::string_view name) {
        return static_cast<std::size_t>(findExploreOutput(name) - exploreOutputs().data());
    };
    const SensitivityRow& paper = rowOf("cp_perm");
    EXPECT_TRUE(paper.refused);
    EXPECT_EQ(paper.errors, std::vector<int>{12});
    for (const std::optional<double>& e : paper.elasticities) EXPECT_FALSE(e);

    struct Direction {
        const char* field;
        const char* output;
        int sign;
    };
    // More perforation: more filter ventilation, less 'tar'; a harder filter: more draw resistance.
    for (const Direction& d : std::vector<Direction>{{"tp_perfoperm", "stat_fivent", 1},
                                                     {"tp_perfoperm", "iso_nfdpm", -1},
                                                     {"fi_totpd", "stat_pdo", 1},
                                                     {"ro_totmass", "iso_puff", 1}}) {
        const std::optional<double> e = rowOf(d.field).elasticities[column(d.output)];
        ASSERT_TRUE(e) << d.field << " " << d.output;
        EXPECT_EQ(*e > 0 ? 1 : -1, d.sign) << d.field << " " << d.output << " " << *e;
    }
    // An input of 0 today has no relative change.
    if (isOffered(*findExploreField("alt_blocking"), designs.current())) {
        for (const std::optional<double>& e : rowOf("alt_blocking").elasticities) EXPECT_FALSE(e);
    }
}

TEST(Sensitivity, ACancelledTableIsEmpty) {
    const ExploreDesigns designs;
    const std::vector<const ExploreField*> fields = offered(designs.current());
    SensitivityCallbacks callbacks;
    callbacks.cancelRequested = [] { return true; };
    EXPECT_TRUE(computeSensitivities(fields, everyOutput(), 5, designs.current(), designs.basis(), callbacks)
                    .empty());
}

}  // namespace
}  // namespace veltrano
