#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "ShellFixture.h"
#include "core/design/CigaretteFile.h"
#include "ui/dialogs/ControlIds.h"
#include "ui/shell/DesignDlg.h"

namespace veltrano::testing {
namespace {

using Panel = ShellTest;

TEST_F(Panel, EnterPressesTheFocusedButtonAsSpaceDoes) {
    window->show();
    DesignDlg& panel = window->panel();
    // Enter on a radio button runs no button (a file dialog here would fail the test).
    panel.radio(View::Summary)->setFocus();
    QTest::keyClick(panel.radio(View::Summary), Qt::Key_Return);
    EXPECT_FALSE(window->designsChanged());

    EXPECT_EQ(current().puff_number, 0);

    panel.button(1083)->setFocus();  // "Puff-by-puff analysis"
    QTest::keyClick(panel.button(1083), Qt::Key_Enter);
    EXPECT_GT(current().puff_number, 0);
    panel.button(1081)->setFocus();  // "Copy to current"
    QTest::keyClick(panel.button(1081), Qt::Key_Return);
    EXPECT_TRUE(window->designsChanged());
}

TEST_F(Panel, ButtonsAndRadiosInOrderWithTheirIds) {
    DesignDlg& panel = window->panel();
    EXPECT_EQ(panel.windowTitle(), "Cigarette Design");
    const struct {
        int id;
        const char* text;
    } buttons[] = {{1087, "Open ..."},
                   {1085, "Save ..."},
                   {1086, "Save as ..."},
                   {1092, "Import ..."},
                   {1088, "Print ..."},
                   {1080, "Reference cigarette ..."},
                   {1081, "Copy to current"},
                   {1082, "Current cigarette ..."},
                   {1083, "Puff-by-puff analysis"},
                   {1084, "Problem solver ..."},
                   {1090, "Add Information ..."},
                   {1089, "About ..."},
                   {2, "Close"},
                   {3, "Exit"}};
    int lastY = -1;
    window->show();
    for (const auto& b : buttons) {
        QPushButton* button = panel.button(b.id);
        ASSERT_NE(button, nullptr) << b.id;
        EXPECT_EQ(button->text(), b.text);
        EXPECT_GT(button->y(), lastY) << b.text;  // top to bottom in this order
        lastY = button->y();
    }
    const char* radios[] = {"Stationary flow", "ISO and alt. yields", "Puff-by-puff analysis",
                            "Data summary"};
    for (View view : {View::StationaryFlow, View::Yields, View::PuffByPuff, View::Summary}) {
        const int i = static_cast<int>(view);
        EXPECT_EQ(panel.radio(view)->text(), radios[i - 1]);
        EXPECT_EQ(controlId(panel.radio(view)), 1098 + i);
    }
    EXPECT_TRUE(panel.radio(View::StationaryFlow)->isChecked());
}

TEST_F(Panel, PanelStandsBesideTheMainWindow) {
    window->show();
    const QRect main = window->frameGeometry();
    const QRect panel = window->panel().frameGeometry();
    EXPECT_TRUE(window->panel().isVisible());
    EXPECT_EQ(panel.top(), main.top());
    const QRect desktop = window->screen()->availableGeometry();
    if (main.right() + 11 + panel.width() <= desktop.width())
        EXPECT_EQ(panel.left(), main.right() + 11);
    else
        EXPECT_EQ(panel.left(), desktop.width() - panel.width() - 5);
}

TEST_F(Panel, RadioOfTheShownViewChangesNothingAndViewThreeRunsOnceAfterAChange) {
    window->panel().radio(View::StationaryFlow)->click();
    EXPECT_EQ(window->viewMode(), View::StationaryFlow);

    window->runCommand(kCmdCopyToCurrent);
    current().freePuffData();
    window->panel().radio(View::PuffByPuff)->click();
    EXPECT_EQ(window->viewMode(), View::PuffByPuff);
    EXPECT_TRUE(window->action(kCmdViewPuffByPuff)->isChecked());
    EXPECT_GT(current().puff_number, 0);

    window->panel().radio(View::Yields)->click();
    current().freePuffData();
    window->panel().radio(View::PuffByPuff)->click();
    EXPECT_EQ(current().puff_number, 0);  // nothing changed: no second run
}

TEST_F(Panel, PuffByPuffButtonRunsTheAnalysisAndLeavesTheView) {
    window->runCommand(kCmdViewYields);
    window->runCommand(kCmdCopyToCurrent);
    current().freePuffData();
    window->panel().button(1083)->click();
    EXPECT_GT(current().puff_number, 0);
    EXPECT_TRUE(window->puffByPuffValid());
    EXPECT_EQ(window->viewMode(), View::Yields);
    EXPECT_TRUE(window->panel().radio(View::Yields)->isChecked());
}

TEST_F(Panel, EscapeAndCloseHideItAndMenuBarBringsItBack) {
    window->show();
    const QPoint placed = window->panel().pos();
    QTest::keyClick(&window->panel(), Qt::Key_Escape);
    EXPECT_FALSE(window->panel().isVisible());
    EXPECT_FALSE(window->panelVisible());
    EXPECT_FALSE(window->action(kCmdMenuBar)->isChecked());
    window->runCommand(kCmdMenuBar);
    EXPECT_TRUE(window->panel().isVisible());
    EXPECT_EQ(window->panel().pos(), placed);
    window->panel().button(2)->click();
    EXPECT_FALSE(window->panel().isVisible());
    EXPECT_FALSE(window->action(kCmdMenuBar)->isChecked());
}

TEST_F(Panel, PuffByPuffControlsFollowTheOpenedReference) {
    TempFolder folder;
    DesignSet withoutPuffNumber;
    withoutPuffNumber.referenceDesign.known &= ~known::bit(KnownBit::IsoPuffNumber);
    RecordingErrorReporter errors;
    ASSERT_EQ(saveCigaretteFile(folder.file("no23.cig"), withoutPuffNumber, errors), 0);
    ASSERT_EQ(saveCigaretteFile(folder.file("with23.cig"), DesignSet(), errors), 0);

    chooseFile(folder.file("no23.cig"));
    window->runCommand(kCmdOpen);
    EXPECT_FALSE(window->panel().button(1083)->isEnabled());
    EXPECT_FALSE(window->panel().radio(View::PuffByPuff)->isEnabled());
    chooseFile(folder.file("with23.cig"));
    window->runCommand(kCmdOpen);
    EXPECT_TRUE(window->panel().button(1083)->isEnabled());
    EXPECT_TRUE(window->panel().radio(View::PuffByPuff)->isEnabled());
}

TEST_F(Panel, ExitAsksLikeTheMenu) {
    window->show();
    window->runCommand(kCmdCopyToCurrent);
    dialogs.expect([](QDialog&) { return int(QMessageBox::Cancel); });
    window->panel().button(3)->click();
    EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace veltrano::testing
