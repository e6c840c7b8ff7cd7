#include <string>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "core/design/NumberText.h"
#include "core/solver/TargetSearches.h"
#include "tests/core/solver/SolverFixture.h"
#include "tests/support/ScriptedDialogs.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/solver/SolverDlg.h"

namespace veltrano {
namespace {

using testing::recalculateDesigns;
using testing::ScriptedDialogs;
using testing::solverParameters;

template <class Widget>
Widget* named(const QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << "no widget " << name;
    return widget;
}

std::string textOf(const QWidget& dialog, const char* name) {
    return named<QLineEdit>(dialog, name)->text().toStdString();
}

std::vector<std::string> itemsOf(const QWidget& dialog, const char* name) {
    std::vector<std::string> items;
    auto* list = named<QComboBox>(dialog, name);
    for (int i = 0; i < list->count(); ++i) items.push_back(list->itemText(i).toStdString());
    return items;
}

bool enabled(const QWidget& dialog, const char* name) {
    return named<QWidget>(dialog, name)->isEnabled();
}

// Everything a user can reach in each group, in the order radio, list, field, Search, Accept.
std::vector<bool> reachable(const QWidget& dialog, const char* group) {
    std::vector<bool> states;
    for (const char* part : {"_radio", "_targets", "_target", "_search", "_accept"})
        states.push_back(enabled(dialog, (std::string(group) + part).c_str()));
    return states;
}

struct Solver {
    explicit Solver(DesignSet& designs)
        : errors(dialogs, nullptr), dialog(designs, solverParameters(), dialogs, errors) {}
    ScriptedDialogs dialogs;
    MessageBoxErrorReporter errors;
    SolverDlg dialog;

    void type(const char* group, const char* text) {
        named<QLineEdit>(dialog, (std::string(group) + "_target").c_str())
            ->setText(QString::fromLatin1(text));
    }
    void click(const char* name) { named<QPushButton>(dialog, name)->click(); }
};

TEST(SolverDialog, ThePerforationDecidesWhichSearchesAreOffered) {
    const std::vector<bool> none(5, false);
    {
        DesignSet designs;
        designs.currentDesign.tp_perfotype = kOnlineLaser;
        Solver solver(designs);
        EXPECT_EQ(reachable(solver.dialog, "tipping"), none);
        EXPECT_EQ(reachable(solver.dialog, "paper"), none);
        EXPECT_FALSE(named<QRadioButton>(solver.dialog, "tipping_radio")->isChecked());
        EXPECT_FALSE(named<QRadioButton>(solver.dialog, "paper_radio")->isChecked());
    }
    {
        DesignSet designs;
        designs.currentDesign.tp_perfotype = kNoPerforation;
        Solver solver(designs);
        EXPECT_EQ(reachable(solver.dialog, "tipping"), none);
        EXPECT_EQ(reachable(solver.dialog, "paper"), (std::vector<bool>{true, true, true, true, false}));
        EXPECT_TRUE(named<QRadioButton>(solver.dialog, "paper_radio")->isChecked());
    }
    {
        DesignSet designs;
        designs.currentDesign.tp_perfotype = kMicroLaser;
        Solver solver(designs);
        EXPECT_EQ(reachable(solver.dialog, "tipping"), (std::vector<bool>{true, true, true, true, false}));
        EXPECT_EQ(reachable(solver.dialog, "paper"), (std::vector<bool>{true, false, false, false, false}));
        named<QRadioButton>(solver.dialog, "paper_radio")->click();
        EXPECT_EQ(reachable(solver.dialog, "tipping"), (std::vector<bool>{true, false, false, false, false}));
        EXPECT_EQ(reachable(solver.dialog, "paper"), (std::vector<bool>{true, true, true, true, false}));
    }
}

TEST(SolverDialog, TypingATargetAndEnterRunsTheSearchOfTheCheckedGroup) {
    DesignSet designs;
    recalculateDesigns(designs);
    Solver solver(designs);
    std::string plugWrap;
    solver.dialogs.expect([&](QDialog& dialog) {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        auto* target = named<QLineEdit>(dialog, "tipping_target");
        EXPECT_EQ(QApplication::focusWidget(), target);  // the field takes the typing at once
        QTest::keyClicks(QApplication::focusWidget(), "20");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        plugWrap = textOf(dialog, "pw_perm_result");
        // The results can be reached, selected and copied.
        auto* result = named<QLineEdit>(dialog, "tp_perfoperm_result");
        EXPECT_TRUE(result->focusPolicy() & Qt::TabFocus);
        result->setFocus();
        QTest::keyClick(result, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(result, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), result->text());
        return int(QDialog::Accepted);
    });
    solver.dialogs.exec(solver.dialog);
    EXPECT_TRUE(solver.dialogs.done());
    EXPECT_NE(plugWrap, "");
    EXPECT_TRUE(enabled(solver.dialog, "tipping_accept"));

    // Without perforation the paper's target field has the focus.
    DesignSet plain;
    plain.currentDesign.tp_perfotype = kNoPerforation;
    Solver paper(plain);
    EXPECT_EQ(paper.dialog.focusWidget(), named<QLineEdit>(paper.dialog, "paper_target"));
}

TEST(SolverDialog, OnlinePerforationSaysWhyNothingCanBeSearched) {
    DesignSet online;
    online.currentDesign.tp_perfotype = kOnlineLaser;
    Solver solver(online);
    auto* note = solver.dialog.findChild<QLabel*>("online_note");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->text().contains("online"));
    EXPECT_EQ(named<QLabel>(solver.dialog, "hints")->text(), "No hints.");

    DesignSet electrostatic;
    Solver other(electrostatic);
    EXPECT_EQ(other.dialog.findChild<QLabel*>("online_note"), nullptr);
}

TEST(SolverDialog, TheYieldTargetsFollowTheKnownBitsAndSetTheUnit) {
    DesignSet designs;
    designs.currentDesign.known &=
        ~(known::bit(KnownBit::IsoNicotine) |
          known::bit(KnownBit::IsoPuffNumber));  // nicotine and puff number not given
    Solver solver(designs);
    EXPECT_EQ(
        itemsOf(solver.dialog, "tipping_targets"),
        (std::vector<std::string>{"the degree of filter ventilation",
                                  "nicotine-free dry particulate matter ('tar')", "carbon monoxide (CO)"}));
    EXPECT_EQ(itemsOf(solver.dialog, "paper_targets"),
              (std::vector<std::string>{"the degree of rod ventilation", "carbon monoxide (CO)"}));
    auto* unit = named<QLabel>(solver.dialog, "tipping_unit");
    EXPECT_EQ(unit->text().toStdString(), "%.");
    named<QComboBox>(solver.dialog, "tipping_targets")->setCurrentIndex(2);
    EXPECT_EQ(unit->text().toStdString(), "mg/cig.");

    DesignSet all;
    Solver full(all);
    EXPECT_EQ(itemsOf(full.dialog, "tipping_targets").size(), 4u);
    EXPECT_EQ(itemsOf(full.dialog, "paper_targets").back(), "the puff number");
    named<QComboBox>(full.dialog, "paper_targets")->setCurrentIndex(2);
    EXPECT_EQ(named<QLabel>(full.dialog, "paper_unit")->text().toStdString(), ".");
}

TEST(SolverDialog, TheCalibratedMaximumIsOfferedRoundedDown) {
    DesignSet designs;
    recalculateDesigns(designs);
    // A measured reference ventilation that scales this design's reachable 93.5 % down to 47.8 %.
    const double most = maxFilterVentilation(designs.currentDesign, solverParameters());
    designs.referenceDesign.stat_fivent = 47.8 / most * designs.workingReference.stat_fivent;
    recalculateDesigns(designs);

    Solver solver(designs);
    solver.dialogs.expect([](QDialog& d) {
        auto* box = qobject_cast<QMessageBox*>(&d);
        EXPECT_NE(box, nullptr);
        if (!box) return int(QMessageBox::Ok);
        EXPECT_EQ(box->windowTitle().toStdString(), "Error");
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->text().toStdString(),
                  "Error: The desired degree of filter ventilation has to be between 1% and 47%.");
        return int(QMessageBox::Ok);
    });
    solver.type("tipping", "48");
    solver.click("tipping_search");
    EXPECT_TRUE(solver.dialogs.done());
    EXPECT_EQ(textOf(solver.dialog, "tp_perfoperm_result"), "");
    EXPECT_FALSE(enabled(solver.dialog, "tipping_accept"));

    solver.type("tipping", "47.7");  // within reach: searched, nothing more to show
    solver.click("tipping_search");
    EXPECT_EQ(solver.dialogs.runs, 1);
    EXPECT_NE(textOf(solver.dialog, "tp_perfoperm_result"), "");
}

TEST(SolverDialog, AcceptWritesTheShownTippingAndPlugWrapIntoTheCurrentDesign) {
    DesignSet designs;
    recalculateDesigns(designs);
    Solver solver(designs);
    auto* hints = named<QLabel>(solver.dialog, "hints");
    EXPECT_EQ(hints->text().toStdString(), "No hints.");
    EXPECT_FALSE(solver.dialog.anythingAccepted());

    solver.type("tipping", "20");
    solver.click("tipping_search");
    const std::string tipping = textOf(solver.dialog, "tp_perfoperm_result");
    const std::string plugWrap = textOf(solver.dialog, "pw_perm_result");
    ASSERT_NE(tipping, "");
    EXPECT_EQ(hints->text().toStdString(), "");  // a moderate electrostatic perforation: no advice
    EXPECT_TRUE(enabled(solver.dialog, "tipping_accept"));
    EXPECT_NE(designs.currentDesign.tp_perfoperm, readNumber(tipping));

    solver.click("tipping_accept");
    EXPECT_EQ(designs.currentDesign.tp_perfoperm, readNumber(tipping));
    EXPECT_EQ(designs.currentDesign.pw_perm, readNumber(plugWrap));
    EXPECT_TRUE(solver.dialog.anythingAccepted());
    EXPECT_EQ(textOf(solver.dialog, "tp_perfoperm_result"), "");
    EXPECT_FALSE(enabled(solver.dialog, "tipping_accept"));
    EXPECT_EQ(solver.dialogs.runs, 0);
}

TEST(SolverDialog, AnAcceptedPaperWhosePermeabilityIsNotGivenFallsBackToTheDefault) {
    DesignSet designs;
    designs.currentDesign.known &=
        ~known::bit(KnownBit::PaperPermeability);  // the paper permeability is not given
    recalculateDesigns(designs);
    Solver solver(designs);
    named<QRadioButton>(solver.dialog, "paper_radio")->click();
    solver.type("paper", "14");
    solver.click("paper_search");
    const std::string permeability = textOf(solver.dialog, "cp_perm_result");
    ASSERT_NE(permeability, "");
    EXPECT_NE(readNumber(permeability), 50);
    solver.click("paper_accept");
    EXPECT_EQ(designs.currentDesign.cp_perm, readNumber(permeability));
    EXPECT_TRUE(solver.dialog.anythingAccepted());

    recalculateDesigns(designs);
    EXPECT_EQ(designs.currentDesign.cp_perm, 50);
}

}  // namespace
}  // namespace veltrano
