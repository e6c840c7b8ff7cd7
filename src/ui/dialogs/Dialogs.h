#pragma once

class QDialog;

namespace veltrano {

// Every modal run of the program goes through here: message boxes, file dialogs, the print dialog,
// the design sheet, the estimator, the solver, the information and about boxes, the
// unsaved-changes question. The program runs them; tests script the answers instead.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Runs the dialog modally and returns its result (QDialog::Accepted, a QMessageBox button, ...).
    virtual int exec(QDialog& dialog) = 0;
    // A beep of the given frequency and duration.
    virtual void beep(int hz, int ms) = 0;
};

// The real thing: QDialog::exec and QApplication::beep.
class ModalDialogs : public Dialogs {
public:
    int exec(QDialog& dialog) override;
    void beep(int hz, int ms) override;
};

}  // namespace veltrano
