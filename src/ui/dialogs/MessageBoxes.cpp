#include "ui/dialogs/MessageBoxes.h"

#include "ui/dialogs/Dialogs.h"

namespace veltrano {

int showMessage(Dialogs& dialogs, QWidget* owner, const QString& text, const QString& caption,
                QMessageBox::Icon icon, const QString& details) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
    box.setInformativeText(details);
    return dialogs.exec(box);
}

void MessageBoxErrorReporter::report(int, const std::string& text) {
    showMessage(dialogs_, owner_, QString::fromStdString(text), QStringLiteral("Error"),
                QMessageBox::Warning);
}

}  // namespace veltrano
