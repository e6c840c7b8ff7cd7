#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <QDialog>
#include <QMessageBox>

#include <gtest/gtest.h>

#include "ui/dialogs/Dialogs.h"

namespace veltrano::testing {

// Answers modal dialogs from a script. Each step receives the dialog (to look at it, type into it,
// pick a file) and returns its result. A dialog nobody expected fails the test and is rejected, so
// a test can never hang on a modal run.
class ScriptedDialogs : public Dialogs {
public:
    using Step = std::function<int(QDialog&)>;

    void expect(Step step) { steps_.push_back(std::move(step)); }

    // Expects a message box and answers it with its default (OK) button; its text is kept.
    void expectMessage(int button = QMessageBox::Ok) {
        expect([this, button](QDialog& d) {
            auto* box = qobject_cast<QMessageBox*>(&d);
            EXPECT_NE(box, nullptr) << "expected a message box, got " << d.metaObject()->className();
            if (box) messages.push_back(box->text().toStdString());
            return button;
        });
    }

    int exec(QDialog& dialog) override {
        ++runs;
        if (steps_.empty()) {
            auto* box = qobject_cast<QMessageBox*>(&dialog);
            ADD_FAILURE() << "unexpected modal dialog " << dialog.metaObject()->className() << " '"
                          << dialog.windowTitle().toStdString() << "'"
                          << (box ? " text: " + box->text().toStdString() : std::string());
            return QDialog::Rejected;
        }
        Step step = std::move(steps_.front());
        steps_.pop_front();
        return step(dialog);
    }

    void beep(int hz, int ms) override { beeps.push_back({hz, ms}); }

    bool done() const { return steps_.empty(); }

    std::vector<std::string> messages;
    std::vector<std::pair<int, int>> beeps;
    int runs = 0;

private:
    std::deque<Step> steps_;
};

}  // namespace veltrano::testing
