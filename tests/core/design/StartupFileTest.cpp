#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "core/design/StartupFile.h"

namespace veltrano {
namespace {

using testing::FaultyFileSystem;
using testing::fillDesign;
using testing::readBytes;
using testing::sameArraysAndPuffs;
using testing::TempFolder;
using testing::writeBytes;
using Bytes = std::vector<std::uint8_t>;

Bytes blockOf(const CigaretteDesign& design) {
    MemoryByteSink sink;
    EXPECT_TRUE(writeBlock(sink, design));
    return sink.bytes;
}

void setPuffNumber(Bytes& block, std::int32_t n) {
    std::memcpy(block.data() + kPuffNumberOffset, &n, 4);
}

template <typename T>
T at(const Bytes& bytes, std::size_t offset) {
    T v;
    std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
}

TEST(StartupFile, BlockLayout) {
    CigaretteDesign design;
    fillDesign(design, 0.7, 3);
    const Bytes block = blockOf(design);
    ASSERT_EQ(block.size(), 71368u + 204u);
    EXPECT_EQ(at<std::int32_t>(block, kPuffNumberOffset), 3);
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + kImageSize, encodeDesignImage(design).begin()));
    struct Where {
        std::size_t offset;
        double value;
    };
    for (const Where w :
         {Where{4168, design.stat_pres_open[0]}, Where{4168 + 4 * 2400 - 8, design.stat_flow_closed[299]},
          Where{13768, design.iso_tab_flow[0]}, Where{23368, design.iso_prof_flow[0]},
          Where{42568, design.alt_tab_flow[0]}, Where{52168, design.alt_prof_flow[0]},
          Where{71368 - 8, design.alt_prof_pfilt[399]}, Where{71368 + 12, design.puff_pos[0]},
          Where{71368 + 12 + 7 * 24 + 16, design.puff_co[2]}}) {
        EXPECT_EQ(std::memcmp(block.data() + w.offset, &w.value, 8), 0) << w.offset;
    }
    EXPECT_EQ(at<std::int32_t>(block, 71368), design.puff_size[0]);
    EXPECT_EQ(at<std::int32_t>(block, 71376), design.puff_size[2]);

    design.freePuffData();
    EXPECT_EQ(blockOf(design).size(), 71368u);
    // A design without arrays still gives a whole block, its arrays as zeros.
    const Bytes bare = blockOf(CigaretteDesign(ArrayMode::NoArrays));
    ASSERT_EQ(bare.size(), 71368u);
    EXPECT_TRUE(std::all_of(bare.begin() + kImageSize, bare.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(StartupFile, SaveThenLoadKeepsEverythingBitForBit) {
    TempFolder folder;
    const std::string path = folder.file("Startup_cigarette.dat");
    DesignSet saved;
    fillDesign(saved.currentDesign, 0.11, 5);
    fillDesign(saved.referenceDesign, 0.22, 0);
    fillDesign(saved.workingReference, 0.33, 1);
    ASSERT_EQ(saveStartupDesigns(path, saved), 0);

    const Bytes bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 3 * 71368u + 6 * 68u);
    EXPECT_TRUE(
        std::equal(bytes.begin(), bytes.begin() + kImageSize, encodeDesignImage(saved.currentDesign).begin()))
        << "the current design comes first";

    DesignSet loaded;
    fillDesign(loaded.currentDesign, 0.9, 2);
    fillDesign(loaded.referenceDesign, 0.8, 7);
    ASSERT_EQ(loadStartupDesigns(path, loaded), 0);
    for (auto member :
         {&DesignSet::currentDesign, &DesignSet::referenceDesign, &DesignSet::workingReference}) {
        EXPECT_EQ(encodeDesignImage(loaded.*member), encodeDesignImage(saved.*member));
        EXPECT_TRUE(sameArraysAndPuffs(loaded.*member, saved.*member));
    }
}

TEST(StartupFile, PuffCountsThatGiveNoPuffData) {
    for (std::int32_t n : {0, -1, std::numeric_limits<std::int32_t>::min()}) {
        CigaretteDesign source;
        fillDesign(source, 0.4, 0);
        Bytes bytes = blockOf(source);
        setPuffNumber(bytes, n);
        bytes.push_back(0x5A);  // the next block starts right here
        MemoryByteSource in(bytes);
        CigaretteDesign receiver;
        fillDesign(receiver, 0.5, 4);
        EXPECT_EQ(readBlock(in, receiver), 0) << n;
        EXPECT_EQ(receiver.puff_number, 0);
        EXPECT_TRUE(receiver.puff_pos.empty());
        EXPECT_EQ(in.remaining(), 1u);
    }
}

TEST(StartupFile, PuffCountBeyondTheFileFailsWithoutAllocating) {
    CigaretteDesign source;
    fillDesign(source, 0.4, 5);
    const Bytes fiveFit = blockOf(source);
    struct Case {
        std::int32_t n;
        std::size_t cut;  // bytes dropped from the end
    };
    // The largest count would ask for 146 GB if it were allocated before the check.
    for (const Case c : {Case{6, 0}, Case{5, 1}, Case{std::numeric_limits<std::int32_t>::max(), 0}}) {
        Bytes bytes(fiveFit.begin(), fiveFit.end() - static_cast<std::ptrdiff_t>(c.cut));
        setPuffNumber(bytes, c.n);
        MemoryByteSource in(bytes);
        CigaretteDesign receiver;
        fillDesign(receiver, 0.5, 2);
        EXPECT_EQ(readBlock(in, receiver), 1) << c.n;
        EXPECT_EQ(receiver.puff_number, 0);
        EXPECT_TRUE(receiver.puff_co.empty());
    }
}

TEST(StartupFile, ShortFilesFailAndKeepWhatWasRead) {
    DesignSet saved;
    fillDesign(saved.currentDesign, 0.11, 2);
    fillDesign(saved.referenceDesign, 0.22, 0);
    fillDesign(saved.workingReference, 0.33, 0);
    Bytes whole;
    for (auto member :
         {&DesignSet::currentDesign, &DesignSet::referenceDesign, &DesignSet::workingReference}) {
        const Bytes b = blockOf(saved.*member);
        whole.insert(whole.end(), b.begin(), b.end());
    }
    const std::size_t firstBlock = 71368 + 2 * 68;
    for (std::size_t length : {std::size_t{0}, std::size_t{4167}, std::size_t{4168}, firstBlock - 1,
                               firstBlock, whole.size() - 1}) {
        SCOPED_TRACE(length);
        MemoryByteSource in{std::span(whole).first(length)};
        DesignSet loaded;
        EXPECT_EQ(loadStartupDesigns(in, loaded), 1);
        if (length >= firstBlock) {
            EXPECT_EQ(encodeDesignImage(loaded.currentDesign), encodeDesignImage(saved.currentDesign));
            EXPECT_TRUE(sameArraysAndPuffs(loaded.currentDesign, saved.currentDesign));
        }
    }
    DesignSet loaded;
    EXPECT_EQ(loadStartupDesigns(TempFolder().file("missing.dat"), loaded), 1);
}

TEST(StartupFile, DesignWithoutArraysIsGivenThem) {
    CigaretteDesign source;
    fillDesign(source, 0.6, 2);
    const Bytes bytes = blockOf(source);
    MemoryByteSource in(bytes);
    CigaretteDesign bare(ArrayMode::NoArrays);
    EXPECT_EQ(readBlock(in, bare), 0);
    EXPECT_TRUE(sameArraysAndPuffs(bare, source));
}

TEST(StartupFile, FailedSaveKeepsTheOldFile) {
    DesignSet set;
    for (void (*arrange)(FaultyFileSystem&) :
         {+[](FaultyFileSystem& fs) { fs.failOpen = true; }, +[](FaultyFileSystem& fs) { fs.failWrite = 2; },
          +[](FaultyFileSystem& fs) { fs.failRename = true; }}) {
        TempFolder folder;
        const std::string path = folder.file("Startup_cigarette.dat");
        writeBytes(path, {'o', 'l', 'd'});
        FaultyFileSystem fs;
        arrange(fs);
        EXPECT_EQ(saveStartupDesigns(path, set, fs), 1);
        EXPECT_EQ(readBytes(path), (Bytes{'o', 'l', 'd'}));
        EXPECT_EQ(folder.names().size(), 1u);
    }
}

}  // namespace
}  // namespace veltrano
