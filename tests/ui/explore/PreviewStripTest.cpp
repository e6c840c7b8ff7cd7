#include <QLabel>
#include <algorithm>

#include "ExploreUiSupport.h"
#include "core/design/NumberText.h"
#include "core/explore/SheetPreview.h"
#include "tests/ui/sheet/SheetTestSupport.h"
#include "tests/ui/shell/ShellFixture.h"
#include "ui/explore/PreviewStrip.h"

namespace veltrano::testing {
namespace {

using PreviewStripTest = ShellTest;

PreviewStrip* stripOf(const QDialog& d) {
    auto* strip = d.findChild<PreviewStrip*>();
    EXPECT_NE(strip, nullptr) << "the sheet has no preview strip";
    return strip;
}

bool settled(PreviewStrip& strip) {
    return waitUntil([&] { return strip.upToDate(); });
}

TEST_F(PreviewStripTest, FollowsTypingAndShowsWhatOkGives) {
    std::optional<std::array<double, kPreviewOutputNames.size()>> shown;
    dialogs.expect([&](QDialog& d) {
        PreviewStrip* strip = stripOf(d);
        if (!strip) return int(QDialog::Rejected);
        EXPECT_TRUE(settled(*strip));
        const auto before = strip->preview().values;
        type(d, "tp_perfoperm", "300");
        EXPECT_TRUE(settled(*strip));
        shown = strip->preview().values;
        EXPECT_NE(shown, before);
        // Open draw resistance with its change since the sheet opened.
        EXPECT_EQ(child<QLabel>(d, "preview_stat_pdo")->text().toStdString(),
                  formatNumber("%.1f", (*shown)[0]) + " mm H2O");
        // The puff number with the views' two decimals.
        const std::size_t puffs = static_cast<std::size_t>(
            std::find(kPreviewOutputNames.begin(), kPreviewOutputNames.end(), "iso_puff") -
            kPreviewOutputNames.begin());
        EXPECT_EQ(child<QLabel>(d, "preview_iso_puff")->text().toStdString(),
                  formatNumber("%.2f", shown->at(puffs)));
        return press(d, QDialogButtonBox::Ok);
    });
    window->runCommand(kCmdEditCurrent);
    ASSERT_TRUE(shown);
    EXPECT_EQ(previewValues(current()), *shown);  // bit for bit what OK and the recalculation gave
}

TEST_F(PreviewStripTest, TextsTheRulesRefuseShowDashesAndNoBox) {
    dialogs.expect([&](QDialog& d) {
        PreviewStrip* strip = stripOf(d);
        if (!strip) return int(QDialog::Rejected);
        type(d, "tp_perfoperm", "9000");
        EXPECT_TRUE(settled(*strip));
        EXPECT_FALSE(strip->preview().values);
        EXPECT_EQ(child<QLabel>(d, "preview_stat_pdo")->text(), "-.-");
        EXPECT_EQ(child<QLabel>(d, "preview_iso_nfdpm")->text(), "-.--");
        const QString note = child<QLabel>(d, "previewNote")->text();
        EXPECT_NE(note.indexOf("Error 002"), -1) << note.toStdString();
        // Back within the rules, the values return.
        type(d, "tp_perfoperm", "200");
        EXPECT_TRUE(settled(*strip));
        EXPECT_TRUE(strip->preview().values);
        EXPECT_EQ(child<QLabel>(d, "previewNote")->text(), "");
        return int(QDialog::Rejected);  // no message box came: the script expected none
    });
    window->runCommand(kCmdEditCurrent);
}

TEST_F(PreviewStripTest, AnEditOvertakenByANewerOneIsNeverShown) {
    dialogs.expect([&](QDialog& d) {
        PreviewStrip* strip = stripOf(d);
        if (!strip) return int(QDialog::Rejected);
        EXPECT_TRUE(settled(*strip));
        std::vector<int> shown;
        QObject::connect(strip, &PreviewStrip::updated, [&] { shown.push_back(strip->shownGeneration()); });
        type(d, "tp_perfoperm", "2");
        const int overtaken = strip->newestGeneration();
        EXPECT_TRUE(waitUntil([&] { return strip->computing(); }));
        type(d, "tp_perfoperm", "250");  // while the older edit is still being computed
        EXPECT_TRUE(settled(*strip));
        EXPECT_EQ(shown, std::vector<int>{strip->newestGeneration()});
        EXPECT_GT(strip->newestGeneration(), overtaken);
        // What it shows is the newest text's.
        DesignSet designs = state.document.designs().clone();
        DesignSheet sheet(designs.currentDesign, false, state.modelParameters);
        sheet.displayPage(kTippingPage);
        sheet.tipping().texts[kPerforationPermeability] = "250";
        EXPECT_EQ(
            strip->preview().values,
            previewStored(sheet.storedValues(), sheet.isReference(), designs, state.modelParameters).values);
        // Closing the sheet while a preview runs waits for it.
        type(d, "tp_perfoperm", "260");
        return int(QDialog::Rejected);
    });
    window->runCommand(kCmdEditCurrent);
}

TEST_F(PreviewStripTest, OnlyTheCurrentDesignsSheetHasIt) {
    dialogs.expect([](QDialog& d) {
        EXPECT_EQ(d.findChild<PreviewStrip*>(), nullptr);
        return int(QDialog::Rejected);
    });
    window->runCommand(kCmdEditReference);
}

}  // namespace
}  // namespace veltrano::testing
