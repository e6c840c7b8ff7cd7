#include <cmath>

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QTableWidget>

#include "ExploreUiSupport.h"
#include "core/design/DesignFields.h"
#include "tests/ui/shell/ShellFixture.h"
#include "ui/explore/TargetDesignDlg.h"

namespace veltrano::testing {
namespace {

class TargetCommand : public ShellTest {
protected:
    static TargetDesignDlg& search(QDialog& d) { return *qobject_cast<TargetDesignDlg*>(&d); }
    static void target(QDialog& d, const std::string& output, const char* value) {
        child<QCheckBox>(d, ("target_" + output).c_str())->setChecked(true);
        enter(d, ("value_" + output).c_str(), value);
    }
    static void solveToEnd(QDialog& d) {
        click(d, "solve");
        EXPECT_TRUE(waitUntil([&] { return !search(d).running(); }));
    }
    static QString cell(QDialog& d, const char* table, int row, int column) {
        const QTableWidgetItem* item = child<QTableWidget>(d, table)->item(row, column);
        return item ? item->text() : QString();
    }
    void runSearch(const std::function<int(QDialog&)>& step) {
        expectDialog<TargetDesignDlg>(dialogs, step);
        window->runCommand(kCmdDesignToTargets);
    }
};

TEST_F(TargetCommand, AcceptedValuesReachTheTargetsAndUndoTakesThemBack) {
    const DesignImage before = encodeDesignImage(current());
    double found = 0;
    runSearch([&](QDialog& d) {
        chooseField(d, "field1", "tp_perfoperm");
        target(d, "iso_nfdpm", "9");
        solveToEnd(d);
        const auto& result = search(d).result();
        EXPECT_TRUE(result && result->allMet);
        if (result && result->found) found = result->variables[0];
        EXPECT_EQ(child<QLabel>(d, "summary")->text(), "Every target is met within 1.00 %.");
        const QProgressBar& bar = *child<QProgressBar>(d, "progress");
        EXPECT_GT(bar.value(), 0);
        EXPECT_EQ(bar.value(), bar.maximum());  // met before the last start: the bar still ends full
        EXPECT_EQ(cell(d, "variablesFound", 0, 0), "Permeability of the perforation [CU]");
        EXPECT_EQ(cell(d, "targetsReached", 0, 0), "ISO 'tar' [mg/cig]");
        EXPECT_EQ(cell(d, "targetsReached", 0, 1), "9.000");
        EXPECT_EQ(cell(d, "targetsReached", 0, 4), "yes");
        click(d, "accept");
        return d.result();
    });
    EXPECT_EQ(current().tp_perfoperm, found);
    EXPECT_LE(std::fabs(current().iso_nfdpm - 9) / 9, 0.01);
    EXPECT_EQ(window->action(kCmdUndo)->text(), "Undo Design to Targets");
    window->runCommand(kCmdUndo);
    EXPECT_EQ(encodeDesignImage(current()), before);
}

TEST_F(TargetCommand, TargetsOutOfReachNameTheMissAndOfferTheBestCompromise) {
    runSearch([&](QDialog& d) {
        chooseField(d, "field1", "tp_perfoperm");
        enter(d, "from1", "100");
        enter(d, "to1", "200");
        target(d, "iso_nfdpm", "1");  // far below what the perforation can bring
        solveToEnd(d);
        const auto& result = search(d).result();
        EXPECT_TRUE(result && result->found && !result->allMet);
        const QString summary = child<QLabel>(d, "summary")->text();
        EXPECT_TRUE(summary.startsWith("Not every target can be met within 1.00 %: ISO 'tar' (+"))
            << summary.toStdString();
        EXPECT_NE(summary.indexOf("best compromise"), -1);
        EXPECT_EQ(cell(d, "targetsReached", 0, 4), "no");
        EXPECT_EQ(cell(d, "variablesFound", 0, 2), "200");  // as much perforation as the bounds allow
        EXPECT_TRUE(child<QPushButton>(d, "accept")->isEnabled());
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(window->canUndo());
}

TEST_F(TargetCommand, QuestionsWithoutAnswerSayWhy) {
    runSearch([&](QDialog& d) {
        const struct {
            std::function<void()> ask;
            const char* says;
        } cases[] = {
            {[] {}, "Give 1 to 6 targets."},
            {[&] { target(d, "iso_co", "0"); }, "The target of iso_co must be a number other than 0."},
            {[&] {
                 enter(d, "value_iso_co", "10");
                 enter(d, "from1", "300");
                 enter(d, "to1", "200");
             },
             "The bounds of tp_perfoperm must be two finite numbers, the lower first."},
        };
        chooseField(d, "field1", "tp_perfoperm");
        d.show();
        for (const auto& c : cases) {
            c.ask();
            QTest::keyClick(child<QLineEdit>(d, "tolerance"), Qt::Key_Return);  // Enter solves
            EXPECT_FALSE(search(d).running());
            EXPECT_EQ(child<QLabel>(d, "summary")->text().toStdString(), c.says);
        }
        EXPECT_FALSE(child<QPushButton>(d, "accept")->isEnabled());
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
        return d.result();
    });
}

}  // namespace
}  // namespace veltrano::testing
