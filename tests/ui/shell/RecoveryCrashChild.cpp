// A session that changes the designs and is then killed, as a crash or a power cut would end it: what the
// recovery test finds afterwards. Writes the designs it had to argv[1] first (for comparison).
#include <csignal>

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
    if (argc != 3) return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ProgramState state;
    if (loadModelParameters(argv[2], state.modelParameters) != 0) return 2;
    veltrano::testing::ScriptedDialogs dialogs;
    MainWin window(state.document, dialogs);
    auto* writer = new RecoveryWriter(window.undoableDocument(),
                                      std::make_unique<RecoveryStore>(recoveryFolderPath()), 0);
    window.attachRecovery(writer);

    DocumentTestAccess::designs(state.document).referenceDesign.alt_interval = 31;
    window.runCommand(kCmdCopyToCurrent);
    writer->saveNow();
    RecordingErrorReporter errors;
    if (saveCigaretteFile(argv[1], state.document.designs(), errors) != 0) return 2;
    std::raise(SIGKILL);
    return 1;
}
