#include <filesystem>
#include <fstream>

#include <QMimeDatabase>

#include <gtest/gtest.h>

#include "core/design/CigaretteFile.h"
#include "core/design/ErrorMessages.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

constexpr char kCigaretteType[] = "application/x-veltrano-cigarette";

// The MIME type as installed: desktops find cigarette files by their name and, without one, by the
// record magic their first bytes hold.
TEST(InstalledMimeType, CigaretteFilesByNameAndByTheirFirstBytes) {
    // Only the installed tree and the system's own types; read before the first lookup.
    qputenv("XDG_DATA_DIRS", VELTRANO_INSTALL_ROOT "/usr/share:/usr/share");
    const QMimeDatabase types;
    EXPECT_EQ(types.mimeTypeForFile("design.cig", QMimeDatabase::MatchExtension).name(), kCigaretteType);

    const veltrano::testing::TempFolder temp("veltrano-mime-");
    const fs::path& folder = temp.path();
    veltrano::DesignSet designs;
    veltrano::RecordingErrorReporter errors;
    ASSERT_EQ(veltrano::saveCigaretteFile((folder / "no-extension").string(), designs, errors), 0);
    EXPECT_EQ(types
                  .mimeTypeForFile(QString::fromStdString((folder / "no-extension").string()),
                                   QMimeDatabase::MatchContent)
                  .name(),
              kCigaretteType);
    std::ofstream(folder / "other", std::ios::binary) << "QMY plain text, not a design";
    EXPECT_NE(
        types
            .mimeTypeForFile(QString::fromStdString((folder / "other").string()), QMimeDatabase::MatchContent)
            .name(),
        kCigaretteType);
}

}  // namespace
