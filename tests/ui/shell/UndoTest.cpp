#include <functional>
#include <string>
#include <vector>

#include <QAction>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

#include "ShellFixture.h"
#include "core/design/CigaretteFile.h"
#include "tests/ui/sheet/SheetTestSupport.h"
#include "ui/dialogs/ControlIds.h"
#include "ui/shell/UndoableDocument.h"

namespace veltrano::testing {
namespace {

using Undo = ShellTest;

// Everything undo must put back: the three record images and the text, every owned array, the per-puff
// data and their validity.
struct Everything {
    std::vector<std::uint8_t> file;
    std::vector<std::vector<double>> arrays;
    std::vector<std::int32_t> puffSizes;
    bool puffDataValid;
    bool operator==(const Everything&) const = default;
};

Everything everything(const MainWin& w) {
    const DesignSet& d = w.document().designs();
    Everything e{encodeCigaretteFile(d), {}, d.currentDesign.puff_size, w.puffByPuffValid()};
    for (const CigaretteDesign* design : {&d.referenceDesign, &d.workingReference, &d.currentDesign}) {
        for (const OwnedArray& a : ownedArrays()) e.arrays.push_back(design->*a.member);
        for (const PuffArray& a : puffArrays()) e.arrays.push_back(design->*a.member);
    }
    return e;
}

// Every change of the designs is one step back and forth, named as it is, restoring bit for bit.
TEST_F(Undo, EveryChangeIsUndoneAndRedoneExactly) {
    window->runCommand(kCmdViewSummary);
    window->runCommand(kCmdPuffByPuff);
    const struct Change {
        const char* name;
        std::function<void()> run;
    } changes[] = {
        {"Edit Current Cigarette",
         [&] {
             dialogs.expect([](QDialog& d) {
                 type(d, "tp_perfoperm", "300");
                 return press(d, QDialogButtonBox::Ok);
             });
             window->runCommand(kCmdEditCurrent);
         }},
        {"Edit Reference Cigarette",
         [&] {
             dialogs.expect([](QDialog& d) {
                 type(d, "tp_perfoperm", "200");
                 return press(d, QDialogButtonBox::Ok);
             });
             window->runCommand(kCmdEditReference);
         }},
        {"Copy to Current", [&] { window->runCommand(kCmdCopyToCurrent); }},
        {"Add Information",
         [&] {
             dialogs.expect([](QDialog& d) {
                 QTest::keyClicks(findByControlId<QPlainTextEdit>(&d, 1102), "notes");
                 d.accept();
                 return d.result();
             });
             window->runCommand(kCmdAddInformation);
         }},
        {"Accept Solver Result",
         [&] {
             dialogs.expect([](QDialog& d) {
                 type(d, "tipping_target", "25");
                 d.findChild<QPushButton*>("tipping_search")->click();
                 d.findChild<QPushButton*>("tipping_accept")->click();
                 d.findChild<QPushButton*>("exit")->click();
                 return d.result();
             });
             window->runCommand(kCmdProblemSolver);
         }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        const Everything before = everything(*window);
        const bool modifiedBefore = window->designsChanged();
        change.run();
        const Everything after = everything(*window);
        ASSERT_NE(after, before);
        EXPECT_EQ(window->action(kCmdUndo)->text().toStdString(), std::string("Undo ") + change.name);

        const std::size_t errorsBefore = dialogs.messages.size();
        ASSERT_TRUE(window->runCommand(kCmdUndo));
        EXPECT_EQ(everything(*window), before);
        EXPECT_EQ(window->designsChanged(), modifiedBefore);
        EXPECT_EQ(window->action(kCmdRedo)->text().toStdString(), std::string("Redo ") + change.name);
        ASSERT_TRUE(window->runCommand(kCmdRedo));
        EXPECT_EQ(everything(*window), after);
        EXPECT_TRUE(window->designsChanged());
        EXPECT_EQ(dialogs.messages.size(), errorsBefore);  // nothing recalculated, nothing re-reported
    }
}

TEST_F(Undo, UndoingBackToTheSavedStateNeedsNoQuestion) {
    TempFolder folder;
    window->show();
    chooseFile(folder.file("saved.cig"));
    window->runCommand(kCmdSaveAs);
    EXPECT_FALSE(window->commandEnabled(kCmdUndo));
    window->runCommand(kCmdCopyToCurrent);
    EXPECT_TRUE(window->designsChanged());
    EXPECT_EQ(shownTitle(*window), "veltrano 4.1 - " + folder.file("saved.cig") + "*");
    window->runCommand(kCmdUndo);
    EXPECT_FALSE(window->designsChanged());
    EXPECT_EQ(shownTitle(*window), "veltrano 4.1 - " + folder.file("saved.cig"));
    EXPECT_TRUE(window->close());  // no question: what is on disk is what is shown
}

TEST_F(Undo, OpenStartsANewHistoryImportKeepsTheDesignsModified) {
    TempFolder folder;
    window->runCommand(kCmdCopyToCurrent);
    ASSERT_TRUE(window->commandEnabled(kCmdUndo));
    RecordingErrorReporter errors;
    ASSERT_EQ(saveCigaretteFile(folder.file("a.cig"), DesignSet(), errors), 0);
    dialogs.expect([](QDialog&) { return int(QMessageBox::Discard); });
    chooseFile(folder.file("a.cig"));
    window->runCommand(kCmdOpen);
    EXPECT_FALSE(window->commandEnabled(kCmdUndo));
    EXPECT_FALSE(window->designsChanged());

    chooseFile(std::string(VELTRANO_SOURCE_DIR) + "/fuzz/corpus/legacy_file/typical.cig");
    window->runCommand(kCmdImport);
    EXPECT_FALSE(window->commandEnabled(kCmdUndo));
    EXPECT_TRUE(window->designsChanged());
    // A change and its undo bring back the imported designs, still not saved in this format.
    window->runCommand(kCmdCopyToCurrent);
    window->runCommand(kCmdUndo);
    EXPECT_TRUE(window->designsChanged());
}

// Open leaves a clean history whatever came before, an import's history among them (which has no
// saved state): a change undone is then no change, and closing asks nothing.
TEST_F(Undo, OpenAfterAnImportStartsFromTheSavedState) {
    TempFolder folder;
    chooseFile(std::string(VELTRANO_SOURCE_DIR) + "/fuzz/corpus/legacy_file/typical.cig");
    window->runCommand(kCmdImport);
    RecordingErrorReporter errors;
    ASSERT_EQ(saveCigaretteFile(folder.file("a.cig"), DesignSet(), errors), 0);
    dialogs.expect([](QDialog&) { return int(QMessageBox::Discard); });
    chooseFile(folder.file("a.cig"));
    window->runCommand(kCmdOpen);
    window->runCommand(kCmdCopyToCurrent);
    ASSERT_TRUE(window->designsChanged());
    window->runCommand(kCmdUndo);
    EXPECT_FALSE(window->designsChanged());
    EXPECT_EQ(shownTitle(*window), "veltrano 4.1 - " + folder.file("a.cig"));
    EXPECT_TRUE(window->close());  // no question
}

// Whatever a user action does to the document, the window hears of it once, after the step is on
// the undo stack: the history, the modified state and the designs agree when it is told.
TEST_F(Undo, OneActionIsOneNotificationAfterItsStep) {
    TempFolder folder;
    UndoableDocument& undoable = window->undoableDocument();
    struct Heard {
        int count = 0;
        bool modified = false, canUndo = false;
    } heard;
    QObject::connect(&undoable, &UndoableDocument::changed, [&](const DocumentChange&) {
        ++heard.count;
        heard.modified = undoable.document().modified();
        heard.canUndo = undoable.undoStack().canUndo();
    });
    const struct Action {
        const char* name;
        std::function<void()> run;
        bool modified, canUndo;
    } actions[] = {
        {"Copy to current", [&] { window->runCommand(kCmdCopyToCurrent); }, true, true},
        {"Undo", [&] { window->runCommand(kCmdUndo); }, false, false},
        {"Redo", [&] { window->runCommand(kCmdRedo); }, true, true},
        {"Edit Current",
         [&] {
             dialogs.expect([](QDialog& d) {
                 type(d, "tp_perfoperm", "300");
                 return press(d, QDialogButtonBox::Ok);
             });
             window->runCommand(kCmdEditCurrent);
         },
         true, true},
        {"Save as",
         [&] {
             chooseFile(folder.file("saved.cig"));
             window->runCommand(kCmdSaveAs);
         },
         false, true},
        {"Open",
         [&] {
             chooseFile(folder.file("saved.cig"));
             window->runCommand(kCmdOpen);
         },
         false, false},
        {"Import",
         [&] {
             chooseFile(std::string(VELTRANO_SOURCE_DIR) + "/fuzz/corpus/legacy_file/typical.cig");
             window->runCommand(kCmdImport);
         },
         true, false},
    };
    for (const Action& action : actions) {
        SCOPED_TRACE(action.name);
        heard = {};
        action.run();
        EXPECT_EQ(heard.count, 1);
        EXPECT_EQ(heard.modified, action.modified);
        EXPECT_EQ(heard.canUndo, action.canUndo);
        EXPECT_EQ(window->designsChanged(), action.modified);
    }
}

// In view 3 the analysis runs at the end of the change, once the step is on the history and the window
// was told; its data become part of the step, so that Redo brings them back without running it again.
TEST_F(Undo, InViewThreeRedoBringsBackTheAnalysisOfItsStep) {
    ASSERT_TRUE(window->runCommand(kCmdViewPuffByPuff));
    std::vector<std::pair<bool, int>> heard;  // per notification: per-puff data valid, steps in history
    QObject::connect(&window->undoableDocument(), &UndoableDocument::changed, [&](const DocumentChange&) {
        heard.emplace_back(window->puffByPuffValid(), window->undoableDocument().undoStack().count());
    });
    window->runCommand(kCmdCopyToCurrent);
    const std::vector<std::pair<bool, int>> changeThenAnalysis = {{false, 1}, {true, 1}};
    EXPECT_EQ(heard, changeThenAnalysis);
    const Everything after = everything(*window);
    ASSERT_TRUE(after.puffDataValid);

    window->runCommand(kCmdUndo);
    heard.clear();
    window->runCommand(kCmdRedo);
    EXPECT_EQ(heard.size(), 1u);  // no second analysis
    EXPECT_EQ(everything(*window), after);
}

}  // namespace
}  // namespace veltrano::testing
