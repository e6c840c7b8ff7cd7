#pragma once

#include <memory>

#include "shell/ProgramState.h"

namespace veltrano {

class Dialogs;
class MainWin;

inline constexpr char kStartupDesignFileName[] = "Startup_cigarette.dat";
inline constexpr char kModelParameterFileName[] = "models.dat";

// The application: owns the program state and the main window, and brings them up in a fixed order.
class MyApp {
public:
    // Exit status of a failed start (either data file missing or unreadable).
    static constexpr int kStartFailed = 1;

    explicit MyApp(Dialogs& dialogs);
    ~MyApp();

    // Reads the start-up designs from the working directory, shows the main window with the results
    // they store (nothing is recalculated), then reads the model coefficients, warning when some are
    // not finite numbers. Returns 0 when the program may run, kStartFailed otherwise (after telling
    // the user).
    int start();

    MainWin* mainWindow() const { return mainWin_.get(); }
    ProgramState& state() { return state_; }

private:
    Dialogs& dialogs_;
    ProgramState state_;
    std::unique_ptr<MainWin> mainWin_;
};

}  // namespace veltrano
