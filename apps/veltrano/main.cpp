#include <clocale>

#include <QApplication>

#include "dialogs/Dialogs.h"
#include "shell/MyApp.h"
#include "views/ViewResources.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Qt took the user's locale; numbers are formatted and read by our own locale-free code, and
    // anything else that formats a number must not write decimal commas either.
    std::setlocale(LC_NUMERIC, "C");
    veltrano::installFontSubstitutes();

    veltrano::ModalDialogs dialogs;
    veltrano::MyApp myApp(dialogs);
    if (const int failed = myApp.start()) return failed;
    return app.exec();
}
