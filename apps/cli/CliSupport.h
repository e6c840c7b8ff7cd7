#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "CliCommands.h"
#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"
#include "core/design/ModelParameters.h"
#include "core/document/DesignDocument.h"

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

// The folder of the running executable, empty when the system does not say.
std::filesystem::path executableFolder();

// The model parameters from --models, else from models.dat in the first of the working folder, the
// user's data folder and the installed data that has one; false (after a message naming the paths
// tried) when they cannot be read. Coefficients that are not finite numbers are warned of, as the
// program warns at start-up.
bool loadModels(const Arguments& args, ModelParameters& mp);

// What every command that reads a design file works on: the model coefficients, the document of the
// designs on them, and the numbered errors reported so far.
struct Session {
    ModelParameters mp;
    DesignDocument document{mp};
    StderrErrorReporter errors;
    const DesignSet& designs() const { return document.designs(); }
};

// Loads the model coefficients and opens the cigarette file named first on the command line as the
// program's Open does (which recalculates both designs); false (after a message) when either cannot be
// read.
bool openDocument(const Arguments& args, Session& session);

// With --puffs (or `always`), the puff-by-puff analysis of the current design, with a progress bar on a
// terminal. Says whether it ran.
bool analysePuffsIfAsked(const Arguments& args, DesignDocument& document, bool always = false);

// Reads the cigarette file named first on the command line and the model parameters, and makes the
// working reference from the reference (its errors go to stderr); the current design keeps the file's
// values, the start of every variant. False (after a message) when a file cannot be read.
bool openForExploring(const Arguments& args, DesignSet& designs, ModelParameters& mp,
                      StderrErrorReporter& errors);

// A number given on the command line: the whole text must be a finite decimal number.
std::optional<double> commandLineNumber(const std::string& text);
// A whole number given on the command line, likewise.
std::optional<int> commandLineInteger(const std::string& text);

// "reference", "workingReference" or "current".
CigaretteDesign* designByName(DesignSet& designs, const std::string& name);
const CigaretteDesign* designByName(const DesignSet& designs, const std::string& name);

}  // namespace veltrano::cli
