// Every text of the program's own windows has the room it needs. The test runs once as it is and once
// more with everything twice as large (QT_SCALE_FACTOR=2; the tests named *Fit*).
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>

#include "ShellFixture.h"
#include "core/sheet/SheetPageTable.h"
#include "tests/support/LabelsFit.h"
#include "ui/shell/DesignDlg.h"
#include "ui/shell/PuffWaitDlg.h"

namespace veltrano::testing {
namespace {

class DialogsFit : public ShellTest {
protected:
    // Lays `w` out and notes each text it clips, under `name`.
    void look(QWidget& w, const std::string& name) {
        layOut(w);
        for (const std::string& text : clippedTexts(w)) clipped.push_back(name + ": " + text);
    }
    // The next modal dialog is looked at, then closed.
    void lookAtNextDialog(const std::string& name) {
        dialogs.expect([this, name](QDialog& d) {
            look(d, name);
            return int(QDialog::Rejected);
        });
    }

    std::vector<std::string> clipped;
};

TEST_F(DialogsFit, EveryTextOfTheProgramsWindowsFits) {
    window->show();
    look(window->panel(), "panel");
    PuffWaitDlg& progress = *window->findChild<PuffWaitDlg*>();
    look(progress, "progress");
    progress.hide();

    const struct {
        CommandId command;
        const char* dialog;
    } commands[] = {
        {kCmdAbout, "about"},
        {kCmdAddInformation, "information"},
        {kCmdProblemSolver, "problem solver"},
        {kCmdSensitivity, "sensitivity"},
        {kCmdTolerances, "tolerances"},
#ifdef VELTRANO_HAVE_NLOPT
        {kCmdDesignToTargets, "design to targets"},
#endif
    };
    for (const auto& c : commands) {
        lookAtNextDialog(c.dialog);
        window->runCommand(c.command);
    }
    // The sensitivity's range note with every field it offers ("today 32.00 mm, accepted 25.00 to
    // 80.00 mm" is among the longest).
    dialogs.expect([&](QDialog& d) {
        auto* fields = d.findChild<QComboBox*>(QStringLiteral("field"));
        for (int i = 0; fields && i < fields->count(); ++i) {
            fields->setCurrentIndex(i);
            look(d, "sensitivity with " + fields->currentText().toStdString());
        }
        return int(QDialog::Rejected);
    });
    window->runCommand(kCmdSensitivity);

    // Every page of both sheets, and the rod estimator that the rod page opens.
    for (CommandId sheet : {kCmdEditReference, kCmdEditCurrent}) {
        dialogs.expect([&](QDialog& d) {
            auto* tabs = d.findChild<QTabWidget*>();
            for (int page = 0; tabs && page < tabs->count(); ++page) {
                tabs->setCurrentIndex(page);
                look(d, "sheet page " + tabs->tabText(page).toStdString());
            }
            if (tabs && sheet == kCmdEditReference) {
                tabs->setCurrentIndex(kRodPage);
                lookAtNextDialog("rod estimator");
                if (auto* help = d.findChild<QPushButton*>(QStringLiteral("ro_totpd_help"))) help->click();
            }
            return int(QDialog::Rejected);
        });
        window->runCommand(sheet);
    }
    EXPECT_EQ(clipped, std::vector<std::string>{});
}

}  // namespace
}  // namespace veltrano::testing
