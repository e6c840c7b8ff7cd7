#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <QApplication>
#include <QFileDialog>
#include <QMouseEvent>
#include <QSettings>

#include <gtest/gtest.h>

#include "core/design/ModelParameters.h"
#include "core/model/Recalculation.h"
#include "tests/support/DocumentTestAccess.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFolder.h"
#include "ui/shell/MainWin.h"
#include "ui/shell/ProgramState.h"

namespace veltrano::testing {

inline ModelParameters fixtureModels() {
    ModelParameters mp;
    EXPECT_EQ(loadModelParameters(std::string(VELTRANO_TEST_DATA_DIR) + "/fixture-models.dat", mp), 0);
    return mp;
}

// A main window on the default designs, recalculated as after an edit, with scripted dialogs.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings().clear();  // no recent files, no folder last used
        state.modelParameters = fixtureModels();
        RecordingErrorReporter errors;
        recalculate(designs(), state.modelParameters, errors);
        window = std::make_unique<MainWin>(state.document, dialogs);
    }
    void TearDown() override {
        EXPECT_TRUE(dialogs.done()) << "a scripted dialog was never shown";
        window.reset();
    }

    // Answers the next file dialog with `path`.
    void chooseFile(const std::string& path) {
        dialogs.expect([path](QDialog& d) {
            auto* f = qobject_cast<QFileDialog*>(&d);
            EXPECT_NE(f, nullptr) << "expected a file dialog";
            if (!f) return int(QDialog::Rejected);
            f->selectFile(QString::fromStdString(path));
            return int(QDialog::Accepted);
        });
    }
    void cancelNext() {
        dialogs.expect([](QDialog&) { return int(QDialog::Rejected); });
    }

    // The designs as the test sets them up (no recalculation, no notification).
    DesignSet& designs() { return DocumentTestAccess::designs(state.document); }
    CigaretteDesign& current() { return designs().currentDesign; }
    CigaretteDesign& reference() { return designs().referenceDesign; }

    ProgramState state;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWin> window;
};

// A double-click on `w` with `button`, the buttons `held` and the keyboard `modifiers`.
inline void doubleClick(QWidget& w, Qt::MouseButton button, Qt::MouseButtons held,
                        Qt::KeyboardModifiers modifiers) {
    QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(20, 20), w.mapToGlobal(QPointF(20, 20)), button,
                      held, modifiers);
    QApplication::sendEvent(&w, &event);
}

// The about box's gesture that writes the start-up file: a left double-click with Ctrl, Shift and the
// right button held.
inline void saveStartupGesture(QWidget& aboutBox) {
    doubleClick(aboutBox, Qt::LeftButton, Qt::LeftButton | Qt::RightButton,
                Qt::ControlModifier | Qt::ShiftModifier);
}

// The title as the window system shows it: Qt's "[*]" becomes "*" while the designs are modified.
inline std::string shownTitle(const QWidget& window) {
    QString title = window.windowTitle();
    title.replace(QStringLiteral("[*]"), window.isWindowModified() ? QStringLiteral("*") : QString());
    return title.toStdString();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace veltrano::testing
