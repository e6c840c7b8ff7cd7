#include "design/DataFileSearch.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace veltrano {

namespace fs = std::filesystem;

namespace {

constexpr char kDataFolderName[] = "veltrano";

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool isFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

}  // namespace

DataPlaces dataPlacesOfThisProcess(const fs::path& executableFolder) {
    DataPlaces places;
    std::error_code error;
    places.workingFolder = fs::current_path(error);  // empty when the folder is gone
    places.xdgDataHome = environmentValue("XDG_DATA_HOME");
    places.home = environmentValue("HOME");
    places.executableFolder = executableFolder;
    return places;
}

std::optional<fs::path> userDataFolder(const DataPlaces& places) {
    const fs::path xdg(places.xdgDataHome);
    if (xdg.is_absolute()) return (xdg / kDataFolderName).lexically_normal();
    const fs::path home(places.home);
    if (home.is_absolute()) return (home / ".local" / "share" / kDataFolderName).lexically_normal();
    return std::nullopt;
}

std::optional<fs::path> installedDataFolder(const DataPlaces& places) {
    if (places.executableFolder.empty()) return std::nullopt;
    return (places.executableFolder / ".." / "share" / kDataFolderName).lexically_normal();
}

std::vector<fs::path> dataFileCandidates(const std::string& fileName, const DataPlaces& places) {
    std::vector<fs::path> candidates;
    const auto add = [&](const fs::path& path) {
        if (std::find(candidates.begin(), candidates.end(), path) == candidates.end())
            candidates.push_back(path);
    };
    add(places.workingFolder.empty() ? fs::path(fileName)
                                     : (places.workingFolder / fileName).lexically_normal());
    for (const auto& folder : {userDataFolder(places), installedDataFolder(places)})
        if (folder) add(*folder / fileName);
    return candidates;
}

DataFileSearch findDataFile(const std::string& fileName, const DataPlaces& places) {
    DataFileSearch search;
    for (const fs::path& candidate : dataFileCandidates(fileName, places)) {
        search.tried.push_back(candidate);
        if (isFile(candidate)) {
            search.found = candidate;
            break;
        }
    }
    return search;
}

std::string listOfPaths(const std::vector<fs::path>& paths) {
    std::string list;
    for (const fs::path& path : paths) {
        if (!list.empty()) list += '\n';
        list += path.string();
    }
    return list;
}

std::vector<fs::path> startupFileTargets(const fs::path& readFrom,
                                         const std::optional<fs::path>& userFolder) {
    std::vector<fs::path> targets{readFrom};
    if (userFolder) {
        const fs::path inUserFolder = *userFolder / readFrom.filename();
        if (inUserFolder != readFrom) targets.push_back(inUserFolder);
    }
    return targets;
}

}  // namespace veltrano
