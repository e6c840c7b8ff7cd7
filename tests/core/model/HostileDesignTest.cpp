// Designs read from files may hold anything. The model must finish with bounded work and without
// undefined behaviour on any of them (non-finite results may come out).
#include <cstring>
#include <functional>
#include <limits>

#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "core/design/DesignFields.h"
#include "core/model/PuffByPuff.h"
#include "core/model/Recalculation.h"

namespace veltrano {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct HostileImage {
    const char* name;
    std::function<DesignImage()> image;
};

DesignImage filled(std::uint8_t byte) {
    DesignImage image;
    image.fill(byte);
    return image;
}

// The default design with everything marked known (so that no default repairs it), then changed.
DesignImage edited(const std::function<void(CigaretteDesign&)>& change) {
    CigaretteDesign d(ArrayMode::NoArrays);
    d.known = 0xFFFFFFFFu;
    change(d);
    return encodeDesignImage(d);
}

const HostileImage kImages[] = {
    {"AllZero", [] { return filled(0x00); }},
    {"AllOnes", [] { return filled(0xFF); }},
    {"AllZeroButKnown",
     [] {
         DesignImage image = filled(0x00);
         std::memset(image.data() + 16, 0xFF, 4);
         return image;
     }},
    {"NotANumberLengths",
     [] {
         return edited([](CigaretteDesign& d) {
             d.fi_len = kNaN;
             d.ro_len = kNaN;
             d.tp_width = kNaN;
         });
     }},
    {"HugeExponents",
     [] {
         return edited([](CigaretteDesign& d) {
             d.fi_exponent = 1e300;
             d.ro_exponent = 308;
             d.cp_exponent = -1e10;
             d.tp_exponent = 1e-300;
             d.pw_exponent = 0;
         });
     }},
    {"NegativeDiameter", [] { return edited([](CigaretteDesign& d) { d.fi_diam = -7.9; }); }},
    {"ZeroDiameter", [] { return edited([](CigaretteDesign& d) { d.fi_diam = 0; }); }},
    {"ZeroAndNegativeLengths",
     [] {
         return edited([](CigaretteDesign& d) {
             d.fi_len = 0;
             d.ro_len = -60;
             d.tp_width = 0;
             d.tp_perfowidth = -3;
             d.fi_totlen = 0;
         });
     }},
    {"WildPuffShape",
     [] {
         return edited([](CigaretteDesign& d) {
             d.alt_profpnts = 1000000;
             d.alt_profile.fill(1e308);
             d.alt_duration = 0;
             d.alt_volume = -35;
             d.alt_blocking = kInf;
         });
     }},
    {"BandsOfNoWidth",
     [] {
         return edited([](CigaretteDesign& d) {
             d.cp_lip = 1;
             d.cp_bandwidth = 1e-300;
             d.cp_bandspace = 0;
             d.cp_bandperm = 5;
         });
     }},
    {"OnlineWithoutTracks",
     [] {
         return edited([](CigaretteDesign& d) {
             d.tp_perfotype = kOnlineLaser;
             d.tp_perfotrack = 0;
             d.tp_onlinevent = 1e300;
         });
     }},
    {"HugePressureDrops",
     [] {
         return edited([](CigaretteDesign& d) {
             d.fi_totpd = 1e308;
             d.ro_totpd = 1e308;
             d.tp_perfoperm = 1e308;
             d.tp_perfotype = 77;
         });
     }},
    {"NegativeCoefficients",
     [] {
         return edited([](CigaretteDesign& d) {
             d.cp_perm = -500;
             d.ro_totpd = -60;
             d.ro_totmass = -750;
             d.iso_puff = -8;
         });
     }},
};

class HostileDesign : public ::testing::TestWithParam<HostileImage> {};

TEST_P(HostileDesign, RecalculationAndAnalysisEndWithBoundedWork) {
    const DesignImage image = GetParam().image();
    DesignSet set;
    decodeDesignImage(image, set.referenceDesign);
    decodeDesignImage(image, set.currentDesign);
    RecordingErrorReporter errors;
    ShootingStatistics stats;
    recalculate(set, testing::fixtureParameters(), errors, &stats);
    NullProgressSink progress;
    runPuffByPuff(set.currentDesign, testing::fixtureParameters(), progress, &stats);

    EXPECT_LE(stats.maxPasses, kMaxShootingPasses);
    for (int error : errors.numbers) EXPECT_TRUE(error == 76 || error == 77) << error;
    const CigaretteDesign& d = set.currentDesign;
    EXPECT_GE(d.puff_number, 0);
    EXPECT_LE(d.puff_number, kMaxPuffs);
    EXPECT_EQ(d.puff_pos.size(), static_cast<std::size_t>(d.puff_number));
    for (const OwnedArray& a : ownedArrays())
        EXPECT_EQ((d.*a.member).size(), static_cast<std::size_t>(a.count));
}

INSTANTIATE_TEST_SUITE_P(Images, HostileDesign, ::testing::ValuesIn(kImages),
                         [](const ::testing::TestParamInfo<HostileImage>& info) { return info.param.name; });

}  // namespace
}  // namespace veltrano
