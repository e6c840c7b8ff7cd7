#pragma once

#include <QMessageBox>
#include <QString>

#include "core/design/ErrorMessages.h"

class QWidget;

namespace veltrano {

class Dialogs;

// Runs a message box with one OK button through the dialog seam; `details` (if any) goes under the
// text as its informative text.
int showMessage(Dialogs& dialogs, QWidget* owner, const QString& text, const QString& caption,
                QMessageBox::Icon icon, const QString& details = {});

// Numbered errors as the program shows them: a box captioned "Error" with the warning icon and OK,
// owned by the main window.
class MessageBoxErrorReporter : public ErrorReporter {
public:
    MessageBoxErrorReporter(Dialogs& dialogs, QWidget* owner) : dialogs_(dialogs), owner_(owner) {}
    void report(int number, const std::string& text) override;

private:
    Dialogs& dialogs_;
    QWidget* owner_;
};

}  // namespace veltrano
