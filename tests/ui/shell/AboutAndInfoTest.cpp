#include <filesystem>

#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>

#include "ShellFixture.h"
#include "core/design/StartupFile.h"
#include "core/model/PuffByPuff.h"
#include "ui/dialogs/ControlIds.h"
#include "ui/shell/AboutDlg.h"
#include "ui/shell/AddInfoDlg.h"
#include "ui/shell/MyApp.h"

namespace veltrano::testing {
namespace {

using AboutBox = ShellTest;
using Information = ShellTest;

TEST_F(AboutBox, NameDateAndTheTwoGestures) {
    const auto previous = std::filesystem::current_path();
    TempFolder folder;
    std::filesystem::current_path(folder.path());
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    dialogs.expect([&](QDialog& d) {
        EXPECT_EQ(findByControlId<QLabel>(&d, 1103)->text(), "veltrano 4.1");
        EXPECT_TRUE(QRegularExpression("^[A-Z][a-z]{2} [1-9][0-9]? [0-9]{4}$")
                        .match(findByControlId<QLabel>(&d, 1104)->text())
                        .hasMatch());
        doubleClick(d, Qt::LeftButton, Qt::LeftButton, ctrlShift);  // plain: nothing
        doubleClick(d, Qt::LeftButton, Qt::LeftButton | Qt::RightButton,
                    Qt::ControlModifier);  // Shift missing
        EXPECT_TRUE(dialogs.beeps.empty());
        EXPECT_FALSE(std::filesystem::exists(kStartupDesignFileName));

        saveStartupGesture(d);
        EXPECT_EQ(dialogs.beeps, (std::vector<std::pair<int, int>>{{3500, 200}}));
        DesignSet reread;
        EXPECT_EQ(loadStartupDesigns(kStartupDesignFileName, reread), 0);

        doubleClick(d, Qt::RightButton, Qt::LeftButton | Qt::RightButton, ctrlShift);
        EXPECT_TRUE(window->rawListing());
        EXPECT_EQ(dialogs.beeps.back(), std::make_pair(2000, 200));
        doubleClick(d, Qt::RightButton, Qt::LeftButton | Qt::RightButton, ctrlShift);
        EXPECT_FALSE(window->rawListing());
        return int(QDialog::Rejected);
    });
    window->runCommand(kCmdAbout);
    std::filesystem::current_path(previous);
}

// The gesture after an edit writes per-puff data that belong to the edited design, never the old ones.
TEST_F(AboutBox, TheStartupFileNeverHoldsStalePuffData) {
    const auto previous = std::filesystem::current_path();
    TempFolder folder;
    std::filesystem::current_path(folder.path());
    window->runCommand(kCmdPuffByPuff);
    reference().alt_interval = 30;  // twice the puffs of the default interval
    window->runCommand(kCmdCopyToCurrent);
    ASSERT_FALSE(window->puffByPuffValid());
    dialogs.expect([&](QDialog& d) {
        doubleClick(d, Qt::LeftButton, Qt::LeftButton | Qt::RightButton,
                    Qt::ControlModifier | Qt::ShiftModifier);
        return int(QDialog::Rejected);
    });
    window->runCommand(kCmdAbout);
    DesignSet written;
    ASSERT_EQ(loadStartupDesigns(kStartupDesignFileName, written), 0);
    CigaretteDesign fresh = current().clone();
    NullProgressSink progress;
    runPuffByPuff(fresh, state.modelParameters, progress);
    EXPECT_EQ(written.currentDesign.puff_number, fresh.puff_number);
    EXPECT_EQ(written.currentDesign.puff_co, fresh.puff_co);

    // Without the measured puff number the analysis cannot run: the design is written without puff data.
    reference().known &= ~known::bit(KnownBit::IsoPuffNumber);
    window->runCommand(kCmdCopyToCurrent);
    dialogs.expect([&](QDialog& d) {
        doubleClick(d, Qt::LeftButton, Qt::LeftButton | Qt::RightButton,
                    Qt::ControlModifier | Qt::ShiftModifier);
        return int(QDialog::Rejected);
    });
    window->runCommand(kCmdAbout);
    ASSERT_EQ(loadStartupDesigns(kStartupDesignFileName, written), 0);
    EXPECT_EQ(written.currentDesign.puff_number, 0);
    std::filesystem::current_path(previous);
}

TEST_F(AboutBox, NoBeepWhenTheStartupFileCannotBeWritten) {
    const auto previous = std::filesystem::current_path();
    TempFolder folder;
    std::filesystem::current_path(folder.path());
    std::filesystem::create_directory(kStartupDesignFileName);  // a folder where the file should go
    dialogs.expect([&](QDialog& d) {
        saveStartupGesture(d);
        EXPECT_TRUE(dialogs.beeps.empty());
        return int(QDialog::Rejected);
    });
    window->runCommand(kCmdAbout);
    std::filesystem::current_path(previous);
}

TEST_F(Information, TextRoundTripsAsWindows1252WithCrLf) {
    dialogs.expect([](QDialog& d) {
        auto* edit = findByControlId<QPlainTextEdit>(&d, 1102);
        edit->insertPlainText(QString::fromUtf8("ä€"));  // as pasted: keyClicks types ASCII only
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClicks(edit, "x");
        edit->insertPlainText(QString::fromUtf8("中"));  // Windows-1252 cannot hold it: refused
        QTest::keyClicks(edit, "y");
        d.accept();
        return d.result();
    });
    window->runCommand(kCmdAddInformation);
    EXPECT_EQ(informationTextString(designs().informationText), "\xE4\x80\r\nxy");
    EXPECT_TRUE(window->designsChanged());

    dialogs.expect([](QDialog& d) {
        EXPECT_EQ(findByControlId<QPlainTextEdit>(&d, 1102)->toPlainText(), QString::fromUtf8("ä€\nxy"));
        return int(QDialog::Rejected);
    });
    window->runCommand(kCmdAddInformation);
}

TEST_F(Information, LimitCountsALineBreakAsTwo) {
    dialogs.expect([](QDialog& d) {
        auto* edit = findByControlId<QPlainTextEdit>(&d, 1102);
        QTest::keyClicks(edit, QString(507, 'a'));
        QTest::keyClick(edit, Qt::Key_Return);  // 509
        QTest::keyClicks(edit, "bcd");          // only "b" fits
        EXPECT_EQ(AddInfoDlg::storedLength(edit->toPlainText()), 510);
        d.accept();
        return d.result();
    });
    window->runCommand(kCmdAddInformation);
    const std::string text = informationTextString(designs().informationText);
    EXPECT_EQ(text.size(), 510u);
    EXPECT_EQ(text.substr(505), "aa\r\nb");
}

TEST_F(Information, CancelAndUnchangedOkLeaveTheDesignsClean) {
    dialogs.expect([](QDialog& d) {
        QTest::keyClicks(findByControlId<QPlainTextEdit>(&d, 1102), "typed");
        return int(QDialog::Rejected);
    });
    window->runCommand(kCmdAddInformation);
    EXPECT_EQ(informationTextString(designs().informationText), "");
    dialogs.expect([](QDialog& d) {
        d.accept();
        return d.result();
    });
    window->runCommand(kCmdAddInformation);
    EXPECT_FALSE(window->designsChanged());
}

}  // namespace
}  // namespace veltrano::testing
