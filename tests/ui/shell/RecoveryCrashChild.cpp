// A session that changes the designs and is then killed, as a crash or a power cut would end it: what the
// recovery test finds afterwards. Writes the designs it had to argv[1] first (for comparison); argv[2] is
// the model parameter file, argv[3] the recovery folder.
#include <csignal>
#ifdef _WIN32
#include <windows.h>
#endif

#include <QApplication>

#include "core/design/CigaretteFile.h"
#include "tests/support/DocumentTestAccess.h"
#include "tests/support/ScriptedDialogs.h"
#include "ui/shell/MainWin.h"
#include "ui/shell/ProgramState.h"
#include "ui/shell/Recovery.h"
#include "ui/shell/UndoableDocument.h"

int main(int argc, char** argv) {
    using namespace veltrano;
    if (argc != 4) return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ProgramState state;
    if (loadModelParameters(argv[2], state.modelParameters) != 0) return 2;
    veltrano::testing::ScriptedDialogs dialogs;
    MainWin window(state.document, dialogs);
    auto* writer = new RecoveryWriter(window.undoableDocument(),
                                      std::make_unique<RecoveryStore>(QString::fromLocal8Bit(argv[3])), 0);
    window.attachRecovery(writer);

    DocumentTestAccess::designs(state.document).referenceDesign.alt_interval = 31;
    window.runCommand(kCmdCopyToCurrent);
    writer->saveNow();
    RecordingErrorReporter errors;
    if (saveCigaretteFile(argv[1], state.document.designs(), errors) != 0) return 2;
#ifdef _WIN32
    // Ended from outside, without a chance to clean up; Qt's QProcess::kill uses this exit code too, and
    // QProcess reports it as a crash.
    TerminateProcess(GetCurrentProcess(), 0xf291);
#else
    std::raise(SIGKILL);
#endif
    return 1;
}
