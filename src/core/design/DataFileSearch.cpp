#include "core/design/DataFileSearch.h"

#include <algorithm>
#include <system_error>

#include "core/design/FilePath.h"
#include "core/design/PlatformFiles.h"

namespace veltrano {

namespace fs = std::filesystem;

namespace {

constexpr char kDataFolderName[] = "veltrano";

bool isFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

}  // namespace

DataPlaces dataPlacesOfThisProcess(const fs::path& executableFolder) {
    DataPlaces places;
    std::error_code error;
    places.workingFolder = fs::current_path(error);  // empty when the folder is gone
#if defined(_WIN32)
    // Windows keeps a user's own application data in %APPDATA%, the part $XDG_DATA_HOME plays elsewhere.
    places.xdgDataHome = platform::environmentValue("APPDATA");
#else
    places.xdgDataHome = platform::environmentValue("XDG_DATA_HOME");
    places.home = platform::environmentValue("HOME");
#endif
    places.executableFolder = executableFolder;
    return places;
}

std::optional<fs::path> userDataFolder(const DataPlaces& places) {
    const fs::path xdg = pathFromUtf8(places.xdgDataHome);
    if (xdg.is_absolute()) return (xdg / kDataFolderName).lexically_normal();
    const fs::path home = pathFromUtf8(places.home);
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
        list += utf8Path(path);
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
