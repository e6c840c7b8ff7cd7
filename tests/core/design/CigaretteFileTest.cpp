#include <filesystem>

#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "core/design/CigaretteFile.h"
#include "core/design/PlatformFiles.h"

namespace veltrano {
namespace {

using testing::FaultyFileSystem;
using testing::fillSet;
using testing::readBytes;
using testing::sameArraysAndPuffs;
using testing::TempFolder;
using testing::valuesImage;
using testing::writeBytes;
using Bytes = std::vector<std::uint8_t>;

// Everything a failed read must leave alone.
struct Snapshot {
    explicit Snapshot(const DesignSet& set) {
        for (const CigaretteDesign* d : {&set.referenceDesign, &set.workingReference, &set.currentDesign}) {
            images.push_back(encodeDesignImage(*d));
            designs.push_back(d->clone());
        }
        text = set.informationText;
    }
    void expectUnchanged(const DesignSet& set) const {
        const CigaretteDesign* now[] = {&set.referenceDesign, &set.workingReference, &set.currentDesign};
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(encodeDesignImage(*now[i]), images[i]) << "design " << i;
            EXPECT_TRUE(sameArraysAndPuffs(*now[i], designs[i])) << "design " << i;
        }
        EXPECT_EQ(set.informationText, text);
    }
    std::vector<DesignImage> images;
    std::vector<CigaretteDesign> designs;
    InformationText text;
};

TEST(CigaretteFile, SaveThenOpenKeepsEveryValueBitForBit) {
    TempFolder folder;
    const std::string path = folder.file("design.cig");
    DesignSet saved;
    fillSet(saved, 0.3);
    RecordingErrorReporter errors;
    ASSERT_EQ(saveCigaretteFile(path, saved, errors), 0);
    EXPECT_TRUE(errors.numbers.empty());

    const Bytes bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), kCigaretteFileSize);
    // Reference, working reference, current design, text.
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + kImageSize,
                           encodeDesignImage(saved.referenceDesign).begin()));
    EXPECT_TRUE(std::equal(bytes.begin() + 2 * kImageSize, bytes.begin() + 3 * kImageSize,
                           encodeDesignImage(saved.currentDesign).begin()));

    DesignSet opened;
    fillSet(opened, 7.7);
    const double* ownArray = opened.currentDesign.iso_prof_flow.data();
    ASSERT_EQ(readCigaretteFile(path, opened, errors), 0);
    EXPECT_TRUE(errors.numbers.empty());
    EXPECT_EQ(valuesImage(opened.referenceDesign), valuesImage(saved.referenceDesign));
    EXPECT_EQ(valuesImage(opened.workingReference), valuesImage(saved.workingReference));
    EXPECT_EQ(valuesImage(opened.currentDesign), valuesImage(saved.currentDesign));
    EXPECT_EQ(opened.informationText, saved.informationText);
    for (const CigaretteDesign* d :
         {&opened.referenceDesign, &opened.workingReference, &opened.currentDesign}) {
        EXPECT_EQ(d->puff_number, 0) << "puff-by-puff data wait for the next analysis";
        EXPECT_TRUE(d->puff_co.empty());
        EXPECT_TRUE(d->hasArrays());
    }
    EXPECT_EQ(opened.currentDesign.iso_prof_flow.data(), ownArray) << "the designs keep their own arrays";
}

TEST(CigaretteFile, RejectedFilesChangeNothing) {
    DesignSet source;
    fillSet(source, 0.5);
    const Bytes good = encodeCigaretteFile(source);
    ASSERT_EQ(good.size(), 13016u);

    struct Case {
        const char* what;
        Bytes bytes;
    };
    std::vector<Case> cases{{"13015 bytes", Bytes(good.begin(), good.end() - 1)},
                            {"13017 bytes", good},
                            {"empty", {}},
                            {"twice the size", good}};
    cases[1].bytes.push_back(0);
    cases[3].bytes.insert(cases[3].bytes.end(), good.begin(), good.end());
    for (std::size_t image = 0; image < 3; ++image) {
        for (std::size_t byte = 0; byte < 4; ++byte) {
            Bytes bad = good;
            bad[image * kImageSize + byte] ^= 0x20;  // "qMX", "QmX", "QMx", "QMX "
            cases.push_back({"broken magic", bad});
        }
    }

    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.file("bad.cig");
        writeBytes(path, c.bytes);
        DesignSet set;
        fillSet(set, 0.9);
        const Snapshot before(set);
        RecordingErrorReporter errors;
        EXPECT_EQ(readCigaretteFile(path, set, errors), 55);
        EXPECT_EQ(errors.numbers, std::vector<int>{55});
        before.expectUnchanged(set);
    }
}

TEST(CigaretteFile, UnreadablePathsGive54AndChangeNothing) {
    TempFolder folder;
    std::filesystem::create_directory(folder.file("folder.cig"));
    for (const std::string& path : {folder.file("missing.cig"), folder.file("folder.cig"), std::string()}) {
        DesignSet set;
        fillSet(set, 0.2);
        const Snapshot before(set);
        RecordingErrorReporter errors;
        EXPECT_EQ(readCigaretteFile(path, set, errors), 54) << path;
        EXPECT_EQ(errors.numbers, std::vector<int>{54});
        before.expectUnchanged(set);
    }
}

// Hands out the bytes of a large file and counts what was taken.
class CountingSource : public ByteSource {
public:
    std::size_t read(std::span<std::uint8_t> out) override {
        const std::size_t n = std::min<std::size_t>(out.size(), remaining());
        std::fill_n(out.begin(), n, 'Q');
        taken += n;
        return n;
    }
    std::uint64_t remaining() const override { return size - taken; }
    std::uint64_t size = std::uint64_t{1} << 40;
    std::uint64_t taken = 0;
};

TEST(CigaretteFile, HugeSourceIsNotReadToItsEnd) {
    CountingSource source;
    DesignSet set;
    RecordingErrorReporter errors;
    EXPECT_EQ(readCigaretteFile(source, set, errors), 55);
    EXPECT_LE(source.taken, 13017u);
}

struct SaveFault {
    const char* what;
    void (*arrange)(FaultyFileSystem&);
    std::vector<int> errors;
};

const SaveFault kSaveFaults[] = {
    {"cannot open", [](FaultyFileSystem& fs) { fs.failOpen = true; }, {52}},
    {"first piece", [](FaultyFileSystem& fs) { fs.failWrite = 1; }, {53}},
    {"second piece", [](FaultyFileSystem& fs) { fs.failWrite = 2; }, {53}},
    {"third piece", [](FaultyFileSystem& fs) { fs.failWrite = 3; }, {53}},
    {"text", [](FaultyFileSystem& fs) { fs.failWrite = 4; }, {53}},
    {"every piece", [](FaultyFileSystem& fs) { fs.failAllWrites = true; }, {53, 53, 53, 53}},
    {"flush", [](FaultyFileSystem& fs) { fs.failFinish = true; }, {53}},
    {"rename", [](FaultyFileSystem& fs) { fs.failRename = true; }, {53}},
};

TEST(CigaretteFile, FailedSaveReportsAndLeavesTheOldFile) {
    DesignSet set;
    fillSet(set, 0.4);
    for (const SaveFault& fault : kSaveFaults) {
        SCOPED_TRACE(fault.what);
        TempFolder folder;
        const std::string path = folder.file("design.cig");
        const Bytes old{'o', 'l', 'd'};
        writeBytes(path, old);
        // Over the old file, then to a new name.
        for (const std::string& target : {path, folder.file("new.cig")}) {
            FaultyFileSystem fs;
            fault.arrange(fs);
            RecordingErrorReporter errors;
            EXPECT_EQ(saveCigaretteFile(target, set, errors, fs), fault.errors.front());
            EXPECT_EQ(errors.numbers, fault.errors);
            if (fault.errors.front() == 53) {
                EXPECT_EQ(fs.writes, 4) << "the writing goes on after a failed piece";
            }
            EXPECT_EQ(readBytes(path), old);
            EXPECT_EQ(folder.names(), std::vector<std::string>{"design.cig"});
        }
    }
}

TEST(CigaretteFile, NoRoomForTheNewFileGives053AndKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder.file("design.cig");
    const Bytes old{'o', 'l', 'd'};
    writeBytes(path, old);
    FaultyFileSystem fs;
    fs.temporaryError = testing::kDiskFullError;
    RecordingErrorReporter errors;
    EXPECT_EQ(saveCigaretteFile(path, DesignSet(), errors, fs), 53);
    EXPECT_EQ(errors.numbers, std::vector<int>{53});
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"design.cig"});
}

}  // namespace
}  // namespace veltrano
