#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "core/design/DataFileSearch.h"
#include "core/design/StartupFile.h"

namespace veltrano::testing {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<fs::path>;

// An absolute POSIX path as an absolute path of this system (on a drive on Windows); others as they are.
std::string absolute(const std::string& posixPath) {
#if defined(_WIN32)
    if (!posixPath.empty() && posixPath.front() == '/') return "C:" + posixPath;
#endif
    return posixPath;
}

TEST(DataFileSearch, UserDataFolderFollowsTheBaseDirectoryRules) {
    const struct {
        const char* xdgDataHome;
        const char* home;
        std::optional<const char*> expected;
    } cases[] = {
        {"/x/data", "/home/u", "/x/data/veltrano"},
        {"/x/data/", "/home/u", "/x/data/veltrano"},
        {"", "/home/u", "/home/u/.local/share/veltrano"},
        {"relative/data", "/home/u", "/home/u/.local/share/veltrano"},  // ignored, as the rules ask
        {"", "", std::nullopt},
        {"", "not/absolute", std::nullopt},
    };
    for (const auto& c : cases) {
        const DataPlaces places{absolute("/work"), absolute(c.xdgDataHome), absolute(c.home), {}};
        const std::optional<fs::path> expected =
            c.expected ? std::optional<fs::path>(absolute(*c.expected)) : std::nullopt;
        EXPECT_EQ(userDataFolder(places), expected) << c.xdgDataHome << " | " << c.home;
    }
}

TEST(DataFileSearch, CandidatesInOrderWorkingFolderUserFolderInstalledData) {
    const DataPlaces everything{absolute("/work/run"), absolute("/x/data"), absolute("/home/u"),
                                absolute("/opt/veltrano/bin")};
    EXPECT_EQ(dataFileCandidates("models.dat", everything),
              (Paths{absolute("/work/run/models.dat"), absolute("/x/data/veltrano/models.dat"),
                     absolute("/opt/veltrano/share/veltrano/models.dat")}));

    // Unknown executable folder: no installed data. Unknown working folder: the bare name.
    const DataPlaces bare{{}, "", absolute("/home/u"), {}};
    EXPECT_EQ(dataFileCandidates("models.dat", bare),
              (Paths{"models.dat", absolute("/home/u/.local/share/veltrano/models.dat")}));

    // Started from inside the user's data folder: that place is tried once.
    const DataPlaces inside{absolute("/home/u/.local/share/veltrano"), "", absolute("/home/u"),
                            absolute("/usr/bin")};
    EXPECT_EQ(dataFileCandidates("models.dat", inside),
              (Paths{absolute("/home/u/.local/share/veltrano/models.dat"),
                     absolute("/usr/share/veltrano/models.dat")}));
}

// A working folder, a user data home and an installation prefix in one temp folder.
class DataFileLookup : public ::testing::Test {
protected:
    fs::path folder(const std::string& name) {
        fs::create_directories(root_.path() / name);
        return root_.path() / name;
    }
    void touch(const fs::path& path) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "x";
    }
    DataPlaces places() {
        return {folder("work"), (root_.path() / "xdg").string(), "/nowhere", folder("prefix/bin")};
    }

    TempFolder root_;
};

TEST_F(DataFileLookup, FirstPlaceThatHasTheFileWins) {
    const DataPlaces p = places();
    const fs::path inWork = p.workingFolder / "models.dat",
                   inUser = root_.path() / "xdg" / "veltrano" / "models.dat",
                   installed = root_.path() / "prefix" / "share" / "veltrano" / "models.dat";

    DataFileSearch none = findDataFile("models.dat", p);
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.tried, (Paths{inWork, inUser, installed}));
    EXPECT_EQ(listOfPaths(none.tried), inWork.string() + "\n" + inUser.string() + "\n" + installed.string());

    touch(installed);
    EXPECT_EQ(findDataFile("models.dat", p).found, installed);
    touch(inUser);
    EXPECT_EQ(findDataFile("models.dat", p).found, inUser);
    fs::create_directories(inWork);  // a folder of that name is no file
    EXPECT_EQ(findDataFile("models.dat", p).found, inUser);
    fs::remove(inWork);
    touch(inWork);
    const DataFileSearch first = findDataFile("models.dat", p);
    EXPECT_EQ(first.found, inWork);
    EXPECT_EQ(first.tried, Paths{inWork});
}

TEST_F(DataFileLookup, StartupFileGoesBackWhereItCameFromElseIntoTheUserFolder) {
    const DataPlaces p = places();
    const fs::path installed = root_.path() / "prefix/share/veltrano" / kStartupDesignFileName;
    const fs::path inUser = *userDataFolder(p) / kStartupDesignFileName;
    EXPECT_EQ(startupFileTargets(installed, userDataFolder(p)), (Paths{installed, inUser}));
    EXPECT_EQ(startupFileTargets(inUser, userDataFolder(p)), Paths{inUser});
    EXPECT_EQ(startupFileTargets(installed, std::nullopt), Paths{installed});

    DesignSet designs;
    designs.currentDesign.stat_pdo = 77.5;
    // The installed place takes no file (a folder stands there): the user's folder is made and used.
    fs::create_directories(installed);
    EXPECT_EQ(saveStartupDesignsToFirst(startupFileTargets(installed, userDataFolder(p)), designs), inUser);
    DesignSet reread;
    ASSERT_EQ(loadStartupDesigns(inUser.string(), reread), 0);
    EXPECT_EQ(reread.currentDesign.stat_pdo, 77.5);
    EXPECT_EQ(findDataFile(kStartupDesignFileName, p).found, inUser);  // the next start prefers it

    EXPECT_EQ(saveStartupDesignsToFirst({installed}, designs), std::nullopt);
}

}  // namespace
}  // namespace veltrano::testing
