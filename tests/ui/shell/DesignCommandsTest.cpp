#include <string>

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "ShellFixture.h"
#include "tests/ui/sheet/SheetTestSupport.h"
#include "ui/shell/DesignDlg.h"

namespace veltrano::testing {
namespace {

using DesignCommands = ShellTest;

TEST_F(DesignCommands, CancelledSheetsChangeNothing) {
    window->runCommand(kCmdViewYields);
    current().stat_pdo = 999;  // no recalculation may touch it
    const bool valid = window->puffByPuffValid();
    for (CommandId command : {kCmdEditCurrent, kCmdEditReference}) {
        dialogs.expect([](QDialog& d) {
            type(d, "fi_len", "30");
            return int(QDialog::Rejected);
        });
        window->runCommand(command);
    }
    EXPECT_EQ(current().stat_pdo, 999);
    EXPECT_EQ(current().fi_len, 24);
    EXPECT_EQ(reference().fi_len, 24);
    EXPECT_EQ(window->puffByPuffValid(), valid);
    EXPECT_FALSE(window->designsChanged());
}

TEST_F(DesignCommands, EditCurrentStoresTheTypedValuesAndRecalculates) {
    const double ventilationBefore = current().stat_fivent;
    dialogs.expect([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Cigarette Design Specification Sheet");
        type(d, "tp_perfoperm", "300");
        return press(d, QDialogButtonBox::Ok);
    });
    window->runCommand(kCmdEditCurrent);
    EXPECT_EQ(current().tp_perfoperm, 300);
    EXPECT_GT(current().stat_fivent, ventilationBefore);  // more perforation, more ventilation
    EXPECT_FALSE(window->puffByPuffValid());
    EXPECT_TRUE(window->designsChanged());
}

// OK on a sheet nobody edited recalculates but changes no input, so there is nothing to save or undo:
// neither for the default designs nor for values that the fields show rounded, nor for values that are not
// known (their empty fields store 0, where the current design held the model's default).
TEST_F(DesignCommands, OkOnAnUneditedSheetRecalculatesAndLeavesTheDesignsUnmodified) {
    for (bool awkward : {false, true}) {
        if (awkward) {
            CigaretteDesign d = awkwardDesign();
            d.known &= ~(known::bit(KnownBit::TobaccoMass) | known::bit(KnownBit::PaperExponent));
            reference().assign(d);
            current().assign(d);
            RecordingErrorReporter errors;
            recalculate(designs(), state.modelParameters, errors);
            ASSERT_EQ(current().ro_totmass, 750);  // the model's default for an unknown mass
        }
        for (CommandId command : {kCmdEditCurrent, kCmdEditReference}) {
            SCOPED_TRACE(std::string(awkward ? "awkward values, " : "default designs, ") +
                         (command == kCmdEditCurrent ? "current" : "reference"));
            current().iso_fivent = 999;  // a result, which the recalculation puts right
            dialogs.expect([](QDialog& d) {
                for (int page = 0; page < sheetDialog(d).tabs()->count(); ++page) showPage(d, page);
                return press(d, QDialogButtonBox::Ok);
            });
            window->runCommand(command);
            EXPECT_NE(current().iso_fivent, 999);
            EXPECT_FALSE(window->designsChanged());
            EXPECT_EQ(shownTitle(*window).find('*'), std::string::npos) << shownTitle(*window);
            EXPECT_FALSE(window->canUndo());
        }
    }
}

TEST_F(DesignCommands, AcceptedEditGivesEveryDesignTheReferencesKnownWord) {
    current().known = 0x87BFFDAFu;
    dialogs.expect([](QDialog& d) { return press(d, QDialogButtonBox::Ok); });
    window->runCommand(kCmdEditCurrent);
    EXPECT_EQ(current().known, reference().known);
    EXPECT_EQ(designs().workingReference.known, reference().known);
}

TEST_F(DesignCommands, ReferenceLosingItsPuffNumberLeavesThePuffView) {
    window->runCommand(kCmdViewPuffByPuff);
    ASSERT_EQ(window->viewMode(), View::PuffByPuff);
    dialogs.expect([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Reference Cigarette Specification Sheet");
        showPage(d, 5);
        d.findChild<QCheckBox*>("iso_puff_known")->click();
        return press(d, QDialogButtonBox::Ok);
    });
    window->runCommand(kCmdEditReference);
    EXPECT_FALSE(reference().isKnown(KnownBit::IsoPuffNumber));
    EXPECT_EQ(window->viewMode(), View::StationaryFlow);
    EXPECT_TRUE(window->action(kCmdViewStationary)->isChecked());
    EXPECT_FALSE(window->action(kCmdViewPuffByPuff)->isChecked());
    EXPECT_TRUE(window->panel().radio(View::StationaryFlow)->isChecked());
    EXPECT_FALSE(window->panel().button(1083)->isEnabled());
    EXPECT_FALSE(window->panel().radio(View::PuffByPuff)->isEnabled());
    EXPECT_FALSE(window->puffByPuffValid());

    // A reference that has it again brings both back.
    dialogs.expect([](QDialog& d) {
        showPage(d, 5);
        d.findChild<QCheckBox*>("iso_puff_known")->click();
        type(d, "iso_puff", "8");
        return press(d, QDialogButtonBox::Ok);
    });
    window->runCommand(kCmdEditReference);
    EXPECT_TRUE(window->panel().button(1083)->isEnabled());
    EXPECT_TRUE(window->panel().radio(View::PuffByPuff)->isEnabled());
}

TEST_F(DesignCommands, CopyToCurrentInViewTwoAndInViewThree) {
    current().fi_len = 30;
    window->runCommand(kCmdViewYields);
    ASSERT_TRUE(window->runCommand(kCmdCopyAccelerator));
    EXPECT_EQ(current().fi_len, 24);
    EXPECT_FALSE(window->puffByPuffValid());
    EXPECT_TRUE(window->designsChanged());

    window->runCommand(kCmdViewPuffByPuff);  // runs the analysis once
    current().freePuffData();
    window->runCommand(kCmdCopyToCurrent);  // in view 3 the analysis runs at once
    EXPECT_TRUE(window->puffByPuffValid());
    EXPECT_GT(current().puff_number, 0);
}

TEST_F(DesignCommands, ProblemSolverAcceptTakesEffectAtOnce) {
    const double ventilationBefore = current().stat_fivent;
    dialogs.expect([](QDialog& d) {
        type(d, "tipping_target", "25");
        d.findChild<QPushButton*>("tipping_search")->click();
        d.findChild<QPushButton*>("tipping_accept")->click();
        d.findChild<QPushButton*>("exit")->click();
        return d.result();
    });
    window->runCommand(kCmdProblemSolver);
    EXPECT_NEAR(current().stat_fivent, 25, 0.5);  // recalculated with the accepted permeabilities
    EXPECT_GT(current().stat_fivent, ventilationBefore);
    EXPECT_TRUE(window->designsChanged());
    EXPECT_FALSE(window->puffByPuffValid());
}

TEST_F(DesignCommands, ProblemSolverWithoutAcceptStillRecalculates) {
    current().stat_pdo = 999;
    window->runCommand(kCmdViewPuffByPuff);
    current().freePuffData();
    dialogs.expect([](QDialog&) { return int(QDialog::Rejected); });
    window->runCommand(kCmdProblemSolver);
    EXPECT_NE(current().stat_pdo, 999);
    EXPECT_GT(current().puff_number, 0);  // in view 3 the analysis ran again
    EXPECT_FALSE(window->designsChanged());
}

}  // namespace
}  // namespace veltrano::testing
