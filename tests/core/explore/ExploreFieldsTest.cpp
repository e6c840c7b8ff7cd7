#include <cmath>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "ExploreTestSupport.h"
#include "core/design/DesignFields.h"
#include "core/explore/ExploreFields.h"
#include "core/explore/ExploreOutputs.h"

namespace veltrano {
namespace {

std::set<std::string> offered(const DesignValues& d) {
    std::set<std::string> names;
    for (const ExploreField& f : exploreFields())
        if (isOffered(f, d)) names.insert(std::string(f.name()));
    return names;
}

bool passes(const DesignValues& d) {
    RecordingErrorReporter errors;
    return validateSheet(d, false, testing::fixtureParameters(), errors) < 0;
}

TEST(ExploreFields, EachIsARecordFieldOfItsPage) {
    for (const ExploreField& f : exploreFields()) {
        ASSERT_NE(f.member(), nullptr) << f.name();
        EXPECT_NE(findDesignField(f.name()), nullptr) << f.name();
        EXPECT_EQ(findExploreField(f.name()), &f);
        EXPECT_LT(f.own.lo, f.own.hi) << f.name();
    }
    EXPECT_EQ(findExploreField("tp_perfotrack"), nullptr);  // OK rounds the tracks
    EXPECT_EQ(findExploreField("tp_perfotype"), nullptr);   // its store rewrites other fields
    EXPECT_EQ(findExploreField("stat_pdo"), nullptr);       // the yields page belongs to the reference
}

TEST(ExploreFields, OfferedAreTheFieldsTheCurrentDesignsSheetLetsTheUserType) {
    DesignValues d;  // electrostatic, every box checked, plain paper, the ISO regime
    std::set<std::string> names = offered(d);
    for (const char* name : {"tp_width", "tp_perfoperm", "tp_perfopos", "pw_perm", "cp_perm", "cp_diff",
                             "fi_totpd", "ro_totpd", "ro_totmass", "alt_volume", "alt_blocking"})
        EXPECT_TRUE(names.count(name)) << name;
    for (const char* name : {"tp_onlinevent", "cp_bandwidth", "cp_bandperm"})
        EXPECT_FALSE(names.count(name)) << name;

    d.known &=
        ~(known::bit(KnownBit::TippingLength) |
          known::bit(KnownBit::PaperDiffusion));  // tipping length and diffusion capacity from the model
    names = offered(d);
    EXPECT_FALSE(names.count("tp_width"));
    EXPECT_FALSE(names.count("cp_diff"));

    DesignValues none;
    none.tp_perfotype = kNoPerforation;
    names = offered(none);
    for (const char* name : {"tp_perfoperm", "tp_perfopos", "tp_perfowidth", "pw_perm", "tp_exponent"})
        EXPECT_FALSE(names.count(name)) << name;

    DesignValues online;
    online.tp_perfotype = kOnlineLaser;
    online.cp_lip = 1;
    names = offered(online);
    EXPECT_TRUE(names.count("tp_onlinevent"));
    EXPECT_TRUE(names.count("tp_perfopos"));
    EXPECT_FALSE(names.count("tp_perfoperm"));
    EXPECT_TRUE(names.count("cp_bandwidth"));
}

// Each end of the range passes every check of the sheet; a step beyond it fails one.
void expectRangesAreTheSheetsOwn(const DesignValues& design, const char* what) {
    ASSERT_TRUE(passes(design)) << what;
    for (const ExploreField& f : exploreFields()) {
        if (!isOffered(f, design)) continue;
        const ValueRange r = validRange(f, design);
        ASSERT_LE(r.lo, r.hi) << what << " " << f.name();
        EXPECT_GE(design.*f.member(), r.lo) << what << " " << f.name() << ": today's value inside";
        EXPECT_LE(design.*f.member(), r.hi) << what << " " << f.name() << ": today's value inside";
        for (const double end : {r.lo, r.hi}) {
            const double step = 1e-6 * (1 + std::fabs(end));
            DesignValues d = design;
            storeValue(f, d, end);
            EXPECT_TRUE(passes(d)) << what << " " << f.name() << " = " << end;
            storeValue(f, d, end == r.lo ? end - step : end + step);
            EXPECT_FALSE(passes(d)) << what << " " << f.name() << " beyond " << end;
        }
    }
}

TEST(ExploreFields, TheValidRangeIsWhatTheSheetsRulesAccept) {
    expectRangesAreTheSheetsOwn(DesignValues(), "default");
    DesignValues microLaser;
    microLaser.tp_perfotype = kMicroLaser;
    microLaser.tp_perfotrack = 2;
    microLaser.tp_perfowidth = 6;
    microLaser.tp_perfopos = 14;
    microLaser.fi_len = 27;
    microLaser.ro_len = 56;
    expectRangesAreTheSheetsOwn(microLaser, "micro laser");
    expectRangesAreTheSheetsOwn(testing::withBands(testing::onlineDesign(30)), "online, banded paper");
}

// A sweep proposes half to twice today's value, cut by what the page accepts; a value it cannot spread
// around (zero, outside the accepted range) gets the whole range.
TEST(ExploreFields, TheProposedSweepSpreadsAroundTodaysValue) {
    struct Case {
        const char* field;
        double today;
        double lo, hi;  // negative: that end of the valid range
    };
    const Case cases[] = {
        {"tp_perfoperm", 130, 65, 260}, {"cp_perm", 150, 75, 220},  // cut at the top
        {"fi_totpd", 200, -1, 400},                                 // cut at the bottom
        {"tp_perfoperm", 0, -1, -1},                                // nothing to spread around
        {"cp_perm", 1e6, -1, -1},                                   // today outside what the page accepts
    };
    for (const Case& c : cases) {
        const ExploreField& f = *findExploreField(c.field);
        DesignValues d;
        d.*f.member() = c.today;
        const ValueRange valid = validRange(f, d);
        const ValueRange proposed = proposedSweepRange(f, d);
        EXPECT_EQ(proposed.lo, c.lo < 0 ? valid.lo : c.lo) << c.field << " " << c.today;
        EXPECT_EQ(proposed.hi, c.hi < 0 ? valid.hi : c.hi) << c.field << " " << c.today;
    }
    const DesignValues d;
    for (const ExploreField& f : exploreFields()) {
        if (!isOffered(f, d)) continue;
        const ValueRange valid = validRange(f, d);
        const ValueRange proposed = proposedSweepRange(f, d);
        EXPECT_LT(proposed.lo, proposed.hi) << f.name();
        EXPECT_GE(proposed.lo, valid.lo) << f.name();
        EXPECT_LE(proposed.hi, valid.hi) << f.name();
    }
}

TEST(ExploreFields, AnOnlineTargetIsStoredAsTheTippingPageStoresIt) {
    DesignValues d;
    d.tp_perfotype = kOnlineLaser;
    storeValue(*findExploreField("tp_onlinevent"), d, 33.25);
    EXPECT_EQ(d.tp_onlinevent, 33.25);
    EXPECT_EQ(d.stat_fivent, 33.25);
    storeValue(*findExploreField("cp_perm"), d, 1.0 / 3);
    EXPECT_EQ(d.cp_perm, 1.0 / 3);  // unrounded, whatever the page shows
}

TEST(ExploreOutputs, TotalsAreDefinedAsTheViewsDefineThem) {
    DesignValues d;
    d.stat_fivent = 20.5;
    d.stat_rovent = 7.25;
    d.iso_nfdpm = 9.5;
    d.iso_nico = 0.75;
    d.alt_nfdpm = 19;
    d.alt_nico = 1.5;
    EXPECT_EQ(findExploreOutput("stat_totvent")->read(d), 27.75);
    EXPECT_EQ(findExploreOutput("iso_dpm")->read(d), 10.25);
    EXPECT_EQ(findExploreOutput("alt_dpm")->read(d), 20.5);
    EXPECT_EQ(findExploreOutput("iso_co")->read(d), d.iso_co);
    for (const ExploreOutput& o : exploreOutputs()) {
        const bool total = o.name == "stat_totvent" || o.name == "iso_dpm" || o.name == "alt_dpm";
        EXPECT_EQ(findDesignField(o.name) != nullptr, !total) << o.name;
    }
    for (std::string_view name : kPreviewOutputNames) EXPECT_NE(findExploreOutput(name), nullptr) << name;
}

}  // namespace
}  // namespace veltrano
