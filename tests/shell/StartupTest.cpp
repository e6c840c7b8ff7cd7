#include <filesystem>

#include <QMessageBox>

#include "design/StartupFile.h"
#include "shell/MyApp.h"
#include "shell/PuffWaitDlg.h"
#include "shell/ShellFixture.h"

namespace veltrano::testing {
namespace {

// Runs a test in its own working directory, as the program reads its files from there.
class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_.path());
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

    void writeStartupFile() {
        DesignSet designs;
        designs.currentDesign.stat_pdo = 123.25;  // a stored result the model would not give
        designs.currentDesign.allocatePuffData(4);
        ASSERT_EQ(saveStartupDesigns(kStartupDesignFileName, designs), 0);
    }
    void writeModels() {
        const auto bytes = encodeModelParameters(fixtureModels());
        writeBytes(kModelParameterFileName, std::string(bytes.begin(), bytes.end()));
    }
    // Answers a message box, keeping its caption, text and icon.
    void expectBox() {
        dialogs_.expect([this](QDialog& d) {
            auto* box = qobject_cast<QMessageBox*>(&d);
            EXPECT_NE(box, nullptr);
            if (!box) return 0;
            caption_ = box->windowTitle().toStdString();
            text_ = box->text().toStdString();
            icon_ = box->icon();
            windowShownBeforeBox_ = box->parentWidget() && box->parentWidget()->isVisible();
            return int(QMessageBox::Ok);
        });
    }

    TempFolder folder_;
    std::filesystem::path previous_;
    ScriptedDialogs dialogs_;
    std::string caption_, text_;
    QMessageBox::Icon icon_ = QMessageBox::NoIcon;
    bool windowShownBeforeBox_ = false;
};

TEST_F(Startup, WithoutTheStartupFileNoWindowAppears) {
    writeModels();
    MyApp app(dialogs_);
    expectBox();
    EXPECT_EQ(app.start(), MyApp::kStartFailed);
    EXPECT_EQ(text_, "Failed to load initial cigarette data.");
    EXPECT_EQ(caption_, "veltrano 4.1");
    EXPECT_EQ(icon_, QMessageBox::Warning);
    EXPECT_EQ(app.mainWindow(), nullptr);
}

TEST_F(Startup, WithoutModelsTheWindowShowsThenTheWarning) {
    writeStartupFile();
    MyApp app(dialogs_);
    expectBox();
    EXPECT_EQ(app.start(), MyApp::kStartFailed);
    EXPECT_EQ(text_, "Failed to load model parameters.");
    EXPECT_EQ(caption_, "Warning");
    EXPECT_EQ(icon_, QMessageBox::NoIcon);
    EXPECT_TRUE(windowShownBeforeBox_);
    EXPECT_EQ(app.mainWindow(), nullptr);
    EXPECT_TRUE(dialogs_.done());
}

// A models.dat of all 0xFF bytes holds 162 NaNs: the program starts, but says so once.
TEST_F(Startup, CoefficientsThatAreNotNumbersAreWarnedOf) {
    writeStartupFile();
    writeBytes(kModelParameterFileName, std::string(2592, '\xFF'));
    MyApp app(dialogs_);
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
    MyApp app(dialogs_);
    ASSERT_EQ(app.start(), 0);
    MainWin* w = app.mainWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(shownTitle(*w), "veltrano 4.1 - by korbinel");
    EXPECT_EQ(w->viewMode(), ViewMode::StationaryFlow);
    EXPECT_TRUE(w->puffByPuffValid());
    EXPECT_FALSE(w->windowIcon().isNull());
    EXPECT_FALSE(w->progressDialog().isVisible());
    EXPECT_EQ(app.state().document.designs().currentDesign.stat_pdo, 123.25);
    EXPECT_EQ(app.state().document.designs().currentDesign.puff_number, 4);
    EXPECT_EQ(informationTextString(app.state().document.designs().informationText), "");
    EXPECT_EQ(w->size(), QSize(1024, 820) - (w->frameGeometry().size() - w->geometry().size()));
    EXPECT_TRUE(dialogs_.done());
}

}  // namespace
}  // namespace veltrano::testing
