#include "ui/dialogs/Dialogs.h"

#include <QApplication>
#include <QDialog>

namespace veltrano {

int ModalDialogs::exec(QDialog& dialog) {
    return dialog.exec();
}

void ModalDialogs::beep(int, int) {
    QApplication::beep();
}

}  // namespace veltrano
