#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>

#include "ExploreUiSupport.h"
#include "core/design/DesignFields.h"
#include "core/explore/Sweep.h"
#include "render/charts/ExploreText.h"
#include "tests/ui/shell/ShellFixture.h"
#include "ui/explore/ChartPane.h"
#include "ui/explore/ToleranceDlg.h"

namespace veltrano::testing {
namespace {

class ToleranceCommand : public ShellTest {
protected:
    static ToleranceDlg& tolerances(QDialog& d) { return *qobject_cast<ToleranceDlg*>(&d); }
    static QTableWidget& inputs(QDialog& d) { return *child<QTableWidget>(d, "inputs"); }
    static QTableWidget& limits(QDialog& d) { return *child<QTableWidget>(d, "limits"); }
    // The row of the input titled like the field, or -1.
    static int inputRow(QDialog& d, std::string_view name) {
        const QString title = QString::fromStdString(fieldTitle(*findExploreField(name)));
        for (int row = 0; row < inputs(d).rowCount(); ++row)
            if (inputs(d).item(row, 0)->text() == title) return row;
        return -1;
    }
    static void runToEnd(QDialog& d, const char* button) {
        click(d, button);
        EXPECT_TRUE(waitUntil([&] { return !tolerances(d).running(); }));
    }
    void openTolerances(const std::function<int(QDialog&)>& step) {
        expectDialog<ToleranceDlg>(dialogs, step);
        window->runCommand(kCmdTolerances);
    }
};

TEST_F(ToleranceCommand, TheDefaultsRunTheMaterialsAgainstTheIsoCeilingsAsTheCoreDoesAndChangeNoDesign) {
    const DesignImage before = encodeDesignImage(current());
    openTolerances([&](QDialog& d) {
        std::vector<std::string> ticked;
        for (int row = 0; row < inputs(d).rowCount(); ++row)
            if (inputs(d).item(row, 0)->checkState() == Qt::Checked)
                ticked.push_back(inputs(d).item(row, 0)->text().toStdString());
        EXPECT_EQ(ticked.size(), 5u);
        EXPECT_EQ(inputs(d).item(inputRow(d, "fi_totpd"), 1)->text(), "4%");
        for (int row = 0; row < 3; ++row) EXPECT_EQ(limits(d).item(row, 0)->checkState(), Qt::Checked);
        EXPECT_EQ(limits(d).item(0, 0)->text(), "iso_nfdpm<=10");
        EXPECT_EQ(limits(d).item(2, 0)->text(), "iso_co<=10");
        child<QSpinBox>(d, "samples")->setValue(24);
        runToEnd(d, "run");

        const ToleranceChartData& data = tolerances(d).data();
        EXPECT_EQ(data.samples.size(), 24u);
        EXPECT_EQ(data.setup.limits.size(), 3u);
        // The paper's permeability varies while its known diffusion stays: the note says so.
        const QString status = child<QLabel>(d, "status")->text();
        EXPECT_TRUE(status.startsWith("24 of 24 samples.\n")) << status.toStdString();
        EXPECT_NE(status.indexOf("cp_diff"), -1) << status.toStdString();
        // The same samples as the core's run of the same setup, so the same numbers as veltrano-cli.
        std::vector<ToleranceSample> core;
        ToleranceCallbacks callbacks;
        callbacks.sampleDone = [&](ToleranceSample&& s) { core.push_back(std::move(s)); };
        runTolerance(data.setup, shardPoints(24, 0, 1), current().values(),
                     {reference(), designs().workingReference, state.modelParameters}, callbacks);
        for (std::size_t i = 0; i < std::min(core.size(), data.samples.size()); ++i) {
            EXPECT_EQ(data.samples[i].drawn, core[i].drawn) << i;
            EXPECT_EQ(data.samples[i].outputs, core[i].outputs) << i;
        }
        EXPECT_TRUE(child<ChartPane>(d, "tolerancesChart")->hasChart());
        click(d, "copy");
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        EXPECT_TRUE(copied->hasImage());
        EXPECT_NE(copied->text().indexOf("iso_nfdpm<=10"), -1);
        click(d, "close");
        return d.result();
    });
    EXPECT_EQ(encodeDesignImage(current()), before);
    EXPECT_FALSE(window->canUndo());
}

TEST_F(ToleranceCommand, WhatTheUserSetIsKeptForTheNextTime) {
    openTolerances([&](QDialog& d) {
        inputs(d).item(inputRow(d, "cp_perm"), 1)->setText("u7%");
        inputs(d).item(inputRow(d, "fi_totpd"), 0)->setCheckState(Qt::Unchecked);
        limits(d).item(1, 0)->setCheckState(Qt::Unchecked);
        limits(d).item(3, 0)->setText("stat_pdo>=90");
        child<QSpinBox>(d, "samples")->setValue(333);
        click(d, "close");
        return d.result();
    });
    openTolerances([&](QDialog& d) {
        EXPECT_EQ(inputs(d).item(inputRow(d, "cp_perm"), 1)->text(), "u7%");
        EXPECT_EQ(inputs(d).item(inputRow(d, "fi_totpd"), 0)->checkState(), Qt::Unchecked);
        EXPECT_EQ(limits(d).item(1, 0)->checkState(), Qt::Unchecked);
        EXPECT_EQ(limits(d).item(3, 0)->text(), "stat_pdo>=90");
        EXPECT_EQ(child<QSpinBox>(d, "samples")->value(), 333);
        click(d, "close");
        return d.result();
    });
}

TEST_F(ToleranceCommand, ATextThatDoesNotReadIsSaidAndCancelKeepsTheSamplesDone) {
    openTolerances([&](QDialog& d) {
        inputs(d).item(inputRow(d, "cp_perm"), 1)->setText("ten");
        click(d, "run");
        EXPECT_FALSE(tolerances(d).running());
        EXPECT_NE(child<QLabel>(d, "status")->text().indexOf("does not read"), -1);
        inputs(d).item(inputRow(d, "cp_perm"), 1)->setText("10%");
        child<QSpinBox>(d, "samples")->setValue(200000);
        click(d, "run");
        EXPECT_TRUE(waitUntil([&] { return tolerances(d).data().samples.size() >= 3; }));
        click(d, "cancel");
        EXPECT_TRUE(waitUntil([&] { return !tolerances(d).running(); }));
        const ToleranceChartData& data = tolerances(d).data();
        EXPECT_GE(data.samples.size(), 3u);
        EXPECT_LT(data.samples.size(), 200000u);
        EXPECT_EQ(data.summary.samples, static_cast<int>(data.samples.size()));
        EXPECT_NE(child<QLabel>(d, "status")->text().indexOf("stopped"), -1);
        click(d, "close");
        return d.result();
    });
}

TEST_F(ToleranceCommand, TheElasticitiesFillTheTableAndTheTornado) {
    openTolerances([&](QDialog& d) {
        child<QTabWidget>(d, "tabs")->setCurrentIndex(1);
        runToEnd(d, "compute");
        const std::vector<SensitivityRow>& rows = tolerances(d).elasticities();
        EXPECT_EQ(static_cast<int>(rows.size()), inputs(d).rowCount());
        EXPECT_EQ(child<QTableWidget>(d, "elasticities")->rowCount(), inputs(d).rowCount());
        EXPECT_TRUE(child<ChartPane>(d, "tornadoChart")->hasChart());
        EXPECT_TRUE(child<QPushButton>(d, "exportChart")->isEnabled());
        click(d, "close");
        return d.result();
    });
}

}  // namespace
}  // namespace veltrano::testing
