#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>

#include "ShellFixture.h"
#include "core/design/CigaretteFile.h"
#include "core/design/FilePath.h"
#include "core/design/StartupFile.h"
#include "core/design/Utf8.h"
#include "ui/shell/CommandLineFiles.h"
#include "ui/shell/MyApp.h"
#include "ui/shell/PuffWaitDlg.h"
#include "ui/shell/Recovery.h"
#include "ui/shell/SettingsFile.h"

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
        ASSERT_EQ(app.start({"named.cig"}), 0);
        EXPECT_EQ(app.state().document.designs().currentDesign.fi_len, 27);
        EXPECT_EQ(shownTitle(*app.mainWindow()), "veltrano 4.1 - " + named.string());
        EXPECT_FALSE(app.mainWindow()->designsChanged());
    }
    {
        MyApp app(dialogs_, places_);
        expectBox();
        ASSERT_EQ(app.start({"broken.cig"}), 0);
        EXPECT_EQ(text_.substr(0, 9), "Error 055");
        EXPECT_TRUE(app.mainWindow()->isVisible());
        EXPECT_EQ(app.state().document.designs().currentDesign.stat_pdo, 123.25);
        EXPECT_EQ(shownTitle(*app.mainWindow()), "veltrano 4.1 - by korbinel");
    }
    {  // One file at a time: the first opens, the others are named.
        MyApp app(dialogs_, places_);
        expectBox();
        ASSERT_EQ(app.start({utf8Path(named).c_str(), "broken.cig", "x.cig"}), 0);
        EXPECT_EQ(app.state().document.designs().currentDesign.fi_len, 27);
        EXPECT_EQ(text_, "One file opens at a time; the other files named were not opened.");
        EXPECT_EQ(details_, "broken.cig\nx.cig");
    }
    EXPECT_TRUE(dialogs_.done());
}

// A name whose bytes are not UTF-8 is refused and shown as it is; the file whose name is its text (U+FFFD
// in place of each stray byte) is not opened in its stead.
TEST_F(Startup, ANameThatIsNotUtf8IsRefusedAndNeverTakenForAnother) {
    writeStartupFile();
    writeModels();
    writeDesignFile("cl_\xEF\xBF\xBD\xEF\xBF\xBD.cig", 27);  // "cl_\uFFFD\uFFFD.cig"
    writeDesignFile("cl_\xFF\xFE.cig", 29);
    for (const QByteArray& name : {QByteArray("cl_\xFF\xFE.cig"), QByteArray("gone_\xFF.cig")}) {
        MyApp app(dialogs_, places_);
        expectBox();
        ASSERT_EQ(app.start({name}), 0);
        EXPECT_EQ(text_, "The name of the file " + escapedUtf8(name.toStdString()) +
                             " is not UTF-8 text, and this program would take it for another name. Rename "
                             "the file and try again.");
        EXPECT_EQ(icon_, QMessageBox::Warning);
        EXPECT_EQ(app.state().document.designs().currentDesign.stat_pdo, 123.25);
        EXPECT_EQ(shownTitle(*app.mainWindow()), "veltrano 4.1 - by korbinel");
    }
    EXPECT_TRUE(dialogs_.done());
}

// The file names the parser found keep the bytes of the arguments they came from, in order, also where
// two names read the same and where a name looks like an option.
TEST(CommandLineFiles, EachNameKeepsTheBytesOfItsArgument) {
    const struct {
        QList<QByteArray> arguments;
        QStringList positional;
        QList<QByteArray> files;
    } cases[] = {
        {{"veltrano", "a.cig"}, {"a.cig"}, {"a.cig"}},
        {{"veltrano", "a\xFF.cig", "a\xEF\xBF\xBD.cig"},
         {QString::fromUtf8("a\xEF\xBF\xBD.cig"), QString::fromUtf8("a\xEF\xBF\xBD.cig")},
         {"a\xFF.cig", "a\xEF\xBF\xBD.cig"}},
        {{"veltrano", "--", "--help", "x\xFE"},
         {"--help", QString::fromUtf8("x\xEF\xBF\xBD")},
         {"--help", "x\xFE"}},
        {{"veltrano"}, {}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(namedFileBytes(c.positional, c.arguments), c.files) << c.arguments.join(' ').toStdString();
}

// A thousand files named at once: the first opens, and the box about the others names a few and counts
// the rest, so that it fits on the screen.
TEST_F(Startup, ManyFilesNamedAtOnceAreCountedNotListed) {
    writeStartupFile();
    writeModels();
    writeDesignFile("named.cig", 27);
    QList<QByteArray> files{"named.cig"};
    for (int i = 1; i < 1000; ++i) files << QByteArray("other-") + QByteArray::number(i) + ".cig";
    files[2] = "odd_\xFF.cig";
    MyApp app(dialogs_, places_);
    int boxHeight = 0;
    dialogs_.expect([&](QDialog& d) {
        auto* box = qobject_cast<QMessageBox*>(&d);
        text_ = box ? box->text().toStdString() : "no message box";
        details_ = box ? box->informativeText().toStdString() : "";
        boxHeight = d.sizeHint().height();
        return int(QMessageBox::Ok);
    });
    ASSERT_EQ(app.start(files), 0);
    EXPECT_EQ(app.state().document.designs().currentDesign.fi_len, 27);
    EXPECT_EQ(text_, "One file opens at a time; the other files named were not opened.");
    EXPECT_EQ(details_, "other-1.cig\nodd_\\xFF.cig\nother-3.cig\nand 996 more");
    EXPECT_LT(boxHeight, app.mainWindow()->screen()->availableGeometry().height() / 2);
}

#ifndef _WIN32  // no named pipes in the file system
// A pipe in the settings file's place would hold the start for ever: the program starts on its defaults
// and says so.
TEST_F(Startup, APipeInTheSettingsFilesPlaceIsSaidAndPassedBy) {
    writeStartupFile();
    writeModels();
    const QString settings = userSettingsPath();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settings).path()));
    QFile::remove(settings);
    ASSERT_EQ(::mkfifo(QFile::encodeName(settings), 0600), 0);
    struct RemovedAtTheEnd {  // the other tests read the settings
        QString path;
        ~RemovedAtTheEnd() { QFile::remove(path); }
    } pipe{settings};
    MyApp app(dialogs_, places_);
    expectBox();
    ASSERT_EQ(app.start(), 0);
    EXPECT_EQ(text_,
              "The settings file " + settings.toStdString() +
                  " is not a regular file; the program starts with its defaults and keeps no settings, "
                  "such as the recent files, this time.");
    EXPECT_EQ(icon_, QMessageBox::Warning);
    EXPECT_TRUE(windowShownBeforeBox_);
    EXPECT_TRUE(dialogs_.done());
}
#endif

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
    ASSERT_EQ(app.start({"named.cig"}), 0);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].rfind("Recover the unsaved designs from ", 0), 0u);
    EXPECT_EQ(asked[1], "Save changes to the cigarette designs?");
    EXPECT_EQ(app.state().document.designs().currentDesign.fi_len, 29);
    EXPECT_TRUE(app.mainWindow()->designsChanged());
    EXPECT_TRUE(dialogs_.done());
}

}  // namespace
}  // namespace veltrano::testing
