#pragma once

#include <memory>
#include <optional>
#include <string>

#include <QGuiApplication>

#include "CliCommands.h"
#include "design/DesignSet.h"
#include "design/ErrorMessages.h"
#include "design/ModelParameters.h"

namespace veltrano::cli {

// Numbered errors go to stderr as their texts; the numbers are kept for the JSON output.
class StderrErrorReporter : public RecordingErrorReporter {
public:
    void report(int number, const std::string& text) override;
};

// A progress bar on stderr while the puff-by-puff analysis runs, when stderr is a terminal.
class TerminalProgress : public NullProgressSink {
public:
    TerminalProgress();
    void setRange(int max) override { max_ = max; }
    void setPosition(int position) override;
    void hide() override;

private:
    bool terminal_;
    int max_ = 0;
};

// The model parameters from --models, else from models.dat in the working directory; false (after a
// message) when they cannot be read.
bool loadModels(const Arguments& args, ModelParameters& mp);

// Reads the cigarette file named first on the command line as the program's Open does, loads the model
// parameters and recalculates both designs; false (after a message) when a file cannot be read.
bool openAndRecalculate(const Arguments& args, DesignSet& designs, ModelParameters& mp,
                        StderrErrorReporter& errors);

// With --puffs (or `always`), the puff-by-puff analysis of the current design, with a progress bar on a
// terminal. Says whether it ran.
bool analysePuffsIfAsked(const Arguments& args, DesignSet& designs, const ModelParameters& mp,
                         bool always = false);

// Fonts and pictures need a GUI application; without a display the offscreen platform serves. The
// font substitutes of the program are installed.
class HeadlessGui {
public:
    HeadlessGui(int& argc, char** argv);

private:
    std::unique_ptr<QGuiApplication> app_;
};

// The number of a command-line option, read whole ("2", "1.5"); nothing when it is not one.
std::optional<double> optionNumber(const std::string& text);

// "reference", "workingReference" or "current".
CigaretteDesign* designByName(DesignSet& designs, const std::string& name);

}  // namespace veltrano::cli
