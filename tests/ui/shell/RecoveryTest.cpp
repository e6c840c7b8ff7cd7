#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <QAbstractButton>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QStringList>
#include <QTest>

#include "ShellFixture.h"
#include "core/design/CigaretteFile.h"
#include "core/design/PlatformFiles.h"
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

#ifndef _WIN32
// The descriptors this process has open.
int openDescriptors() {
    return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}
#endif

// Files a program that is gone left in `folder`: NAME.cig with designs whose current filter is `length`
// mm long, and NAME.info holding `sidecar` (none when not given). No lock, as after a power cut.
void leaveOrphan(const QString& folder, const QString& name, double length,
                 const std::optional<std::string>& sidecar) {
    QDir().mkpath(folder);
    DesignSet lost;
    lost.currentDesign.fi_len = length;
    writeBytes((folder + "/" + name + ".cig").toStdString(), bytesOf(encodeCigaretteFile(lost)));
    if (sidecar) writeBytes((folder + "/" + name + ".info").toStdString(), *sidecar);
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

// Designs whose sidecar is gone or damaged are still designs: they are offered, their files stay until the
// user decides, and they come back without a file name, so that Save asks for one.
TEST_F(Recovery, DesignsWithADamagedSidecarAreOfferedAndKeptUntilTheUserDecides) {
    const std::string good = encodeRecoveryInfo({"/x/y.cig", false, 1797000000});
    std::string crlf = good;
    for (std::size_t at = crlf.find('\n'); at != std::string::npos; at = crlf.find('\n', at + 2))
        crlf.insert(at, 1, '\r');
    const struct {
        const char* what;
        std::optional<std::string> sidecar;
        bool pathKnown;
    } cases[] = {
        {"no sidecar", std::nullopt, false},
        {"an empty one", "", false},
        {"one cut short", good.substr(0, 25), false},
        {"garbage", std::string("\x89PNG\r\n\x1A\n\0\0", 10) + std::string(300, '\xAB'), false},
        {"a bad escape", "veltrano recovery 1\npath=\\q.cig\nlegacy=0\ntime=1797000000\n", false},
        {"one over 64 KiB", good + std::string(70000, 'x'), false},
        {"one with CR LF line breaks", crlf, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(folder).removeRecursively();
        leaveOrphan(folder, "lost", 27, c.sidecar);
        const QString designsFile = folder + "/lost.cig", sidecarFile = folder + "/lost.info";
        bool keptWhileAsked = false;
        std::string details;
        dialogs.expect([&](QDialog& d) {
            auto* box = qobject_cast<QMessageBox*>(&d);
            details = box ? box->informativeText().toStdString() : "no message box";
            keptWhileAsked =
                QFileInfo::exists(designsFile) && QFileInfo::exists(sidecarFile) == c.sidecar.has_value();
            return int(QMessageBox::Yes);
        });
        EXPECT_TRUE(offerRecovery(dialogs, window.get(), window->undoableDocument(), window->errorReporter(),
                                  folder, nullptr));
        EXPECT_TRUE(keptWhileAsked);
        EXPECT_EQ(details, c.pathKnown ? "They belong to /x/y.cig."
                                       : "The file they belong to is not known: Save asks for a name.");
        EXPECT_EQ(current().fi_len, 27);
        EXPECT_TRUE(window->designsChanged());
        EXPECT_EQ(window->currentFileName().toStdString(), c.pathKnown ? "/x/y.cig" : "");
        if (!c.pathKnown) {
            cancelNext();  // Save asks for a name
            window->runCommand(kCmdSave);
        }
        EXPECT_FALSE(QFileInfo::exists(designsFile));  // recovered, then gone
        current().fi_len = 20;
    }
}

// What cannot be designs goes without a question; what cannot be read now stays as it is.
TEST_F(Recovery, SetsWithoutDesignsGoWithoutAQuestionAndUnreadableOnesStay) {
    const std::string sidecar = encodeRecoveryInfo({"/x/y.cig", false, 1797000000});
    const struct {
        const char* what;
        std::function<void(const std::string& designsFile)> make;  // puts something in the designs' place
        bool stays;
    } cases[] = {
        {"no designs file", [](const std::string&) {}, false},
        {"a cut designs file", [](const std::string& f) { writeBytes(f, std::string(13015, '\0')); }, false},
        {"a designs file of another kind",
         [](const std::string& f) { writeBytes(f, std::string(13016, 'x')); }, false},
#ifndef _WIN32
        {"a pipe", [](const std::string& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0); }, true},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        writeBytes((folder + "/odd.info").toStdString(), sidecar);
        c.make((folder + "/odd.cig").toStdString());
        EXPECT_FALSE(offerRecovery(dialogs, window.get(), window->undoableDocument(), window->errorReporter(),
                                   folder, nullptr));
        EXPECT_EQ(QFileInfo::exists(folder + "/odd.info"), c.stays);
        EXPECT_EQ(QDir(folder).entryList({"*.lock"}, QDir::Files), QStringList());
    }
    EXPECT_EQ(dialogs.runs, 0);
}

// Descriptor and file size limits are the POSIX system's.
#ifndef _WIN32
// Hundreds of sets left behind: each is offered in turn, newest first, saying how many more wait, and
// only the one on offer is locked, so that the program never runs out of descriptors (here fewer are
// allowed than there are sets).
TEST_F(Recovery, ManySetsAreOfferedOneAtATimeWithoutHoldingTheirLocks) {
    constexpr int kSets = 300;
    for (int i = 0; i < kSets; ++i)
        leaveOrphan(folder, QStringLiteral("set-%1").arg(i), 1000 + i,
                    encodeRecoveryInfo({"", false, 1797000000 + i}));
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit lowered{std::min<rlim_t>(256, limit.rlim_cur), limit.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &lowered), 0);
    const int before = openDescriptors();
    std::vector<std::string> waiting;
    int most = 0;
    for (int answer : {int(QMessageBox::Discard), int(QMessageBox::Discard), int(QMessageBox::Yes)})
        dialogs.expect([&, answer](QDialog& d) {
            auto* box = qobject_cast<QMessageBox*>(&d);
            waiting.push_back(box ? box->informativeText().section('\n', 1).toStdString() : "no message box");
            most = std::max(most, openDescriptors());
            return answer;
        });
    const bool recovered = offerRecovery(dialogs, window.get(), window->undoableDocument(),
                                         window->errorReporter(), folder, nullptr);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);
    EXPECT_TRUE(recovered);
    EXPECT_EQ(waiting, (std::vector<std::string>{"299 more sets of unsaved designs wait to be offered.",
                                                 "298 more sets of unsaved designs wait to be offered.",
                                                 "297 more sets of unsaved designs wait to be offered."}));
    EXPECT_LE(most, before + 1) << "one lock at a time";
    EXPECT_EQ(current().fi_len, 1000 + kSets - 3);  // the two newest were discarded
    EXPECT_EQ(QDir(folder).entryList({"*.cig"}, QDir::Files).size(), kSets - 3);
    EXPECT_EQ(QDir(folder).entryList({"*.lock"}, QDir::Files), QStringList());
}

// Where the recovery files cannot be written, a note says so once per run, without stopping the work:
// the folder and the system's reason.
TEST_F(Recovery, UnprotectedChangesAreToldOnceWithTheFolderAndTheReason) {
    platform::letFileSizeLimitFailWrites();  // as the program does first thing
    rlimit fileSize{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &fileSize), 0);
    const struct {
        const char* what;
        QString folder;
        std::function<void(const RecoveryStore&)> spoil;  // after the store is made
        std::string reason;
    } cases[] = {
        {"a folder in the designs' place", folder,
         [](const RecoveryStore& store) { QDir().mkpath(store.designsPath()); }, "Is a directory"},
        {"a file where a folder should be", folder + "/plain-file/veltrano", {}, "Not a directory"},
        {"a file size limit", folder,
         [&](const RecoveryStore&) {
             const rlimit small{4096, fileSize.rlim_max};
             ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
         },
         "File too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        writeBytes((folder + "/plain-file").toStdString(), "not a folder");
        window = std::make_unique<MainWin>(state.document, dialogs);
        auto store = std::make_unique<RecoveryStore>(c.folder);
        if (c.spoil) c.spoil(*store);
        auto* writer = new RecoveryWriter(window->undoableDocument(), std::move(store), 0);
        window->attachRecovery(writer);
        const auto notes = [&] { return window->findChildren<QMessageBox*>("unprotectedNote"); };

        reference().cp_perm += 1;
        window->runCommand(kCmdCopyToCurrent);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !notes().isEmpty(); }, 10000));
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &fileSize), 0);
        ASSERT_EQ(notes().size(), 1);
        QMessageBox* note = notes().first();
        EXPECT_TRUE(note->isVisible());
        EXPECT_FALSE(note->isModal());
        EXPECT_EQ(note->text(), "Unsaved changes are not protected against a crash.");
        EXPECT_EQ(note->informativeText().toStdString(), "The recovery files cannot be written in " +
                                                             c.folder.toStdString() + ": " + c.reason +
                                                             ". Save the designs to keep them.");
        // Once per run: the next change that cannot be written says nothing more.
        reference().cp_perm += 1;
        window->runCommand(kCmdCopyToCurrent);
        writer->flush();
        QCoreApplication::processEvents();
        EXPECT_EQ(notes().size(), 1);
        window.reset();
    }
    window = std::make_unique<MainWin>(state.document, dialogs);
}

#endif

}  // namespace
}  // namespace veltrano::testing
