#include <clocale>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include "SheetTestSupport.h"
#include "core/design/DesignFields.h"
#include "core/design/ErrorMessages.h"
#include "core/design/ModelParameters.h"
#include "core/sheet/DesignSheet.h"
#include "tests/support/ScriptedDialogs.h"
#include "ui/dialogs/MessageBoxes.h"

namespace veltrano {
namespace {

using testing::clickRadio;
using testing::named;
using testing::press;
using testing::ScriptedDialogs;
using testing::sheetDialog;
using testing::showPage;
using testing::textOf;
using testing::type;

TEST(SheetDialog, FailedChecksShowTheirMessagesAndReopenAtThePageAndCancelKeepsTheDesign) {
    const ModelParameters mp;
    ScriptedDialogs dialogs;
    MessageBoxErrorReporter reporter(dialogs, nullptr);
    CigaretteDesign target;
    const DesignImage before = encodeDesignImage(target);

    dialogs.expect([](QDialog& d) {
        showPage(d, kPaperPage);
        type(d, "cp_perm", "300");
        type(d, "cp_exponent", "2");
        showPage(d, kRodPage);
        type(d, "ro_totpd", "10");  // a later page: not checked in this pass
        return press(d, QDialogButtonBox::Ok);
    });
    dialogs.expectMessage();
    dialogs.expectMessage();
    dialogs.expect([](QDialog& d) {
        EXPECT_EQ(sheetDialog(d).tabs()->currentIndex(), kPaperPage);
        EXPECT_EQ(textOf(d, "cp_perm"), "300");
        EXPECT_EQ(textOf(d, "cp_exponent"), "2.00");  // reloaded from the rejected copy
        return press(d, QDialogButtonBox::Cancel);
    });

    EXPECT_FALSE(editInSheet(dialogs, reporter, target, true, mp));
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>{*errorMessage(12), *errorMessage(13)}));
    EXPECT_EQ(encodeDesignImage(target), before);
}

TEST(SheetDialog, TheReferenceHasSixPagesAndVisibleBoxesTheCurrentDesignFiveAndHiddenOnes) {
    const ModelParameters mp;
    for (bool isReference : {true, false}) {
        SCOPED_TRACE(isReference ? "reference" : "current design");
        ScriptedDialogs dialogs;
        RecordingErrorReporter reporter;
        CigaretteDesign target;
        target.known &=
            ~(known::bit(KnownBit::TippingLength) |
              known::bit(KnownBit::PerforationPosition));  // tipping length and position not given
        dialogs.expect([isReference](QDialog& d) {
            EXPECT_EQ(d.windowTitle().toStdString(), isReference ? "Reference Cigarette Specification Sheet"
                                                                 : "Cigarette Design Specification Sheet");
            QTabWidget* tabs = sheetDialog(d).tabs();
            EXPECT_EQ(tabs->count(), isReference ? 6 : 5);
            EXPECT_EQ(tabs->tabText(0).toStdString(), "Tipping && Plug Wrap Paper");
            EXPECT_EQ(tabs->tabText(4).toStdString(), "Alternative Smoking Regime");

            auto* lengthBox = named<QCheckBox>(d, "tp_width_known");
            EXPECT_EQ(lengthBox->isHidden(), !isReference);
            EXPECT_FALSE(lengthBox->isChecked());  // hidden or not, the box holds the bit
            EXPECT_EQ(textOf(d, "tp_width"), "");
            EXPECT_FALSE(named(d, "tp_width")->isEnabled());
            EXPECT_TRUE(named<QCheckBox>(d, "tp_perfowidth_known")->isChecked());

            showPage(d, kRodPage);
            EXPECT_EQ(d.findChild<QPushButton*>("ro_totpd_help") != nullptr, isReference);
            EXPECT_NE(d.findChild<QPushButton*>("ro_exponent_help"), nullptr);
            return press(d, QDialogButtonBox::Ok);
        });
        EXPECT_TRUE(editInSheet(dialogs, reporter, target, isReference, mp));
        EXPECT_FALSE(target.isKnown(KnownBit::TippingLength));
        EXPECT_TRUE(reporter.numbers.empty());
    }
}

TEST(SheetDialog, TypedValuesAndClicksAreWhatOkStores) {
    const ModelParameters mp;
    ScriptedDialogs dialogs;
    RecordingErrorReporter reporter;
    CigaretteDesign target;
    dialogs.expect([](QDialog& d) {
        type(d, "tp_width", "31.5");
        clickRadio(d, "Micro laser perforation");
        EXPECT_TRUE(named(d, "tp_perfotrack")->isEnabled());
        type(d, "tp_perfotrack", "2.5");
        showPage(d, kPaperPage);
        type(d, "cp_perm", "65");
        named<QCheckBox>(d, "cp_diff_known")->click();
        EXPECT_FALSE(named(d, "cp_diff")->isEnabled());
        showPage(d, kFilterPage);
        type(d, "fi_totpd", "430.25");
        showPage(d, kRodPage);
        type(d, "ro_totmass", "700");
        showPage(d, kRegimePage);
        EXPECT_FALSE(named(d, "alt_volume")->isEnabled());  // the ISO preset is selected
        clickRadio(d, "other");
        type(d, "alt_volume", "47.5");
        showPage(d, kYieldsPage);
        type(d, "stat_pdo", "118.25");
        return press(d, QDialogButtonBox::Ok);
    });
    ASSERT_TRUE(editInSheet(dialogs, reporter, target, true, mp));
    EXPECT_TRUE(reporter.numbers.empty());
    EXPECT_EQ(target.tp_width, 31.5);
    EXPECT_EQ(target.tp_perfotype, kMicroLaser);
    EXPECT_EQ(target.tp_perfotrack, 3);
    EXPECT_EQ(target.cp_perm, 65);
    EXPECT_FALSE(target.isKnown(KnownBit::PaperDiffusion));
    EXPECT_EQ(target.fi_totpd, 430.25);
    EXPECT_EQ(target.ro_totmass, 700);
    EXPECT_EQ(target.alt_volume, 47.5);
    EXPECT_EQ(target.stat_pdo, 118.25);
}

// A locale that writes decimal commas, by the name the C library knows it.
#ifdef _WIN32
constexpr const char* kDecimalCommaLocale = "German_Germany.1252";
#else
constexpr const char* kDecimalCommaLocale = "de_DE.UTF-8";
#endif

// Restores the process locale when the test ends.
class LocaleScope {
public:
    explicit LocaleScope(const char* locale) : saved_(std::setlocale(LC_ALL, nullptr)) {
        active_ = std::setlocale(LC_ALL, locale) != nullptr;
    }
    ~LocaleScope() { std::setlocale(LC_ALL, saved_.c_str()); }
    bool active() const { return active_; }

private:
    std::string saved_;
    bool active_ = false;
};

// OK without an edit keeps the design exactly, whether every page was displayed or only the paper page,
// also for values that the fields show rounded.
TEST(SheetDialog, OkWithoutEditsKeepsTheDesignInAnyLocale) {
    const ModelParameters mp;
    const struct {
        CigaretteDesign (*make)();
        const char *field, *shown;  // a field of the paper page and its text
    } designs[] = {
        {testing::richReference, "cp_bandwidth", "6.50"},
        {testing::awkwardDesign, "filler_content", "29.63"},
        {testing::onlineDesign, "basis_weight", "27.00"},
    };
    for (const char* locale : {"C", kDecimalCommaLocale}) {
        LocaleScope scope(locale);
        ASSERT_TRUE(scope.active()) << locale << " is not installed";
        for (const auto& design : designs) {
            for (bool isReference : {true, false}) {
                for (bool everyPage : {true, false}) {
                    SCOPED_TRACE(std::string(locale) + (isReference ? " reference, " : " current design, ") +
                                 design.field + (everyPage ? ", every page" : ", the paper page"));
                    ScriptedDialogs dialogs;
                    RecordingErrorReporter reporter;
                    CigaretteDesign target = design.make();
                    const DesignImage before = encodeDesignImage(target);
                    dialogs.expect([&design, everyPage](QDialog& d) {
                        for (int page = 0; page < sheetDialog(d).tabs()->count(); ++page)
                            if (everyPage || page == kPaperPage) showPage(d, page);
                        EXPECT_EQ(textOf(d, design.field), design.shown);
                        return press(d, QDialogButtonBox::Ok);
                    });
                    EXPECT_TRUE(editInSheet(dialogs, reporter, target, isReference, mp));
                    EXPECT_TRUE(reporter.numbers.empty());
                    EXPECT_EQ(encodeDesignImage(target), before);
                }
            }
        }
    }
}

TEST(SheetDialog, AClearedBoxEmptiesItsFieldsWhichStoreZero) {
    const ModelParameters mp;
    ScriptedDialogs dialogs;
    RecordingErrorReporter reporter;
    CigaretteDesign target = testing::awkwardDesign();
    dialogs.expect([](QDialog& d) {
        showPage(d, kPaperPage);
        named<QCheckBox>(d, "basis_weight_known")->click();
        for (const char* field : {"basis_weight", "filler_content"}) {
            EXPECT_EQ(textOf(d, field), "") << field;
            EXPECT_FALSE(named(d, field)->isEnabled()) << field;
        }
        showPage(d, kRodPage);
        named<QCheckBox>(d, "ro_totmass_known")->click();
        EXPECT_EQ(textOf(d, "ro_totmass"), "");
        showPage(d, kYieldsPage);  // its first display: the burn rates see no tobacco mass
        EXPECT_EQ(textOf(d, "linear_burn_rate"), "");
        EXPECT_FALSE(named(d, "linear_burn_rate")->isEnabled());
        return press(d, QDialogButtonBox::Ok);
    });
    ASSERT_TRUE(editInSheet(dialogs, reporter, target, true, mp));
    EXPECT_TRUE(reporter.numbers.empty());
    EXPECT_FALSE(target.isKnown(KnownBit::PaperComposition));
    EXPECT_FALSE(target.isKnown(KnownBit::TobaccoMass));
    EXPECT_EQ(target.cp_fiber, 0);
    EXPECT_EQ(target.cp_filler, 0);
    EXPECT_EQ(target.ro_totmass, 0);
}

TEST(SheetDialog, TypingIsLimitedButALongerLoadedTextIsKept) {
    const ModelParameters mp;
    ScriptedDialogs dialogs;
    RecordingErrorReporter reporter;
    CigaretteDesign target = testing::richReference();
    target.cp_bandwidth = 1234.5;
    dialogs.expect([](QDialog& d) {
        showPage(d, kPaperPage);
        QLineEdit* width = named(d, "cp_bandwidth");
        EXPECT_EQ(width->text().toStdString(), "1234.50");
        width->end(false);
        QTest::keyClicks(width, "9");
        EXPECT_EQ(width->text().toStdString(), "1234.50");
        QTest::keyClick(width, Qt::Key_Backspace);
        EXPECT_EQ(width->text().toStdString(), "1234.5");
        type(d, "cp_bandwidth", "1234567");
        EXPECT_EQ(width->text().toStdString(), "123456");
        type(d, "cp_bandperm", "123456789");
        EXPECT_EQ(textOf(d, "cp_bandperm"), "12345678");
        return press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_FALSE(editInSheet(dialogs, reporter, target, true, mp));
}

TEST(SheetDialog, EveryPageLinesUpItsFieldsAndFitsTheSheet) {
    const ModelParameters mp;
    ScriptedDialogs dialogs;
    RecordingErrorReporter reporter;
    CigaretteDesign target = testing::richReference();
    dialogs.expect([](QDialog& d) {
        d.show();
        QTabWidget* tabs = sheetDialog(d).tabs();
        for (int page = 0; page < tabs->count(); ++page) {
            showPage(d, page);
            QApplication::processEvents();
            QWidget* shown = tabs->currentWidget();
            std::vector<int> left;
            for (QLineEdit* edit : shown->findChildren<QLineEdit*>()) {
                const QRect r(edit->mapTo(shown, QPoint(0, 0)), edit->size());
                left.push_back(r.left());
                EXPECT_TRUE(shown->rect().contains(r)) << edit->objectName().toStdString();
            }
            EXPECT_FALSE(left.empty());
            for (int x : left) EXPECT_EQ(x, left.front()) << "page " << page;
        }
        return press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_FALSE(editInSheet(dialogs, reporter, target, true, mp));
}

}  // namespace
}  // namespace veltrano
