#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "core/design/LegacyImport.h"

namespace veltrano {
namespace {

using testing::fillDesign;
using testing::readBytes;
using testing::TempFolder;
using testing::valuesImage;
using testing::writeBytes;
using Bytes = std::vector<std::uint8_t>;

// A legacy record built field by field.
struct LegacyRecord {
    Bytes bytes = Bytes(kLegacyRecordSize, 0);
    template <typename T>
    LegacyRecord& set(std::size_t offset, T value) {
        std::memcpy(bytes.data() + offset, &value, sizeof value);
        return *this;
    }
    DesignValues convert() const {
        return convertLegacyRecord(
            std::span<const std::uint8_t, kLegacyRecordSize>(bytes.data(), kLegacyRecordSize));
    }
};

TEST(LegacyImport, EveryFieldLandsInItsPlaceInThisVersionsUnits) {
    struct Field {
        std::size_t offset;
        double legacy;
        double DesignValues::*member;
        double expected;
    };
    const Field fields[] = {
        {8, 0.084, &DesignValues::ci_len, 84},
        {24, 0.032, &DesignValues::tp_width, 32},
        {32, 0.004, &DesignValues::tp_perfowidth, 4},
        {40, 300 * 1.6666e-7, &DesignValues::tp_perfoperm, 300},
        {72, 6000 * 1.6666e-7, &DesignValues::pw_perm, 6000},
        {104, 45 * 1.6666e-7, &DesignValues::cp_perm, 45},
        {112, 0.8, &DesignValues::cp_citrate, 0.8},
        {120, 7.5, &DesignValues::cp_filler, 7.5},
        {128, 18.5, &DesignValues::cp_fiber, 18.5},
        {160, 400 * 9.7926, &DesignValues::fi_totpd, 400},
        {168, 0.12, &DesignValues::fi_totlen, 120},
        {176, 35000, &DesignValues::fi_totden, 35000},
        {184, 2.5, &DesignValues::fi_fibden, 2.5},
        {192, 0.02, &DesignValues::fi_len, 20},
        {200, 0.0078, &DesignValues::fi_diam, 7.8},
        {248, 50 * 9.7926, &DesignValues::ro_totpd, 50},
        {256, 0.08, &DesignValues::ro_totlen, 80},
        {264, 0.064, &DesignValues::ro_len, 64},
        {280, 0.00068, &DesignValues::ro_totmass, 680},
        {320, 110 * 9.7926, &DesignValues::stat_pdo, 110},
        {328, 130 * 9.7926, &DesignValues::stat_pdc, 130},
        {336, 21, &DesignValues::stat_fivent, 21},
        {344, 9, &DesignValues::stat_rovent, 9},
        {360, 7.5, &DesignValues::iso_puff, 7.5},
        {376, 9.5, &DesignValues::iso_nfdpm, 9.5},
        {384, 0.75, &DesignValues::iso_nico, 0.75},
        {392, 10.5, &DesignValues::iso_co, 10.5},
    };
    LegacyRecord record;
    for (const Field& f : fields) record.set(f.offset, f.legacy);
    record.set(48, 0.010).set<std::int32_t>(56, 2).set(64, 3.0);
    const DesignValues d = record.convert();
    for (const Field& f : fields) EXPECT_DOUBLE_EQ(d.*f.member, f.expected) << "legacy offset " << f.offset;

    EXPECT_EQ(d.tp_perfopos, 12.0) << "a zone starting at 10 mm, 4 mm wide, is centred at 12 mm";
    EXPECT_EQ(d.tp_perfotype, 2);
    EXPECT_EQ(d.tp_perfotrack, 3.0);
    EXPECT_DOUBLE_EQ(d.fi_pd, 400.0 / 120 * 20);
    EXPECT_DOUBLE_EQ(d.ro_pd, 50.0 / 80 * 64);
    EXPECT_EQ(d.cp_exponent, 1.0);
    EXPECT_EQ(d.fi_exponent, 1.0);
    EXPECT_EQ(d.ro_exponent, 1.2);

    // Everything else keeps the constructor's value.
    DesignValues expected;
    for (const Field& f : fields) expected.*f.member = d.*f.member;
    expected.tp_perfopos = d.tp_perfopos;
    expected.tp_perfotype = d.tp_perfotype;
    expected.tp_perfotrack = d.tp_perfotrack;
    expected.fi_pd = d.fi_pd;
    expected.ro_pd = d.ro_pd;
    expected.known = d.known;
    EXPECT_EQ(valuesImage(d), valuesImage(expected));
}

TEST(LegacyImport, PerforationTypeAndTracks) {
    struct Case {
        std::int32_t legacyType;
        double legacyTracks;
        std::int32_t type;
        double tracks;
    };
    for (const Case c : {Case{7, 3, 0, 0}, Case{1, 3, 1, 0}, Case{2, 4, 2, 4}, Case{3, 2, 3, 2},
                         Case{0, 5, 0, 0}, Case{4, 2, 0, 0}, Case{-1, 2, 0, 0}, Case{3, NAN, 3, NAN}}) {
        const DesignValues d = LegacyRecord().set(56, c.legacyType).set(64, c.legacyTracks).convert();
        EXPECT_EQ(d.tp_perfotype, c.type) << c.legacyType;
        EXPECT_EQ(std::memcmp(&d.tp_perfotrack, &c.tracks, 8), 0) << c.legacyType << " " << d.tp_perfotrack;
    }
}

TEST(LegacyImport, FlagWordClearsKnownBits) {
    struct Case {
        std::uint32_t legacy;
        std::uint32_t known;
    };
    constexpr std::uint32_t start = 0x87BFFDAF;
    // The bits with a meaning, each on its own.
    const std::pair<int, int> mapping[] = {
        {0, 0},   {1, 1},   {2, 2},   {3, 3},   {4, 5},   {6, 7},   {7, 10},  {8, 14},  {9, 15}, {10, 17},
        {13, 18}, {14, 19}, {15, 20}, {16, 21}, {17, 23}, {18, 25}, {19, 24}, {20, 26}, {21, 11}};
    std::vector<Case> cases{{0, start}, {0xFFC01820u, start}};  // bits 5, 11, 12 and 22 to 31 do nothing
    std::uint32_t allCleared = start;
    for (auto [legacy, known] : mapping) {
        cases.push_back({1u << legacy, start & ~(1u << known)});
        allCleared &= ~(1u << known);
    }
    cases.push_back({0xFFFFFFFFu, allCleared});
    for (const Case c : cases)
        EXPECT_EQ(LegacyRecord().set(8496, c.legacy).convert().known, c.known) << std::hex << c.legacy;
    EXPECT_EQ(LegacyRecord().set(8496, 1u << 17).convert().known & 0x800000u, 0u);
}

TEST(LegacyImport, AnyBitPatternConverts) {
    // NaN, infinities, the largest values and a zero rod length: taken as they are, without a trap.
    for (std::uint8_t fill : {0xFF, 0x7F, 0x00, 0x80}) {
        LegacyRecord record;
        std::fill(record.bytes.begin(), record.bytes.end(), fill);
        const DesignValues d = record.convert();
        EXPECT_EQ(d.tp_perfotype, 0) << int(fill);
        EXPECT_EQ(d.tp_perfotrack, 0.0);
    }
    const DesignValues huge =
        LegacyRecord().set(8, 1e308).set(160, -1e308).set(168, 0.0).set(192, 1e308).set(40, 1e302).convert();
    EXPECT_TRUE(std::isinf(huge.ci_len));
    EXPECT_TRUE(std::isinf(huge.tp_perfoperm));
    EXPECT_TRUE(std::isnan(huge.fi_pd) || std::isinf(huge.fi_pd));
}

Bytes legacyFile(std::size_t size, const LegacyRecord& reference, const LegacyRecord& current) {
    Bytes bytes(kLegacyFileSize, 0xEE);
    std::copy(reference.bytes.begin(), reference.bytes.end(), bytes.begin() + kLegacyReferenceOffset);
    std::copy(current.bytes.begin(), current.bytes.end(), bytes.begin() + kLegacyCurrentOffset);
    for (std::size_t i = 0; i < 512; ++i) bytes[kLegacyTextOffset + i] = static_cast<std::uint8_t>(i * 3);
    bytes.resize(size, 0xEE);
    return bytes;
}

TEST(LegacyImport, ImportReplacesCurrentAndReferenceOnly) {
    const LegacyRecord reference = LegacyRecord().set(8, 0.083).set(56, 3).set(8496, 1u << 17);
    const LegacyRecord current = LegacyRecord().set(8, 0.1).set(56, 1);
    TempFolder folder;
    for (std::size_t size : {std::size_t{44576}, std::size_t{50000}}) {
        SCOPED_TRACE(size);
        const std::string path = folder.file("old.cig");
        writeBytes(path, legacyFile(size, reference, current));
        DesignSet set;
        fillDesign(set.currentDesign, 0.1, 3);
        fillDesign(set.referenceDesign, 0.2, 3);
        fillDesign(set.workingReference, 0.3, 3);
        const DesignImage working = valuesImage(set.workingReference);
        const double* ownArray = set.currentDesign.stat_flow_open.data();

        RecordingErrorReporter errors;
        ASSERT_EQ(importLegacyFile(path, set, errors), 0);
        EXPECT_TRUE(errors.numbers.empty());
        EXPECT_EQ(valuesImage(set.referenceDesign), valuesImage(reference.convert()));
        EXPECT_EQ(valuesImage(set.currentDesign), valuesImage(current.convert()));
        EXPECT_EQ(set.referenceDesign.ci_len, 83.0);
        EXPECT_EQ(set.currentDesign.tp_perfotype, 1);
        EXPECT_EQ(valuesImage(set.workingReference), working) << "rebuilt by the next recalculation";
        for (const CigaretteDesign* d : {&set.currentDesign, &set.referenceDesign, &set.workingReference})
            EXPECT_EQ(d->puff_number, 0);
        EXPECT_EQ(set.currentDesign.stat_flow_open.data(), ownArray);
        for (std::size_t i = 0; i < 512; ++i)
            ASSERT_EQ(static_cast<std::uint8_t>(set.informationText[i]), static_cast<std::uint8_t>(i * 3))
                << i;
    }
}

TEST(LegacyImport, FailuresChangeNothing) {
    TempFolder folder;
    writeBytes(folder.file("short.cig"), legacyFile(44575, LegacyRecord(), LegacyRecord()));
    struct Case {
        std::string path;
        int error;
    };
    for (const Case& c : {Case{folder.file("short.cig"), 74}, Case{folder.file("missing.cig"), 73},
                          Case{folder.path().string(), 73}}) {
        DesignSet set;
        fillDesign(set.currentDesign, 0.1, 3);
        const DesignImage before = encodeDesignImage(set.currentDesign);
        set.informationText[0] = 'x';
        RecordingErrorReporter errors;
        EXPECT_EQ(importLegacyFile(c.path, set, errors), c.error);
        EXPECT_EQ(errors.numbers, std::vector<int>{c.error});
        EXPECT_EQ(encodeDesignImage(set.currentDesign), before);
        EXPECT_EQ(set.currentDesign.puff_number, 3);
        EXPECT_EQ(set.informationText[0], 'x');
    }
}

}  // namespace
}  // namespace veltrano
