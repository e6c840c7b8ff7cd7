#include <cstring>

#include <gtest/gtest.h>

#include "core/design/CigaretteDesign.h"
#include "core/design/DesignFields.h"

namespace veltrano {
namespace {

TEST(CigaretteDesign, DefaultRecord) {
    CigaretteDesign d;
    EXPECT_EQ(d.known, 0x87FFFFFFu);
    EXPECT_EQ(std::memcmp(d.magic.data(), "QMX", 4), 0);
    EXPECT_EQ(d.version, 4.1);
    EXPECT_EQ(d.alt_profpnts, 400);
    for (double v : d.alt_profile) EXPECT_EQ(v, 1.0);
    EXPECT_TRUE(d.hasArrays());
    EXPECT_EQ(d.stat_pres_open.size(), 300u);
    EXPECT_EQ(d.iso_tab_flow.size(), 200u);
    EXPECT_EQ(d.alt_prof_pfilt.size(), 400u);
    EXPECT_EQ(d.puff_number, 0);
    EXPECT_FALSE(CigaretteDesign(ArrayMode::NoArrays).hasArrays());
}

TEST(CigaretteDesign, AssignKeepsOwnArraysAndPuffData) {
    CigaretteDesign source, target;
    source.fi_len = 27;
    source.iso_tab_flow[3] = 9;
    source.allocatePuffData(5);
    target.allocatePuffData(2);
    target.puff_co[1] = 0.25;
    target.stat_flow_open[7] = 3;
    const double* before = target.stat_flow_open.data();

    target.assign(source);

    EXPECT_EQ(target.fi_len, 27);
    EXPECT_EQ(target.iso_tab_flow[3], 0);
    EXPECT_EQ(target.stat_flow_open.data(), before);
    EXPECT_EQ(target.stat_flow_open[7], 3);
    EXPECT_EQ(target.puff_number, 2);
    EXPECT_EQ(target.puff_co[1], 0.25);
}

TEST(CigaretteDesign, AllocateAndFreePuffData) {
    CigaretteDesign d;
    d.allocatePuffData(3);
    EXPECT_EQ(d.puff_size.size(), 3u);
    d.freePuffData();
    EXPECT_EQ(d.puff_number, 0);
    EXPECT_TRUE(d.puff_co.empty());
    EXPECT_TRUE(d.hasArrays());
    EXPECT_FALSE(CigaretteDesign(ArrayMode::NoArrays).hasArrays());
}

TEST(CigaretteDesign, ProfilePointCountIsClamped) {
    DesignValues v;
    for (auto [stored, used] :
         {std::pair{-5, 2}, {0, 2}, {2, 2}, {37, 37}, {400, 400}, {401, 400}, {1 << 30, 400}}) {
        v.alt_profpnts = stored;
        EXPECT_EQ(v.profilePointCount(), used) << stored;
    }
}

TEST(DesignImage, OffsetsOfTheRecordTable) {
    CigaretteDesign d;
    d.tp_perfotrack = 2.0;
    d.cp_banddiff = 0.125;
    d.alt_profile[399] = -3.5;
    d.allocatePuffData(7);
    const DesignImage image = encodeDesignImage(d);
    auto f64 = [&](std::size_t at) {
        double v;
        std::memcpy(&v, image.data() + at, 8);
        return v;
    };
    auto i32 = [&](std::size_t at) {
        std::int32_t v;
        std::memcpy(&v, image.data() + at, 4);
        return v;
    };
    EXPECT_EQ(f64(8), 4.1);
    EXPECT_EQ(static_cast<std::uint32_t>(i32(16)), 0x87FFFFFFu);
    EXPECT_EQ(i32(64), 1);
    EXPECT_EQ(f64(72), 2.0);              // a whole number held as f64
    EXPECT_EQ(f64(400), 60.0);            // stat_mbr
    EXPECT_EQ(f64(632), 35.0);            // alt_volume
    EXPECT_EQ(f64(664 + 399 * 8), -3.5);  // last shape slot
    EXPECT_EQ(i32(3864), 400);
    EXPECT_EQ(i32(3868), 7);  // puff_number
    EXPECT_EQ(f64(3952), 0.125);
    for (std::size_t slot : {408u, 412u, 416u, 420u, 480u, 500u, 504u, 584u, 628u, 3872u, 3904u})
        EXPECT_EQ(i32(slot), 0) << "pointer slot " << slot;
    for (std::size_t i = 3960; i < kImageSize; ++i) ASSERT_EQ(image[i], 0) << i;
}

TEST(DesignImage, RoundTripKeepsEveryValueBitForBit) {
    CigaretteDesign d;
    // Give every value a distinct, awkward bit pattern.
    double x = 0.1;
    for (const DesignField& f : designFields()) {
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(d.values().*member)>;
                if constexpr (std::is_same_v<T, double>)
                    d.values().*member = (x *= -1.37);
                else if constexpr (std::is_same_v<T, std::int32_t>)
                    d.values().*member = static_cast<std::int32_t>(f.offset);
                else if constexpr (std::is_same_v<T, std::uint32_t>)
                    d.values().*member = 0xDEADBEEF;
                else if constexpr (std::is_same_v<T, std::array<double, kShapeSlots>>)
                    for (double& s : d.values().*member) s = (x *= 1.001);
            },
            f.member);
    }
    const DesignImage image = encodeDesignImage(d);
    CigaretteDesign back(ArrayMode::NoArrays);
    decodeDesignImage(image, back);
    EXPECT_EQ(encodeDesignImage(back), image);
    EXPECT_EQ(std::memcmp(&back.cp_banddiff, &d.cp_banddiff, 8), 0);
}

}  // namespace
}  // namespace veltrano
