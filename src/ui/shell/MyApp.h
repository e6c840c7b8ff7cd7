#pragma once

#include <memory>

#include <QStringList>

#include "core/design/DataFileSearch.h"
#include "core/design/ModelParameters.h"
#include "core/design/StartupFile.h"
#include "ui/shell/ProgramState.h"

namespace veltrano {

class Dialogs;
class MainWin;

// The application: owns the program state and the main window, and brings them up in a fixed order.
class MyApp {
public:
    // Exit status of a failed start (either data file missing or unreadable).
    static constexpr int kStartFailed = 1;

    // `places` decide where the data files are looked for (see findDataFile).
    MyApp(Dialogs& dialogs, DataPlaces places);
    ~MyApp();

    // Reads the start-up designs, shows the main window with the results they store (nothing is
    // recalculated), then reads the model coefficients, warning when some are not finite numbers; each
    // file from the first place that has it. Returns 0 when the program may run, kStartFailed otherwise
    // (after telling the user, with the paths that were tried).
    // Once it runs, and after any recovered designs, the first of `files` (named on the command line)
    // opens as Open does; a file that does not open gives its error and the program runs on. Further
    // files are not opened: a message names them.
    int start(const QStringList& files = {});

    MainWin* mainWindow() const { return mainWin_.get(); }
    ProgramState& state() { return state_; }

private:
    void openNamedFiles(const QStringList& files);

    Dialogs& dialogs_;
    DataPlaces places_;
    ProgramState state_;
    std::unique_ptr<MainWin> mainWin_;
};

}  // namespace veltrano
