#include <filesystem>

#include <QDir>
#include <QMessageBox>

#include "ShellFixture.h"
#include "core/design/CigaretteFile.h"
#include "core/design/FilePath.h"
#include "core/design/StartupFile.h"
#include "ui/dialogs/FilePaths.h"
#include "ui/shell/MyApp.h"
#include "ui/shell/PuffWaitDlg.h"
#include "ui/shell/Recovery.h"

namespace veltrano::testing {
namespace {

namespace fs = std::filesystem;

// Runs a test in its own working directory, as the program reads its files from there first. The
// places of the data files are the test's own (no user data folder, no installation) unless a test
// sets them.
class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings().clear();
        previous_ = fs::current_path();
        fs::current_path(folder_.path());
        places_.workingFolder = folder_.path();
    }
    void TearDown() override { fs::current_path(previous_); }

    // A user data home and an installation under the test's folder; the working folder stays empty.
    void placeUserAndInstalledData() {
        places_.workingFolder = folder_.path() / "work";
        fs::create_directories(places_.workingFolder);
        places_.xdgDataHome = (folder_.path() / "xdg").string();
        places_.executableFolder = folder_.path() / "prefix" / "bin";
    }
    fs::path userFolder() const { return folder_.path() / "xdg" / "veltrano"; }
    fs::path installedFolder() const { return folder_.path() / "prefix" / "share" / "veltrano"; }

    void writeStartupFile(const fs::path& folder = {}, double storedPdo = 123.25) {
        DesignSet designs;
        designs.currentDesign.stat_pdo = storedPdo;  // a stored result the model would not give
        designs.currentDesign.allocatePuffData(4);
        if (!folder.empty()) fs::create_directories(folder);
        ASSERT_EQ(saveStartupDesigns((folder / kStartupDesignFileName).string(), designs), 0);
    }
    void writeModels(const fs::path& folder = {}) {
        const auto bytes = encodeModelParameters(fixtureModels());
        if (!folder.empty()) fs::create_directories(folder);
        writeBytes((folder / kModelParameterFileName).string(), std::string(bytes.begin(), bytes.end()));
    }
    // A cigarette file whose current design is `length` mm long.
    static void writeDesignFile(const fs::path& path, double length) {
        DesignSet designs;
        designs.currentDesign.fi_len = length;
        RecordingErrorReporter errors;
        ASSERT_EQ(saveCigaretteFile(path.string(), designs, errors), 0);
    }
    // Answers a message box, keeping its caption, text and icon.
    void expectBox() {
        dialogs_.expect([this](QDialog& d) {
            auto* box = qobject_cast<QMessageBox*>(&d);
            EXPECT_NE(box, nullptr);
            if (!box) return 0;
            caption_ = box->windowTitle().toStdString();
            text_ = box->text().toStdString();
            details_ = box->informativeText().toStdString();
            icon_ = box->icon();
            windowShownBeforeBox_ = box->parentWidget() && box->parentWidget()->isVisible();
            return int(QMessageBox::Ok);
        });
    }

    TempFolder folder_;
    fs::path previous_;
    DataPlaces places_;
    ScriptedDialogs dialogs_;
    std::string caption_, text_, details_;
    QMessageBox::Icon icon_ = QMessageBox::NoIcon;
    bool windowShownBeforeBox_ = false;
};

TEST_F(Startup, WithoutTheStartupFileNoWindowAppears) {
    writeModels();
    MyApp app(dialogs_, places_);
    expectBox();
    EXPECT_EQ(app.start(), MyApp::kStartFailed);
    EXPECT_EQ(text_, "Failed to load initial cigarette data.");
    EXPECT_EQ(caption_, "veltrano 4.1");
    EXPECT_EQ(icon_, QMessageBox::Warning);
    EXPECT_EQ(app.mainWindow(), nullptr);
    EXPECT_EQ(details_, "Paths tried:\n" + (folder_.path() / kStartupDesignFileName).string());
}

TEST_F(Startup, WithoutModelsTheWindowShowsThenTheWarning) {
    writeStartupFile();
    MyApp app(dialogs_, places_);
    expectBox();
    EXPECT_EQ(app.start(), MyApp::kStartFailed);
    EXPECT_EQ(text_, "Failed to load model parameters.");
    EXPECT_EQ(caption_, "Warning");
    EXPECT_EQ(icon_, QMessageBox::NoIcon);
    EXPECT_TRUE(windowShownBeforeBox_);
    EXPECT_EQ(app.mainWindow(), nullptr);
    EXPECT_TRUE(dialogs_.done());
    EXPECT_EQ(details_, "Paths tried:\n" + (folder_.path() / kModelParameterFileName).string());
}

// A models.dat of all 0xFF bytes holds 162 NaNs: the program starts, but says so once.
TEST_F(Startup, CoefficientsThatAreNotNumbersAreWarnedOf) {
    writeStartupFile();
    writeBytes(kModelParameterFileName, std::string(2592, '\xFF'));
    MyApp app(dialogs_, places_);
    expectBox();
    EXPECT_EQ(app.start(), 0);
    EXPECT_EQ(
        text_,
        "162 of the 162 coefficients in the model parameter file \"models.dat\" are not finite numbers; "
        "results computed with them will not be numbers either.");
    EXPECT_EQ(caption_, "Warning");
    EXPECT_EQ(icon_, QMessageBox::Warning);
    EXPECT_TRUE(windowShownBeforeBox_);
    ASSERT_NE(app.mainWindow(), nullptr);
    EXPECT_TRUE(app.mainWindow()->isVisible());
    EXPECT_TRUE(dialogs_.done());
}

TEST_F(Startup, ShowsTheStoredResultsWithoutRecalculating) {
    writeStartupFile();
    writeModels();
    MyApp app(dialogs_, places_);
    ASSERT_EQ(app.start(), 0);
    MainWin* w = app.mainWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(shownTitle(*w), "veltrano 4.1 - by korbinel");
    EXPECT_EQ(w->viewMode(), View::StationaryFlow);
    EXPECT_TRUE(w->puffByPuffValid());
    EXPECT_FALSE(w->windowIcon().isNull());
    EXPECT_FALSE(w->findChild<PuffWaitDlg*>()->isVisible());
    EXPECT_EQ(app.state().document.designs().currentDesign.stat_pdo, 123.25);
    EXPECT_EQ(app.state().document.designs().currentDesign.puff_number, 4);
    EXPECT_EQ(informationTextString(app.state().document.designs().informationText), "");
    EXPECT_EQ(w->size(), QSize(1024, 820) - (w->frameGeometry().size() - w->geometry().size()));
    EXPECT_TRUE(dialogs_.done());
}

TEST_F(Startup, LooksInTheWorkingFolderThenTheUserFolderThenTheInstalledData) {
    placeUserAndInstalledData();
    {
        MyApp app(dialogs_, places_);
        expectBox();
        EXPECT_EQ(app.start(), MyApp::kStartFailed);
        EXPECT_EQ(text_, "Failed to load initial cigarette data.");
        EXPECT_EQ(details_, "Paths tried:\n" + (places_.workingFolder / kStartupDesignFileName).string() +
                                "\n" + (userFolder() / kStartupDesignFileName).string() + "\n" +
                                (installedFolder() / kStartupDesignFileName).string());
    }
    // The stored draw resistance of the current design the program starts with.
    const auto startedWith = [&] {
        MyApp app(dialogs_, places_);
        EXPECT_EQ(app.start(), 0);
        return app.state().document.designs().currentDesign.stat_pdo;
    };
    // An installation under any prefix: both files from share/veltrano beside bin/.
    writeStartupFile(installedFolder(), 1.5);
    writeModels(installedFolder());
    EXPECT_EQ(startedWith(), 1.5);
    // The user's own start-up designs come before the installed ones, the working folder's first of all.
    writeStartupFile(userFolder(), 2.5);
    EXPECT_EQ(startedWith(), 2.5);
    writeStartupFile(places_.workingFolder, 3.5);
    EXPECT_EQ(startedWith(), 3.5);
    EXPECT_TRUE(dialogs_.done());
}

TEST_F(Startup, AboutGestureWritesWhereTheFileCameFromElseIntoTheUserFolder) {
    placeUserAndInstalledData();
    writeStartupFile(installedFolder(), 1.5);
    writeModels(installedFolder());
    const fs::path installedFile = installedFolder() / kStartupDesignFileName,
                   userFile = userFolder() / kStartupDesignFileName;
    // Gives the current design of a started program a stored draw resistance of `pdo`, then runs the
    // about box's gesture; returns whether it beeped (the file was written).
    const auto saveFromAboutBox = [&](MyApp& app, double pdo) {
        DocumentTestAccess::designs(app.state().document).currentDesign.stat_pdo = pdo;
        dialogs_.beeps.clear();
        dialogs_.expect([](QDialog& d) {
            saveStartupGesture(d);
            return int(QDialog::Rejected);
        });
        app.mainWindow()->runCommand(kCmdAbout);
        return dialogs_.beeps == std::vector<std::pair<int, int>>{{3500, 200}};
    };
    const auto storedPdo = [](const fs::path& file) {
        DesignSet designs;
        EXPECT_EQ(loadStartupDesigns(file.string(), designs), 0) << file;
        return designs.currentDesign.stat_pdo;
    };

    {  // The installed folder takes the file: it goes back there.
        MyApp app(dialogs_, places_);
        ASSERT_EQ(app.start(), 0);
        EXPECT_TRUE(saveFromAboutBox(app, 4.5));
        EXPECT_EQ(storedPdo(installedFile), 4.5);
        EXPECT_FALSE(fs::exists(userFolder()));
    }
    {  // It refuses it (a folder now stands in the file's place, as a read-only installation would
       // refuse it): the user's data folder is made and takes it.
        MyApp app(dialogs_, places_);
        ASSERT_EQ(app.start(), 0);
        fs::remove(installedFile);
        fs::create_directory(installedFile);
        EXPECT_TRUE(saveFromAboutBox(app, 5.5));
        EXPECT_EQ(storedPdo(userFile), 5.5);
    }
    fs::remove(installedFile);
    writeStartupFile(installedFolder(), 1.5);
    {  // The next start prefers the user's folder, and the gesture writes back there.
        MyApp app(dialogs_, places_);
        ASSERT_EQ(app.start(), 0);
        EXPECT_EQ(app.state().document.designs().currentDesign.stat_pdo, 5.5);
        EXPECT_TRUE(saveFromAboutBox(app, 6.5));
        EXPECT_EQ(storedPdo(userFile), 6.5);
        EXPECT_EQ(storedPdo(installedFile), 1.5);
    }
    EXPECT_TRUE(dialogs_.done());
}

// `veltrano FILE`: the file opens once the program runs, as Open opens it; one that does not open
// leaves the start-up designs.
TEST_F(Startup, AFileNamedOnTheCommandLineOpensAfterStartUp) {
    writeStartupFile();
    writeModels();
    writeDesignFile("named.cig", 27);
    writeBytes("broken.cig", "not a design");
    const fs::path named = folder_.path() / "named.cig";
    {
        MyApp app(dialogs_, places_);
        ASSERT_EQ(app.start({QStringLiteral("named.cig")}), 0);
        EXPECT_EQ(app.state().document.designs().currentDesign.fi_len, 27);
        EXPECT_EQ(shownTitle(*app.mainWindow()), "veltrano 4.1 - " + named.string());
        EXPECT_FALSE(app.mainWindow()->designsChanged());
    }
    {
        MyApp app(dialogs_, places_);
        expectBox();
        ASSERT_EQ(app.start({QStringLiteral("broken.cig")}), 0);
        EXPECT_EQ(text_.substr(0, 9), "Error 055");
        EXPECT_TRUE(app.mainWindow()->isVisible());
        EXPECT_EQ(app.state().document.designs().currentDesign.stat_pdo, 123.25);
        EXPECT_EQ(shownTitle(*app.mainWindow()), "veltrano 4.1 - by korbinel");
    }
    {  // One file at a time: the first opens, the others are named.
        MyApp app(dialogs_, places_);
        expectBox();
        ASSERT_EQ(
            app.start({fromFilePath(utf8Path(named)), QStringLiteral("broken.cig"), QStringLiteral("x.cig")}),
            0);
        EXPECT_EQ(app.state().document.designs().currentDesign.fi_len, 27);
        EXPECT_EQ(text_, "One file opens at a time; the other files named were not opened.");
        EXPECT_EQ(details_, "broken.cig\nx.cig");
    }
    EXPECT_TRUE(dialogs_.done());
}

// Designs recovered at start-up are unsaved work: the command-line file asks first, as Open does.
TEST_F(Startup, RecoveredDesignsAreNotReplacedWithoutAQuestion) {
    writeStartupFile();
    writeModels();
    writeDesignFile("named.cig", 27);
    const QString recovery = recoveryFolderPath();
    QDir().mkpath(recovery);
    writeDesignFile((recovery + "/old.cig").toStdString(), 29);
    writeBytes((recovery + "/old.info").toStdString(), encodeRecoveryInfo({"/x/y.cig", false, 1797000000}));

    MyApp app(dialogs_, places_);
    std::vector<std::string> asked;
    const auto answer = [&](int button) {
        dialogs_.expect([&asked, button](QDialog& d) {
            auto* box = qobject_cast<QMessageBox*>(&d);
            asked.push_back(box ? box->text().toStdString() : "no message box");
            return button;
        });
    };
    answer(QMessageBox::Yes);     // recover
    answer(QMessageBox::Cancel);  // keep the recovered designs
    ASSERT_EQ(app.start({QStringLiteral("named.cig")}), 0);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].rfind("Recover the unsaved designs from ", 0), 0u);
    EXPECT_EQ(asked[1], "Save changes to the cigarette designs?");
    EXPECT_EQ(app.state().document.designs().currentDesign.fi_len, 29);
    EXPECT_TRUE(app.mainWindow()->designsChanged());
    EXPECT_TRUE(dialogs_.done());
}

}  // namespace
}  // namespace veltrano::testing
