#pragma once

#include <filesystem>
#include <string>

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

// The folder of the running executable (from /proc/self/exe), empty when the system does not say.
std::filesystem::path executableFolder();

// The model parameters from --models, else from models.dat in the first of the working folder, the
// user's data folder and the installed data that has one; false (after a message naming the paths
// tried) when they cannot be read.
bool loadModels(const Arguments& args, ModelParameters& mp);

// Reads the cigarette file named first on the command line as the program's Open does, loads the model
// parameters and recalculates both designs; false (after a message) when a file cannot be read.
bool openAndRecalculate(const Arguments& args, DesignSet& designs, ModelParameters& mp,
                        StderrErrorReporter& errors);

// "reference", "workingReference" or "current".
CigaretteDesign* designByName(DesignSet& designs, const std::string& name);

}  // namespace veltrano::cli
