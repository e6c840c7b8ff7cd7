#include <filesystem>

#include <QDir>
#include <QMessageBox>

#include "ShellFixture.h"
#include "core/design/CigaretteFile.h"
#include "tests/ui/sheet/SheetTestSupport.h"

namespace veltrano::testing {
namespace {

using FileCommands = ShellTest;
namespace fs = std::filesystem;

TEST_F(FileCommands, SaveAfterStartAsksForANameAndAddsTheSuffix) {
    TempFolder folder;
    chooseFile(folder.file("design"));
    ASSERT_TRUE(window->runCommand(kCmdSave));
    ASSERT_TRUE(fs::exists(folder.file("design.cig")));
    EXPECT_EQ(fs::file_size(folder.file("design.cig")), 13016u);
    EXPECT_EQ(QDir::toNativeSeparators(window->currentFileName()).toStdString(), folder.file("design.cig"));
    EXPECT_EQ(shownTitle(*window), "veltrano 4.1 - " + folder.file("design.cig"));
    // With a name, Save asks nothing.
    window->runCommand(kCmdSave);
}

TEST_F(FileCommands, OpenEditSaveAsOpenKeepsEveryField) {
    TempFolder folder;
    chooseFile(folder.file("a.cig"));
    window->runCommand(kCmdSaveAs);
    dialogs.expect([](QDialog& d) {
        type(d, "tp_width", "30.5");
        showPage(d, 2);
        type(d, "fi_totpd", "400");
        showPage(d, 4);
        clickRadio(d, "other");
        type(d, "alt_volume", "47.5");
        return press(d, QDialogButtonBox::Ok);
    });
    window->runCommand(kCmdEditCurrent);
    chooseFile(folder.file("b.cig"));
    window->runCommand(kCmdSaveAs);
    const DesignImage saved = encodeDesignImage(current());
    EXPECT_EQ(current().tp_width, 30.5);
    EXPECT_EQ(current().fi_totpd, 400);
    EXPECT_EQ(current().alt_volume, 47.5);

    chooseFile(folder.file("a.cig"));
    window->runCommand(kCmdOpen);
    EXPECT_EQ(current().alt_volume, 35);
    chooseFile(folder.file("b.cig"));
    window->runCommand(kCmdOpen);
    CigaretteDesign reread(ArrayMode::NoArrays);
    reread.assign(current());
    EXPECT_EQ(encodeDesignImage(reread), saved);
    EXPECT_EQ(shownTitle(*window), "veltrano 4.1 - " + folder.file("b.cig"));
    EXPECT_FALSE(window->designsChanged());
}

TEST_F(FileCommands, BadFilesGiveTheirErrorsAndChangeNothing) {
    TempFolder folder;
    writeBytes(folder.file("short.cig"), std::string(13015, '\0'));
    writeBytes(folder.file("old.cig"), std::string(44575, '\0'));
    current().fi_len = 31;
    const DesignImage before = encodeDesignImage(current());

    chooseFile(folder.file("short.cig"));
    dialogs.expectMessage();
    window->runCommand(kCmdOpen);
    chooseFile(folder.file("old.cig"));
    dialogs.expectMessage();
    window->runCommand(kCmdImport);
    fs::create_directory(folder.file("taken.cig"));  // a folder where the file should go: cannot be written
    chooseFile(folder.file("taken.cig"));
    dialogs.expectMessage();
    window->runCommand(kCmdSaveAs);

    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[0].substr(0, 9), "Error 055");
    EXPECT_EQ(dialogs.messages[1].substr(0, 9), "Error 074");
    EXPECT_EQ(dialogs.messages[2].substr(0, 9), "Error 052");
    EXPECT_EQ(encodeDesignImage(current()), before);
    EXPECT_TRUE(window->currentFileName().isEmpty());  // the failed save forgot the name
}

TEST_F(FileCommands, TheImportDialogIsTitledImport) {
    QString title;
    dialogs.expect([&](QDialog& d) {
        title = d.windowTitle();
        return int(QDialog::Rejected);
    });
    window->runCommand(kCmdImport);
    EXPECT_EQ(title, "Import");
}

TEST_F(FileCommands, ImportSetsTheTitleAndSaveWritesThere) {
    TempFolder folder;
    const std::string legacy = folder.file("old.cig");
    fs::copy_file(std::string(VELTRANO_SOURCE_DIR) + "/fuzz/corpus/legacy_file/typical.cig", legacy);
    chooseFile(legacy);
    window->runCommand(kCmdImport);
    EXPECT_EQ(shownTitle(*window), "veltrano 4.1 - " + legacy + "*");  // imported: not yet saved
    EXPECT_EQ(current().tp_perfotype, kMicroLaser);
    EXPECT_TRUE(window->designsChanged());
    std::string asked;
    dialogs.expect([&](QDialog& d) {
        auto* box = qobject_cast<QMessageBox*>(&d);
        asked = box->text().toStdString();
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        return int(QMessageBox::Yes);
    });
    window->runCommand(kCmdSave);
    EXPECT_EQ(asked,
              "The file " + legacy + " is in the old 3.xx format. Replace it with a file in the 4.1 format?");
    EXPECT_EQ(fs::file_size(legacy), 13016u);
    EXPECT_FALSE(window->designsChanged());

    // Saved in this format now: the next Save writes without asking.
    window->runCommand(kCmdCopyToCurrent);
    window->runCommand(kCmdSave);
    EXPECT_FALSE(window->designsChanged());
}

// Import, then Enter on every question: the legacy original survives, Save as takes over.
TEST_F(FileCommands, EnterAfterImportNeverOverwritesTheLegacyOriginal) {
    TempFolder folder;
    const std::string legacy = folder.file("old.cig");
    fs::copy_file(std::string(VELTRANO_SOURCE_DIR) + "/fuzz/corpus/legacy_file/typical.cig", legacy);
    const auto original = fs::file_size(legacy);
    chooseFile(legacy);
    window->runCommand(kCmdImport);
    window->show();
    const auto pressEnter = [](QDialog& d) {
        auto* box = qobject_cast<QMessageBox*>(&d);
        EXPECT_NE(box, nullptr);
        return box ? box->standardButton(box->defaultButton()) : int(QDialog::Rejected);
    };
    std::string named;
    dialogs.expect([&](QDialog& d) {
        named = qobject_cast<QMessageBox*>(&d)->informativeText().toStdString();
        return pressEnter(d);
    });                          // save changes? Save
    dialogs.expect(pressEnter);  // replace the 3.xx file? No
    chooseFile(folder.file("new.cig"));
    window->runCommand(kCmdExit);
    EXPECT_EQ(named, "Save writes " + legacy + ".");
    EXPECT_EQ(fs::file_size(legacy), original);
    EXPECT_EQ(fs::file_size(folder.file("new.cig")), 13016u);
    EXPECT_FALSE(window->isVisible());
}

// Save as takes only a folder that exists; a failed or refused name changes neither name nor title.
TEST_F(FileCommands, SaveAsIntoAMissingFolderAsksAgain) {
    TempFolder folder;
    chooseFile(folder.file("a.cig"));
    window->runCommand(kCmdSaveAs);
    const std::string title = shownTitle(*window);
    std::string said;
    chooseFile(folder.file("missing/b.cig"));
    dialogs.expect([&](QDialog& d) {
        said = qobject_cast<QMessageBox*>(&d)->text().toStdString();
        return int(QMessageBox::Ok);
    });
    cancelNext();
    window->runCommand(kCmdSaveAs);
    EXPECT_EQ(said, "The folder " + folder.file("missing") + " does not exist.");
    EXPECT_FALSE(fs::exists(folder.file("missing")));
    EXPECT_EQ(shownTitle(*window), title);
    EXPECT_EQ(QDir::toNativeSeparators(window->currentFileName()).toStdString(), folder.file("a.cig"));
}

TEST_F(FileCommands, UnsavedChangesAreNeverDroppedWithoutAQuestion) {
    EXPECT_TRUE(window->close());  // nothing changed: no question
    window->show();

    window->runCommand(kCmdCopyToCurrent);
    std::string asked;
    dialogs.expect([&](QDialog& d) {
        asked = qobject_cast<QMessageBox*>(&d)->text().toStdString();
        return int(QMessageBox::Cancel);
    });
    EXPECT_FALSE(window->close());
    EXPECT_EQ(asked, "Save changes to the cigarette designs?");
    EXPECT_TRUE(window->isVisible());

    // Cancel before Open: no file dialog at all.
    dialogs.expect([](QDialog&) { return int(QMessageBox::Cancel); });
    window->runCommand(kCmdOpen);

    // Save without a name runs Save as; cancelling it cancels the exit.
    dialogs.expect([](QDialog&) { return int(QMessageBox::Save); });
    cancelNext();
    window->runCommand(kCmdExitAccelerator);
    EXPECT_TRUE(window->isVisible());

    TempFolder folder;
    dialogs.expect([](QDialog&) { return int(QMessageBox::Save); });
    chooseFile(folder.file("kept.cig"));
    window->runCommand(kCmdExit);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(fs::exists(folder.file("kept.cig")));
    EXPECT_FALSE(window->designsChanged());
}

TEST_F(FileCommands, DiscardClosesWithoutSaving) {
    window->show();
    window->runCommand(kCmdCopyToCurrent);
    dialogs.expect([](QDialog&) { return int(QMessageBox::Discard); });
    EXPECT_TRUE(window->close());
}

}  // namespace
}  // namespace veltrano::testing
