#include <fstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QFileDialog>
#include <QFocusEvent>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "SheetTestSupport.h"
#include "core/design/ErrorMessages.h"
#include "core/design/ModelParameters.h"
#include "core/sheet/DesignSheet.h"
#include "tests/support/ScriptedDialogs.h"
#include "ui/sheet/PuffPreviewWidget.h"

namespace veltrano {
namespace {

using testing::clickRadio;
using testing::named;
using testing::press;
using testing::ScriptedDialogs;
using testing::showPage;
using testing::textOf;
using testing::type;

// Moves the keyboard focus by a mouse click, as a user leaves a field.
void clickInto(QDialog& d, const char* name) {
    QTest::mouseClick(named(d, name), Qt::LeftButton);
}

TEST(YieldsPage, BurnRatesConvertWhenTheFocusLeavesTheirField) {
    const ModelParameters mp;
    ScriptedDialogs dialogs;
    RecordingErrorReporter reporter;
    CigaretteDesign target;  // a rod measured at 60 mm holding 750 mg: 12.5 mg/mm
    dialogs.expect([](QDialog& d) {
        d.show();
        d.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
        showPage(d, kRodPage);  // the conversions read the rod page's texts
        showPage(d, kYieldsPage);
        EXPECT_EQ(textOf(d, "linear_burn_rate"), "4.80");

        clickInto(d, "stat_mbr");
        type(d, "stat_mbr", "50");
        EXPECT_EQ(textOf(d, "linear_burn_rate"), "4.80");  // nothing happens while typing
        clickInto(d, "stat_pdo");
        EXPECT_EQ(textOf(d, "linear_burn_rate"), "4.00");

        clickInto(d, "linear_burn_rate");
        type(d, "linear_burn_rate", "5");
        QTest::keyClick(named(d, "linear_burn_rate"), Qt::Key_Tab);
        EXPECT_EQ(textOf(d, "stat_mbr"), "62.50");
        return press(d, QDialogButtonBox::Ok);
    });
    ASSERT_TRUE(editInSheet(dialogs, reporter, target, true, mp));
    EXPECT_EQ(target.stat_mbr, 62.5);
}

TEST(RodPage, TheEstimatorsAcceptWritesTheEstimateScaledToTheMeasuredRod) {
    const ModelParameters mp;
    ScriptedDialogs dialogs;
    RecordingErrorReporter reporter;
    CigaretteDesign target;
    target.ro_totlen = 120;  // the rod on the cigarette is 60 mm
    target.ro_totmass = 1500;
    dialogs.expect([&dialogs](QDialog& d) {
        showPage(d, kRodPage);
        dialogs.expect([](QDialog& estimator) {
            EXPECT_EQ(estimator.windowTitle().toStdString(), "Estimating the rod pressure drop");
            // Filter and smoke yields pages not displayed: their empty texts give the fallbacks.
            EXPECT_EQ(textOf(estimator, "method1_plug"), "70.00");
            EXPECT_EQ(textOf(estimator, "method1_closed"), "130.00");
            EXPECT_EQ(textOf(estimator, "rod_estimate"), "");

            clickRadio(estimator, "Method 2");
            EXPECT_FALSE(named(estimator, "method1_closed")->isEnabled());
            EXPECT_TRUE(named(estimator, "method2_open")->isEnabled());
            clickRadio(estimator, "Method 1");
            EXPECT_TRUE(named(estimator, "method1_closed")->isEnabled());

            type(estimator, "method1_closed", "150");
            QFocusEvent leave(QEvent::FocusOut, Qt::MouseFocusReason);
            QApplication::sendEvent(named(estimator, "method1_closed"), &leave);
            EXPECT_EQ(textOf(estimator, "rod_estimate"), "80.00");

            type(estimator, "method1_closed", "160");  // Accept computes once more
            for (QPushButton* button : estimator.findChildren<QPushButton*>())
                if (button->text() == "Accept") {
                    EXPECT_TRUE(button->isDefault());
                    button->click();
                }
            return estimator.result();
        });
        named<QPushButton>(d, "ro_totpd_help")->click();
        EXPECT_EQ(textOf(d, "ro_totpd"), "180.00");  // 90 on the cigarette's 60 mm, measured on 120 mm
        return press(d, QDialogButtonBox::Ok);
    });
    ASSERT_TRUE(editInSheet(dialogs, reporter, target, true, mp));
    EXPECT_TRUE(dialogs.done());
    EXPECT_TRUE(reporter.numbers.empty());
    EXPECT_EQ(target.ro_totpd, 180);
}

// The first curve pixel of the preview: its height shows the shape's first point.
bool curveAt(const QImage& preview, int x, int y) {
    return preview.pixelColor(x, y) == QColor(0, 158, 224);
}

TEST(RegimePage, APuffShapeFileChosenInTheFileDialogReplacesTheShapeAndItsPreview) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string rising = dir.filePath("rising.txt").toStdString(),
                      single = dir.filePath("single.txt").toStdString();
    std::ofstream(rising) << "2\n4\n8\n";
    std::ofstream(single) << "5\n";

    const ModelParameters mp;
    ScriptedDialogs dialogs;
    RecordingErrorReporter reporter;
    CigaretteDesign target;  // a flat shape of 400 ones
    auto choose = [&dialogs](const std::string& path) {
        dialogs.expect([path](QDialog& d) {
            auto* files = qobject_cast<QFileDialog*>(&d);
            EXPECT_NE(files, nullptr);
            if (!files) return int(QDialog::Rejected);
            EXPECT_EQ(files->nameFilters(), (QStringList{"Puff Shape Files (*.txt)", "All Files (*)"}));
            files->selectFile(QString::fromStdString(path));
            return int(QDialog::Accepted);
        });
    };
    dialogs.expect([&](QDialog& d) {
        showPage(d, kRegimePage);
        auto* preview = d.findChild<PuffPreviewWidget*>();
        auto* load = named<QPushButton>(d, "load_puff_shape");
        const QImage flat = preview->grab().toImage();
        EXPECT_TRUE(curveAt(flat, 6, 12));
        EXPECT_EQ(flat.pixelColor(0, 0), QColor(Qt::white));
        EXPECT_EQ(flat.pixelColor(5, 100), QColor(Qt::black));

        choose(single);
        load->click();
        EXPECT_EQ(reporter.numbers, std::vector<int>{51});
        EXPECT_EQ(preview->grab().toImage(), flat);

        choose(rising);
        load->click();
        const QImage shaped = preview->grab().toImage();
        EXPECT_TRUE(curveAt(shaped, 6, 102));  // 0.25 of the peak: 30 of 120 pixels
        EXPECT_FALSE(curveAt(shaped, 6, 12));
        return press(d, QDialogButtonBox::Ok);
    });
    ASSERT_TRUE(editInSheet(dialogs, reporter, target, false, mp));
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(target.alt_profpnts, 3);
    EXPECT_EQ(target.alt_profile[0], 0.25);
    EXPECT_EQ(target.alt_profile[1], 0.5);
    EXPECT_EQ(target.alt_profile[2], 1);
    EXPECT_EQ(target.alt_profile[3], 0);
}

}  // namespace
}  // namespace veltrano
