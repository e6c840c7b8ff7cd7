#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <QAbstractButton>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QTest>

#include "ShellFixture.h"
#include "core/design/CigaretteFile.h"
#include "ui/shell/Recovery.h"
#include "ui/shell/UndoableDocument.h"

namespace veltrano::testing {
namespace {

namespace fs = std::filesystem;

std::string slurp(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string bytesOf(const std::vector<std::uint8_t>& v) {
    return std::string(v.begin(), v.end());
}

// Each test has a recovery folder of its own under the test run's state folder.
class Recovery : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        folder = QDir(recoveryFolderPath())
                     .filePath(QString::fromLatin1(
                         ::testing::UnitTest::GetInstance()->current_test_info()->name()));
        QDir(folder).removeRecursively();
    }
    void TearDown() override {
        ShellTest::TearDown();
        QDir(folder).removeRecursively();
    }
    // A writer for the window's document with no pause between writes.
    RecoveryWriter& attachWriter() {
        auto* writer =
            new RecoveryWriter(window->undoableDocument(), std::make_unique<RecoveryStore>(folder), 0);
        window->attachRecovery(writer);
        return *writer;
    }
    bool waitForFile(const QString& path) {
        return QTest::qWaitFor([&] { return QFileInfo::exists(path); }, 10000);
    }

    QString folder;
};

TEST_F(Recovery, AChangeIsWrittenAndACleanSaveRemovesIt) {
    RecoveryWriter& writer = attachWriter();
    ASSERT_TRUE(writer.store().usable());
    window->runCommand(kCmdViewYields);  // a view change is no change of the designs
    writer.flush();
    EXPECT_FALSE(QFileInfo::exists(writer.store().designsPath()));

    window->runCommand(kCmdCopyToCurrent);
    ASSERT_TRUE(waitForFile(writer.store().infoPath()));
    writer.flush();
    EXPECT_EQ(slurp(writer.store().designsPath()),
              bytesOf(encodeCigaretteFile(window->document().designs())));
    const auto info = decodeRecoveryInfo(slurp(writer.store().infoPath()));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->originalPath, "");

    // The last of several quick changes is the one on disk.
    reference().cp_perm = 70;
    window->runCommand(kCmdCopyToCurrent);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            writer.flush();
            return slurp(writer.store().designsPath()) ==
                   bytesOf(encodeCigaretteFile(window->document().designs()));
        },
        10000));

    TempFolder saved;
    chooseFile(saved.file("kept.cig"));
    window->runCommand(kCmdSaveAs);
    writer.flush();
    EXPECT_FALSE(QFileInfo::exists(writer.store().designsPath()));
    EXPECT_FALSE(QFileInfo::exists(writer.store().infoPath()));
}

TEST_F(Recovery, DiscardOnExitRemovesTheFiles) {
    RecoveryWriter& writer = attachWriter();
    window->show();
    window->runCommand(kCmdCopyToCurrent);
    ASSERT_TRUE(waitForFile(writer.store().infoPath()));
    dialogs.expect([](QDialog&) { return int(QMessageBox::Discard); });
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(QFileInfo::exists(writer.store().designsPath()));
    EXPECT_FALSE(QFileInfo::exists(writer.store().infoPath()));
}

// The program killed after a change: the next start offers the designs it lost, and they come back as
// they were, modified, under their file's name.
TEST_F(Recovery, DesignsLostToAKillComeBack) {
    TempFolder temp;
    const QString expected = QString::fromStdString(temp.file("lost.cig"));
    QProcess child;
    const QString stateHome = folder + "-state";  // the killed program's own state folder
    const QString crashedFolder = stateHome + "/veltrano";
    child.start(
        QStringLiteral(VELTRANO_CRASH_CHILD),
        {expected, QString::fromStdString(std::string(VELTRANO_TEST_DATA_DIR) + "/fixture-models.dat"),
         crashedFolder});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    ASSERT_EQ(RecoveryStore::orphans(crashedFolder).size(), 1u);

    // A program that is still running is no orphan: its own files are never offered.
    auto running = std::make_unique<RecoveryStore>(crashedFolder);
    std::string asked;
    dialogs.expect([&](QDialog& d) {
        auto* box = qobject_cast<QMessageBox*>(&d);
        asked = box->text().toStdString();
        EXPECT_EQ(box->button(QMessageBox::Yes)->text(), "Recover");
        return int(QMessageBox::Yes);
    });
    EXPECT_TRUE(offerRecovery(dialogs, window.get(), window->undoableDocument(), window->errorReporter(),
                              crashedFolder, nullptr));
    EXPECT_EQ(asked.rfind("Recover the unsaved designs from ", 0), 0u);
    EXPECT_EQ(bytesOf(encodeCigaretteFile(window->document().designs())), slurp(expected));
    EXPECT_TRUE(window->designsChanged());
    EXPECT_FALSE(window->commandEnabled(kCmdUndo));
    EXPECT_TRUE(RecoveryStore::orphans(crashedFolder).empty());
    running.reset();
    QDir(stateHome).removeRecursively();
}

TEST_F(Recovery, DiscardedRecoveryIsGoneAndChangesNothing) {
    // Files of a program that is gone: no lock, as after a power cut.
    QDir().mkpath(folder);
    RecordingErrorReporter errors;
    DesignSet lost;
    lost.currentDesign.fi_len = 27;
    ASSERT_EQ(saveCigaretteFile((folder + "/old.cig").toStdString(), lost, errors), 0);
    writeBytes((folder + "/old.info").toStdString(), encodeRecoveryInfo({"/x/y.cig", false, 1797000000}));
    const std::vector<std::uint8_t> before = encodeCigaretteFile(window->document().designs());
    dialogs.expect([](QDialog&) { return int(QMessageBox::Discard); });
    EXPECT_FALSE(offerRecovery(dialogs, window.get(), window->undoableDocument(), window->errorReporter(),
                               folder, nullptr));
    EXPECT_EQ(encodeCigaretteFile(window->document().designs()), before);
    EXPECT_FALSE(window->designsChanged());
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
}

}  // namespace
}  // namespace veltrano::testing
