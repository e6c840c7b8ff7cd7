#include <clocale>
#include <string_view>

#include <QApplication>
#include <QCommandLineParser>

#include "core/design/FilePath.h"
#include "core/design/PlatformFiles.h"
#include "core/design/ProgramName.h"
#include "render/resources/ShippedFonts.h"
#include "render/views/ViewResources.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/FilePaths.h"
#include "ui/shell/CommandLineFiles.h"
#include "ui/shell/MyApp.h"
#include "ui/shell/SystemFont.h"

namespace {

// The names the settings go by (~/.config/korbinel/veltrano.conf) and the version --version prints.
void nameApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("korbinel"));
    QCoreApplication::setApplicationName(QStringLiteral("veltrano"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(
        veltrano::kProgramVersion.data(), static_cast<qsizetype>(veltrano::kProgramVersion.size())));
}

void describeCommandLine(QCommandLineParser& commandLine) {
    commandLine.setApplicationDescription(QStringLiteral("Design tool for filter cigarettes."));
    commandLine.addHelpOption();
    commandLine.addVersionOption();
    commandLine.addPositionalArgument(QStringLiteral("file"),
                                      QStringLiteral("A cigarette file (*.cig) to open after start-up."),
                                      QStringLiteral("[FILE]"));
}

#ifndef Q_OS_WIN
// Whether the command line asks only for the help or the version text.
bool asksForTextOnly(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") break;
        for (const std::string_view option : {"-h", "-?", "--help", "-v", "--version"})
            if (argument == option) return true;
    }
    return false;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    veltrano::platform::letFileSizeLimitFailWrites();
#ifndef Q_OS_WIN
    // --help and --version answer in the terminal also where no display can be opened (over ssh, in a
    // script), so they are taken before the window system is. On Windows a program without a console
    // shows them in a message box, which needs the window system.
    if (asksForTextOnly(argc, argv)) {
        QCoreApplication textOnly(argc, argv);
        nameApplication();
        QCommandLineParser commandLine;
        describeCommandLine(commandLine);
        // Only the text counts: what else the line holds is not looked at, Qt's own options such as
        // "-platform offscreen" included, which an application without the window system does not take.
        commandLine.parse(textOnly.arguments());
        if (commandLine.isSet(QStringLiteral("version"))) commandLine.showVersion();
        commandLine.showHelp();  // both print their text and end the program
    }
#endif
    QApplication app(argc, argv);
    // The desktop entry it is installed with, so the desktop shows its icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral(VELTRANO_APP_ID));
    // Qt took the user's locale; numbers are formatted and read by our own locale-free code, and
    // anything else that formats a number must not write decimal commas either.
    std::setlocale(LC_NUMERIC, "C");
    veltrano::installFontSubstitutes();
    veltrano::addFontsBesideProgram();
    veltrano::standInForMissingSystemFont();

    nameApplication();

    QCommandLineParser commandLine;
    describeCommandLine(commandLine);
    commandLine.process(app);  // --help, --version and unknown options end the program here

    veltrano::ModalDialogs dialogs;
    // The data files are looked for in the working folder, the user's data folder and the installed
    // data beside the executable.
    const std::filesystem::path executableFolder =
        veltrano::pathFromUtf8(veltrano::toFilePath(QCoreApplication::applicationDirPath()));
    veltrano::MyApp myApp(dialogs, veltrano::dataPlacesOfThisProcess(executableFolder));
    // Qt has taken its own options out of argv; the file names keep the bytes the system gave them.
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i) arguments << QByteArray(argv[i]);
    const QList<QByteArray> files = veltrano::namedFileBytes(commandLine.positionalArguments(), arguments);
    if (const int failed = myApp.start(files)) return failed;
    return app.exec();
}
