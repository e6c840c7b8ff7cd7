#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/design/CigaretteFile.h"
#include "core/design/DesignFields.h"
#include "core/document/DesignDocument.h"
#include "core/model/Recalculation.h"
#include "tests/support/TempFolder.h"

namespace veltrano {
namespace {

namespace fs = std::filesystem;

ModelParameters fixtureModels() {
    ModelParameters mp;
    EXPECT_EQ(loadModelParameters(std::string(VELTRANO_TEST_DATA_DIR) + "/fixture-models.dat", mp), 0);
    return mp;
}

// A document on the fixture coefficients that counts what it is told.
class Document : public ::testing::Test {
protected:
    void SetUp() override {
        doc.addListener([this](const DocumentChange& c) { told.push_back(c); });
    }
    std::string path(const std::string& name) const { return folder.file(name); }

    // Runs `operation` and checks that the listeners heard of it exactly once.
    DocumentChange once(const std::function<void()>& operation) {
        told.clear();
        operation();
        EXPECT_EQ(told.size(), 1u);
        return told.empty() ? DocumentChange{} : told.back();
    }

    ModelParameters mp = fixtureModels();
    DesignDocument doc{mp};
    RecordingErrorReporter errors;
    std::vector<DocumentChange> told;
    testing::TempFolder folder{"veltrano-document-"};
    const fs::path& dir = folder.path();
};

TEST_F(Document, OpenSaveAndSaveAsKeepNameAndModifiedStateAsUsersExpect) {
    ASSERT_EQ(saveCigaretteFile(path("a.cig"), DesignSet(), errors), 0);
    DocumentChange c = once([&] { EXPECT_EQ(doc.open(path("a.cig"), errors), 0); });
    EXPECT_TRUE(c.designs && c.file && c.puffData);
    EXPECT_EQ(doc.fileName(), path("a.cig"));
    EXPECT_FALSE(doc.modified());
    EXPECT_FALSE(doc.puffDataValid());  // freshly recalculated: per-puff data belong to no design yet

    once([&] { EXPECT_TRUE(doc.copyReferenceToCurrent(errors)); });
    EXPECT_TRUE(doc.modified());

    c = once([&] { EXPECT_EQ(doc.saveAs(path("b.cig"), errors), 0); });
    EXPECT_TRUE(c.file && c.modified && !c.designs);
    EXPECT_EQ(doc.fileName(), path("b.cig"));
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(fs::file_size(path("b.cig")), kCigaretteFileSize);

    // A failed Save as changes neither the name nor the state; a failed Save forgets the name.
    fs::create_directory(path("taken.cig"));
    doc.setInformation(InformationText{'x'});
    told.clear();
    EXPECT_NE(doc.saveAs(path("taken.cig"), errors), 0);
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(doc.fileName(), path("b.cig"));
    EXPECT_TRUE(doc.modified());
    fs::remove(path("b.cig"));
    fs::create_directory(path("b.cig"));
    c = once([&] { EXPECT_NE(doc.save(errors), 0); });
    EXPECT_TRUE(c.file);
    EXPECT_TRUE(doc.fileName().empty());
    EXPECT_TRUE(doc.modified());

    // A file that cannot be read changes nothing and tells nothing.
    told.clear();
    EXPECT_NE(doc.open(path("missing.cig"), errors), 0);
    EXPECT_TRUE(told.empty());
}

TEST_F(Document, ImportAndRecoveryCountAsModifiedAndRememberTheOldFormat) {
    const std::string legacy = std::string(VELTRANO_SOURCE_DIR) + "/fuzz/corpus/legacy_file/typical.cig";
    once([&] { EXPECT_EQ(doc.importLegacy(legacy, errors), 0); });
    EXPECT_EQ(doc.fileName(), legacy);
    EXPECT_TRUE(doc.isLegacyFile());
    EXPECT_TRUE(doc.modified());

    ASSERT_EQ(saveCigaretteFile(path("recovery.cig"), doc.designs(), errors), 0);
    once([&] { EXPECT_EQ(doc.saveAs(path("new.cig"), errors), 0); });
    EXPECT_FALSE(doc.isLegacyFile());

    once([&] { EXPECT_EQ(doc.recover(path("recovery.cig"), legacy, true, errors), 0); });
    EXPECT_EQ(doc.fileName(), legacy);
    EXPECT_TRUE(doc.isLegacyFile());
    EXPECT_TRUE(doc.modified());
}

// The sheet's OK: only a change of an input or a known word makes the designs modified; the results are
// brought up to date either way and the per-puff data are stale afterwards.
TEST_F(Document, ReplacingADesignIsAChangeOnlyWhenAnInputChanged) {
    doc.recalculate(errors);
    NullProgressSink progress;
    doc.runPuffByPuffAnalysis(progress);
    ASSERT_TRUE(doc.puffDataValid());

    CigaretteDesign same(ArrayMode::NoArrays);
    same.assign(doc.designs().currentDesign);
    DocumentChange c = once([&] { EXPECT_FALSE(doc.replaceDesign(DesignRole::Current, same, errors)); });
    EXPECT_FALSE(doc.modified());
    EXPECT_FALSE(c.modified);
    EXPECT_FALSE(doc.puffDataValid());

    CigaretteDesign edited(ArrayMode::NoArrays);
    edited.assign(doc.designs().referenceDesign);
    edited.known &= ~known::bit(KnownBit::IsoCo);
    c = once([&] { EXPECT_TRUE(doc.replaceDesign(DesignRole::Reference, edited, errors)); });
    EXPECT_TRUE(doc.modified());
    EXPECT_TRUE(c.modified && c.designs);
    // All three known words are the reference's after an accepted edit.
    EXPECT_EQ(doc.designs().currentDesign.known, edited.known);
    EXPECT_EQ(doc.designs().workingReference.known, edited.known);
}

TEST_F(Document, InformationTextIsAChangeOnlyWhenItDiffers) {
    InformationText text = doc.designs().informationText;
    told.clear();
    EXPECT_FALSE(doc.setInformation(text));
    EXPECT_TRUE(told.empty());
    text[0] = 'A';
    const DocumentChange c = once([&] { EXPECT_TRUE(doc.setInformation(text)); });
    EXPECT_TRUE(c.designs && c.modified && !c.puffData);
}

// Undo's foundation: a snapshot put back gives the designs bit for bit, arrays and per-puff data included,
// without recalculating.
TEST_F(Document, ASnapshotRestoresEverythingExactly) {
    doc.recalculate(errors);
    NullProgressSink progress;
    doc.runPuffByPuffAnalysis(progress);
    const DocumentSnapshot before = doc.snapshot();
    const std::vector<std::uint8_t> file = encodeCigaretteFile(doc.designs());
    const std::vector<double> profile = doc.designs().currentDesign.stat_pres_open;
    const std::vector<double> puffs = doc.designs().currentDesign.puff_nfdpm;

    CigaretteDesign edited(ArrayMode::NoArrays);
    edited.assign(doc.designs().currentDesign);
    edited.cp_perm += 20;
    doc.replaceDesign(DesignRole::Current, edited, errors);
    ASSERT_NE(doc.designs().currentDesign.stat_pres_open, profile);

    errors.numbers.clear();
    once([&] { doc.restore(before); });
    EXPECT_EQ(encodeCigaretteFile(doc.designs()), file);
    EXPECT_EQ(doc.designs().currentDesign.stat_pres_open, profile);
    EXPECT_EQ(doc.designs().currentDesign.puff_nfdpm, puffs);
    EXPECT_TRUE(doc.puffDataValid());
    EXPECT_TRUE(errors.numbers.empty());
}

TEST_F(Document, ARemovedListenerHearsNothing) {
    int heard = 0;
    const int id = doc.addListener([&](const DocumentChange&) { ++heard; });
    doc.recalculate(errors);
    doc.removeListener(id);
    doc.recalculate(errors);
    EXPECT_EQ(heard, 1);
}

}  // namespace
}  // namespace veltrano
