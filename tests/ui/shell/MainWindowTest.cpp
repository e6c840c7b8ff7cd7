#include <QAction>
#include <QMenuBar>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "ShellFixture.h"
#include "ui/dialogs/ControlIds.h"
#include "ui/shell/DesignDlg.h"
#include "ui/shell/PuffWaitDlg.h"
#include "ui/shell/ViewArea.h"

namespace veltrano::testing {
namespace {

using MainWindow = ShellTest;

std::vector<View> checkedViews(MainWin& w) {
    const CommandId ids[] = {kCmdViewStationary, kCmdViewYields, kCmdViewPuffByPuff, kCmdViewSummary};
    std::vector<View> checked;
    for (View mode : {View::StationaryFlow, View::Yields, View::PuffByPuff, View::Summary})
        if (w.action(ids[static_cast<int>(mode) - 1])->isChecked()) checked.push_back(mode);
    return checked;
}

// The menu bar as users see it: titles, items in order with separators, ids and shortcuts.
TEST_F(MainWindow, MenuBarMatchesTheCommandTable) {
    const struct Item {
        const char* text;
        int id;  // 0 for a separator
    } file[] = {{"Open ...", 40007},
                {nullptr, 0},
                {"Save", 40008},
                {"Save as ...", 40009},
                {nullptr, 0},
                {"Import ...", 40026},
                {"Print ...", 40010},
                {"Export view ...", 40103},
                {"Export data ...", 40104},
                {nullptr, 0},
                {"Recent Files", 40108},
                {nullptr, 0},
                {"Exit\tAlt+X", 40001}},
      edit[] = {{"Undo", 40101}, {"Redo", 40102}, {nullptr, 0}, {"Copy", 40105}},
      view[] = {{"Stationary Flow Results", 40020},
                {"ISO and Alternative Yields", 40021},
                {"Puff by Puff Analysis Results", 40022},
                {"Cigarette Data Summary", 40023}},
      design[] = {{"Reference cigarette ...", 40011},
                  {"Current cigarette ...", 40012},
                  {nullptr, 0},
                  {"Copy to current\tAlt+C", 40013}},
      extras[] =
          {
              {"Puff by Puff Analysis", 40014},
              {"Problem Solver ...", 40015},
              {nullptr, 0},
              {"Menu Bar", 40019},
              {nullptr, 0},
              {"Add Information ...", 40024},
              // Added after the items the program has always had; a build without NLopt has no search.
              {nullptr, 0},
              {"Sensitivity ...", 40106},
#ifdef VELTRANO_HAVE_NLOPT
              {"Design to targets ...", 40107},
#endif
          },
      help[] = {{"About ...", 40016}};
    const struct {
        const char* title;
        std::span<const Item> items;
    } menus[] = {{"File", file},     {"Edit", edit}, {"View", view}, {"Cigarette Design", design},
                 {"Extras", extras}, {"?", help}};

    const QList<QAction*> titles = window->menuBar()->actions();
    ASSERT_EQ(titles.size(), 6);
    for (std::size_t m = 0; m < 6; ++m) {
        EXPECT_EQ(titles[m]->text(), menus[m].title);
        const QList<QAction*> items = titles[m]->menu()->actions();
        ASSERT_EQ(items.size(), qsizetype(menus[m].items.size())) << menus[m].title;
        for (std::size_t i = 0; i < menus[m].items.size(); ++i) {
            const Item& expected = menus[m].items[i];
            if (!expected.text) {
                EXPECT_TRUE(items[i]->isSeparator()) << menus[m].title << " item " << i;
                continue;
            }
            EXPECT_EQ(items[i]->text(), QString::fromUtf8(expected.text));
            EXPECT_EQ(controlId(items[i]), expected.id);
            // A submenu runs no command of its own.
            if (!items[i]->menu()) {
                EXPECT_EQ(window->action(expected.id), items[i]);
            }
        }
    }
    // The accelerators send their own ids to the same handlers.
    EXPECT_EQ(window->action(kCmdCopyAccelerator)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_C));
    EXPECT_EQ(window->action(kCmdExitAccelerator)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X));
    EXPECT_EQ(window->action(kCmdUndo)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(window->action(kCmdRedo)->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    EXPECT_EQ(shownTitle(*window), "veltrano 4.1 - by korbinel");
}

TEST_F(MainWindow, ViewCommandsMoveTheCheckMarks) {
    using V = std::vector<View>;
    EXPECT_EQ(checkedViews(*window), V{View::StationaryFlow});
    const struct {
        CommandId command;
        View mode;
    } steps[] = {{kCmdViewYields, View::Yields},
                 {kCmdViewSummary, View::Summary},
                 {kCmdViewStationary, View::StationaryFlow},
                 {kCmdViewYields, View::Yields}};
    for (const auto& step : steps) {
        ASSERT_TRUE(window->runCommand(step.command));
        EXPECT_EQ(window->viewMode(), step.mode);
        EXPECT_EQ(checkedViews(*window), V{step.mode});
        EXPECT_TRUE(window->panel().radio(step.mode)->isChecked());
    }
    // Choosing the view already shown leaves it checked.
    ASSERT_TRUE(window->runCommand(kCmdViewYields));
    EXPECT_EQ(checkedViews(*window), V{View::Yields});
}

TEST_F(MainWindow, PuffByPuffItemsFollowTheReferencesPuffNumber) {
    window->updateEnabling();
    EXPECT_TRUE(window->action(kCmdPuffByPuff)->isEnabled());
    reference().known &= ~known::bit(KnownBit::IsoPuffNumber);
    EXPECT_FALSE(window->runCommand(kCmdViewPuffByPuff));
    EXPECT_FALSE(window->action(kCmdPuffByPuff)->isEnabled());
    EXPECT_FALSE(window->action(kCmdViewPuffByPuff)->isEnabled());
    EXPECT_EQ(window->viewMode(), View::StationaryFlow);
    for (CommandId id : {kCmdViewYields, kCmdViewSummary, kCmdMenuBar})
        EXPECT_TRUE(window->action(id)->isEnabled()) << id;
}

TEST_F(MainWindow, StaleRuleWhenSwitchingToThePuffView) {
    window->runCommand(kCmdCopyToCurrent);  // a change in view 1: per-puff data out of date
    EXPECT_FALSE(window->puffByPuffValid());
    current().freePuffData();
    ASSERT_TRUE(window->runCommand(kCmdViewPuffByPuff));
    EXPECT_TRUE(window->puffByPuffValid());
    EXPECT_GT(current().puff_number, 0);  // the analysis ran once

    // Away and back without a change: no second run.
    window->runCommand(kCmdViewSummary);
    current().freePuffData();
    window->runCommand(kCmdViewPuffByPuff);
    EXPECT_EQ(current().puff_number, 0);
    window->runCommand(kCmdViewPuffByPuff);  // the view shown: nothing
    EXPECT_EQ(current().puff_number, 0);
}

TEST_F(MainWindow, PuffByPuffCommandKeepsTheView) {
    current().freePuffData();
    window->runCommand(kCmdCopyToCurrent);
    ASSERT_TRUE(window->runCommand(kCmdPuffByPuff));
    EXPECT_EQ(window->viewMode(), View::StationaryFlow);
    EXPECT_TRUE(window->puffByPuffValid());
    EXPECT_GT(current().puff_number, 0);
}

TEST_F(MainWindow, ProgressDialogCountsThePuffs) {
    current().alt_interval = 52;  // more puffs than the default
    RecordingErrorReporter errors;
    recalculate(designs(), state.modelParameters, errors);
    window->runCommand(kCmdPuffByPuff);
    const int n = current().puff_number;
    ASSERT_GT(n, 1);
    PuffWaitDlg& progress = *window->findChild<PuffWaitDlg*>();
    EXPECT_FALSE(progress.isVisible());
    EXPECT_EQ(progress.text(), QString("Please wait ... evaluating puff %1/%1.").arg(n));
    EXPECT_EQ(progress.position(), n - 1);
    EXPECT_EQ(progress.maximum(), n);
}

TEST_F(MainWindow, HoverShowsTheDataOfThePuffUnderThePointer) {
    window->show();
    window->runCommand(kCmdPuffByPuff);
    window->runCommand(kCmdViewPuffByPuff);
    const PuffHoverGeometry g = puffHoverGeometry(current());
    ASSERT_GT(g.puffColumnWidth, 1);
    const int y = 100;
    auto moveTo = [&](int x, int yy) { QTest::mouseMove(window->findChild<ViewArea*>(), QPoint(x, yy)); };
    moveTo(g.puffAreaLeft + 2 * g.puffColumnWidth + 1, y);
    EXPECT_EQ(window->hoveredPuff(), 2);
    moveTo(g.puffAreaLeft + 1, 260);  // between the charts
    EXPECT_EQ(window->hoveredPuff(), -1);
    moveTo(g.puffAreaLeft + 1, y);
    EXPECT_EQ(window->hoveredPuff(), 0);
    moveTo(g.puffAreaRight, y);  // on the right edge: one past the last puff
    EXPECT_EQ(window->hoveredPuff(), -1);
    window->runCommand(kCmdViewStationary);
    moveTo(g.puffAreaLeft + 1, y);  // other views never touch it
    EXPECT_EQ(window->hoveredPuff(), -1);
}

TEST_F(MainWindow, TheRawListingScrollsWhenItIsLargerThanTheWindow) {
    window->show();
    window->resize(900, 500);
    window->runCommand(kCmdPuffByPuff);  // nine puff lines below the fields
    auto* scroll = window->findChild<QScrollArea*>("ClientScroll");
    ASSERT_NE(scroll, nullptr);
    QScrollBar* bar = scroll->verticalScrollBar();
    const auto repaint = [&] {
        window->findChild<ViewArea*>()->repaint();
        QCoreApplication::processEvents();  // the area takes the listing's size right after the paint
        QCoreApplication::processEvents();
    };
    repaint();
    EXPECT_EQ(bar->maximum(), 0);  // the views keep to the window

    window->toggleRawListing();
    repaint();
    const QSize listing = recordListingExtent(window->resources(), designs());
    EXPECT_EQ(window->findChild<ViewArea*>()->minimumSize(), listing);
    EXPECT_GE(bar->maximum(), listing.height() - scroll->viewport()->height());
    ASSERT_GT(bar->maximum(), 0);

    QTest::keyClick(scroll, Qt::Key_Down);
    const int afterKey = bar->value();
    EXPECT_GT(afterKey, 0);
    EXPECT_LT(afterKey, bar->maximum());
    QWheelEvent wheel(QPointF(100, 100), scroll->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(scroll->viewport(), &wheel);
    EXPECT_GT(bar->value(), afterKey);
    QTest::keyClick(scroll, Qt::Key_PageDown);
    QTest::keyClick(scroll, Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), bar->maximum());  // down to the current design's CO per puff

    window->toggleRawListing();  // back to the view: nothing to scroll
    repaint();
    EXPECT_EQ(bar->maximum(), 0);
}

TEST_F(MainWindow, MenuBarCommandHidesAndShowsThePanelInPlace) {
    window->show();
    QPoint placed = window->panel().pos();
    EXPECT_TRUE(window->panel().isVisible());
    window->runCommand(kCmdMenuBar);
    EXPECT_FALSE(window->panel().isVisible());
    EXPECT_FALSE(window->action(kCmdMenuBar)->isChecked());
    window->runCommand(kCmdMenuBar);
    EXPECT_TRUE(window->panel().isVisible());
    EXPECT_TRUE(window->action(kCmdMenuBar)->isChecked());
    EXPECT_EQ(window->panel().pos(), placed);
}

}  // namespace
}  // namespace veltrano::testing
