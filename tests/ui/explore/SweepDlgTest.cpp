#include <fstream>
#include <sstream>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QGroupBox>
#include <QImageReader>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTableView>

#include "ExploreUiSupport.h"
#include "core/design/DesignFields.h"
#include "core/explore/ExploreFields.h"
#include "render/charts/DesignMap.h"
#include "render/charts/ExploreText.h"
#include "tests/ui/shell/ShellFixture.h"
#include "ui/explore/SweepDlg.h"
#include "ui/explore/SweepView.h"
#include "ui/shell/UndoableDocument.h"

namespace veltrano::testing {
namespace {

DesignImage imageOf(const CigaretteDesign& design) {
    return encodeDesignImage(design);
}

const ExploreOutput& output(std::string_view name) {
    return *findExploreOutput(name);
}

// The Sensitivity command with a script for its dialog: `setUp` fills in the question, `answer`
// looks at the dialog after the run and closes it.
class SweepCommand : public ShellTest {
protected:
    struct Axis {
        const char* field;
        const char* from;
        const char* to;
        int steps;
    };
    static SweepDlg& sweep(QDialog& d) { return *qobject_cast<SweepDlg*>(&d); }

    static void ask(QDialog& d, const Axis& first, const std::optional<Axis>& second = std::nullopt) {
        chooseField(d, "field", first.field);
        enter(d, "from", first.from);
        enter(d, "to", first.to);
        child<QGroupBox>(d, "map")->setChecked(second.has_value());
        child<QSpinBox>(d, "steps")->setValue(first.steps);
        if (!second) return;
        chooseField(d, "field2", second->field);
        enter(d, "from2", second->from);
        enter(d, "to2", second->to);
        child<QSpinBox>(d, "steps2")->setValue(second->steps);
    }
    // Runs the question and waits for the run to end.
    static void runToEnd(QDialog& d) {
        click(d, "run");
        EXPECT_TRUE(waitUntil([&] { return !sweep(d).running(); }));
    }
    static QTableView& table(QDialog& d) { return *child<QTableView>(d, "table"); }
    static void selectPoint(QDialog& d, int row) { table(d).selectRow(row); }

    void runSweep(const std::function<int(QDialog&)>& step) {
        expectDialog<SweepDlg>(dialogs, step);
        window->runCommand(kCmdSensitivity);
    }
};

TEST_F(SweepCommand, AppliedPointIsWhatOkWouldGiveAndUndoTakesItBack) {
    const DesignImage before = imageOf(current());
    std::optional<SweepPoint> applied;
    runSweep([&](QDialog& d) {
        ask(d, {"cp_perm", "20", "120", 6});
        runToEnd(d);
        const SweepData& data = sweep(d).data();
        EXPECT_EQ(data.computedCount(), 6);
        EXPECT_EQ(table(d).model()->rowCount(), 6);
        EXPECT_EQ(child<QLabel>(d, "status")->text(), "6 of 6 points.");
        selectPoint(d, 3);
        applied = *data.point(3);
        EXPECT_NE(child<QLabel>(d, "details")->text().indexOf("Air permeability (ISO 2965) = 80 CU"), -1);
        click(d, "apply");
        return d.result();
    });
    ASSERT_TRUE(applied);
    // The point holds exactly what OK and the recalculation give for the stored value.
    EXPECT_EQ(current().cp_perm, 80);
    for (const ExploreOutput& o : exploreOutputs())
        EXPECT_EQ(o.read(current()), o.read(applied->result.values)) << o.name;
    EXPECT_TRUE(window->designsChanged());
    EXPECT_FALSE(window->puffByPuffValid());
    EXPECT_EQ(window->action(kCmdUndo)->text(), "Undo Apply Sweep Point");

    window->runCommand(kCmdUndo);
    EXPECT_EQ(imageOf(current()), before);
    EXPECT_FALSE(window->designsChanged());
}

TEST_F(SweepCommand, ClosingWithoutApplyingChangesNothing) {
    const DesignImage before = imageOf(current());
    runSweep([&](QDialog& d) {
        // A chosen field proposes the range around today's value, as its page shows values.
        const ExploreField& perforation = *findExploreField("tp_perfoperm");
        const ValueRange proposed = proposedSweepRange(perforation, current().values());
        chooseField(d, "field", "tp_perfoperm");
        EXPECT_EQ(child<QLineEdit>(d, "from")->text().toStdString(), shownInput(perforation, proposed.lo));
        EXPECT_EQ(child<QLineEdit>(d, "to")->text().toStdString(), shownInput(perforation, proposed.hi));
        ask(d, {"cp_perm", "20", "120", 3});
        runToEnd(d);
        selectPoint(d, 1);
        click(d, "close");
        return d.result();
    });
    EXPECT_EQ(imageOf(current()), before);
    EXPECT_FALSE(window->canUndo());
}

TEST_F(SweepCommand, PointsTheRulesRefuseShowTheirErrorsAndTheSweepGoesOn) {
    runSweep([&](QDialog& d) {
        ask(d, {"cp_perm", "190", "250", 4});  // 190, 210 pass; 230 and 250 exceed the paper's 220 CU
        runToEnd(d);
        const SweepData& data = sweep(d).data();
        EXPECT_EQ(data.computedCount(), 4);
        const auto status = [&](int row) { return table(d).model()->index(row, 2).data().toString(); };
        const auto errors = [&](int row) {
            return table(d).model()->index(row, table(d).model()->columnCount() - 1).data().toString();
        };
        EXPECT_EQ(status(1), "ok");
        EXPECT_EQ(errors(1), "");
        for (int row : {2, 3}) {
            EXPECT_EQ(status(row), "refused");
            EXPECT_NE(errors(row).indexOf("Error 012"), -1) << errors(row).toStdString();
            EXPECT_FALSE(data.outputAt(row, output("stat_pdo")));
        }
        EXPECT_NE(child<QLabel>(d, "status")->text().indexOf("2 refused by the sheet's rules"), -1);
        selectPoint(d, 3);
        EXPECT_FALSE(child<QPushButton>(d, "apply")->isEnabled());  // a refused point cannot be applied
        selectPoint(d, 0);
        EXPECT_TRUE(child<QPushButton>(d, "apply")->isEnabled());
        return int(QDialog::Rejected);
    });
}

TEST_F(SweepCommand, CancelKeepsThePointsDoneAndClosingStopsTheWork) {
    runSweep([&](QDialog& d) {
        SweepDlg& dialog = sweep(d);
        ask(d, {"cp_perm", "20", "120", 51}, Axis{"ro_totpd", "60", "120", 51});
        click(d, "run");
        EXPECT_TRUE(dialog.running());
        EXPECT_FALSE(child<QWidget>(d, "map")->isEnabled());  // the question stays as it runs
        EXPECT_TRUE(waitUntil([&] { return dialog.data().computedCount() >= 3; }));
        click(d, "cancel");
        EXPECT_TRUE(waitUntil([&] { return !dialog.running(); }));
        const int done = dialog.data().computedCount();
        EXPECT_GE(done, 3);
        EXPECT_LT(done, 51 * 51);
        EXPECT_EQ(table(d).model()->rowCount(), done);
        EXPECT_NE(child<QLabel>(d, "status")->text().indexOf("stopped"), -1);
        // The points done are the first ones, each where the grid puts it.
        for (int p = 0; p < done; ++p) EXPECT_NE(dialog.data().point(p), nullptr) << p;

        // A new run, closed while it runs: the dialog waits for the work and nothing arrives later.
        click(d, "run");
        EXPECT_TRUE(dialog.running());
        d.reject();
        EXPECT_FALSE(dialog.running());
        return d.result();
    });
    QApplication::processEvents();
    EXPECT_FALSE(window->canUndo());
}

TEST_F(SweepCommand, MapFollowsThePointerAndAClickPicksAPoint) {
    runSweep([&](QDialog& d) {
        d.show();
        ask(d, {"cp_perm", "20", "120", 5}, Axis{"tp_perfoperm", "100", "400", 4});
        runToEnd(d);
        const SweepData& data = sweep(d).data();
        EXPECT_EQ(data.computedCount(), 20);
        if (data.computedCount() != 20) return int(QDialog::Rejected);
        auto* view = child<SweepView>(d, "chart");
        const ExploreOutput& mapped = output("stat_pdo");  // the first output shown
        const DesignMapLayout layout = designMapLayout(data, mapped, window->resources(), view->size());
        // Point 7 is value 1 of the first field and value 3 of the second.
        const QPoint at(layout.xOf(data.grid.first.valueAt(1)), layout.yOf(data.grid.second->valueAt(3)));
        QTest::mouseMove(view, at);
        EXPECT_EQ(view->hovered(), 7);
        QTest::mouseClick(view, Qt::LeftButton, {}, at);
        EXPECT_EQ(view->selected(), 7);
        EXPECT_EQ(table(d).currentIndex().row(), 7);
        const QString details = child<QLabel>(d, "details")->text();
        EXPECT_NE(details.indexOf("Air permeability (ISO 2965) = 45 CU"), -1) << details.toStdString();
        EXPECT_NE(details.indexOf("Permeability of the perforation = 400 CU"), -1) << details.toStdString();
        EXPECT_TRUE(child<QPushButton>(d, "apply")->isEnabled());
        QTest::mouseMove(view, QPoint(2, 2));  // off the map
        EXPECT_EQ(view->hovered(), -1);
        d.hide();
        return int(QDialog::Rejected);
    });
}

TEST_F(SweepCommand, TableChartAndCopyGoWhereTheMainViewsGo) {
    TempFolder folder;
    const std::string csvPath = folder.file("cp.csv"), pngPath = folder.file("cp.png");
    QSize chartSize;
    std::string expectedCsv;
    runSweep([&](QDialog& d) {
        d.show();
        ask(d, {"cp_perm", "20", "120", 3});
        runToEnd(d);
        expectedCsv = sweepCsvText(sweep(d).data());
        chartSize = child<SweepView>(d, "chart")->size();
        // The exports ask for a file (and a picture for its scale) through the seam, as the views' do.
        chooseFile(csvPath);
        chooseFile(pngPath);
        dialogs.expect([](QDialog& scale) {
            auto* input = qobject_cast<QInputDialog*>(&scale);
            EXPECT_NE(input, nullptr);
            if (input) input->setDoubleValue(1.0);
            return int(QDialog::Accepted);
        });
        click(d, "exportTable");
        click(d, "exportChart");
        click(d, "copy");
        d.hide();
        return int(QDialog::Rejected);
    });
    std::ifstream csv(csvPath, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(csv)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, expectedCsv);
    EXPECT_EQ(
        written.rfind("point,cp_perm [CU],status,stat_pdo [mm H2O],stat_fivent [%],iso_nfdpm [mg/cig]", 0),
        0u);
    EXPECT_NE(written.find("\r\n2,120,ok,"), std::string::npos);

    QImageReader png(QString::fromStdString(pngPath));
    EXPECT_EQ(png.format(), "png");
    EXPECT_EQ(png.size(), chartSize);

    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_FALSE(qvariant_cast<QImage>(copied->imageData()).isNull());
    const QStringList lines = copied->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(
        "Point\tAir permeability (ISO 2965) [CU]\tStatus\tOpen draw resistance [mm H2O]"));
    EXPECT_TRUE(lines[3].startsWith("2\t120\tok\t"));
}

TEST_F(SweepCommand, TheKeyboardReachesEveryStep) {
    runSweep([&](QDialog& d) {
        d.show();
        QApplication::setActiveWindow(&d);
        // Tab walks the question in reading order, to Run.
        child<QWidget>(d, "field")->setFocus();
        std::vector<std::string> reached;
        for (int k = 0; k < 40 && reached.size() < 12; ++k) {
            const QString name =
                QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            if (!name.isEmpty() && (reached.empty() || reached.back() != name.toStdString()))
                reached.push_back(name.toStdString());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        const std::vector<std::string> order{"field", "from", "to", "steps", "map", "outputs", "run"};
        auto at = reached.begin();
        for (const std::string& name : order) {
            at = std::find(at, reached.end(), name);
            EXPECT_NE(at, reached.end()) << name << " is not reached in order";
        }
        // Enter in a field runs; Escape closes.
        QTest::keyClick(child<QLineEdit>(d, "to"), Qt::Key_Return);
        EXPECT_TRUE(waitUntil([&] { return sweep(d).data().computedCount() == 21 && !sweep(d).running(); }));
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
        return d.result();
    });
}

TEST_F(SweepCommand, AQuestionWithoutAnswerSaysWhyAndRunsNothing) {
    runSweep([&](QDialog& d) {
        ask(d, {"cp_perm", "20", "120", 3}, Axis{"cp_perm", "20", "120", 3});
        click(d, "run");
        EXPECT_FALSE(sweep(d).running());
        EXPECT_EQ(child<QLabel>(d, "status")->text(), "The two fields must differ.");
        return int(QDialog::Rejected);
    });
}

}  // namespace
}  // namespace veltrano::testing
