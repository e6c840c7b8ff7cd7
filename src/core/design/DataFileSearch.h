#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace veltrano {

// What decides where the program's data files (the start-up designs, the model coefficients) are
// looked for. The apps fill it from the process; tests make up their own.
struct DataPlaces {
    std::filesystem::path workingFolder;     // empty: names are tried relative to the working folder
    std::string xdgDataHome;                 // $XDG_DATA_HOME (%APPDATA% on Windows), UTF-8; empty when unset
    std::string home;                        // $HOME (none on Windows), UTF-8; empty when unset
    std::filesystem::path executableFolder;  // empty when unknown: no installed data then
};

// The places of the running process: its working folder and its environment, with the executable's
// folder as the caller found it. The only place that reads the environment.
DataPlaces dataPlacesOfThisProcess(const std::filesystem::path& executableFolder);

// The user's own data folder: $XDG_DATA_HOME/veltrano, else ~/.local/share/veltrano (on Windows
// %APPDATA%\veltrano). A relative $XDG_DATA_HOME is ignored, as the base directory rules ask; none
// without an absolute home.
std::optional<std::filesystem::path> userDataFolder(const DataPlaces& places);

// The installed data, share/veltrano beside the executable's bin folder, so any prefix works.
std::optional<std::filesystem::path> installedDataFolder(const DataPlaces& places);

// Where a data file may lie, in the order it is looked for: the working folder first (so set-ups
// that keep their files there go on working), then the user's data folder, then the installed data.
// A place that comes up twice is tried once.
std::vector<std::filesystem::path> dataFileCandidates(const std::string& fileName, const DataPlaces& places);

// The first candidate that is a file (the one to read, even if it then turns out unreadable), and the
// candidates looked at up to it, or all of them when none is there.
struct DataFileSearch {
    std::optional<std::filesystem::path> found;
    std::vector<std::filesystem::path> tried;
};
DataFileSearch findDataFile(const std::string& fileName, const DataPlaces& places);

// The paths one per line, for a message that says where a file was looked for.
std::string listOfPaths(const std::vector<std::filesystem::path>& paths);

// Where the about box writes the start-up file, in the order to try: in place of the file that was
// read, then in the user's data folder (which the next start looks at before the installed data).
std::vector<std::filesystem::path> startupFileTargets(const std::filesystem::path& readFrom,
                                                      const std::optional<std::filesystem::path>& userFolder);

}  // namespace veltrano
