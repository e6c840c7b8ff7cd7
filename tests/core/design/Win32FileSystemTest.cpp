// Saves and reads on what Windows file systems have: UTF-16 names, paths past the classic 260
// characters, file attributes and sharing modes.
#include <windows.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "core/design/ByteStream.h"
#include "core/design/CigaretteFile.h"

namespace veltrano {
namespace {

using testing::fillSet;
using testing::TempFolder;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint64_t kCap = 1 << 20;

std::wstring longForm(const std::filesystem::path& path) {
    return L"\\\\?\\" + path.wstring();
}

std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

Bytes contentOf(const std::string& path) {
    return readFileContent(path, kCap).bytes;
}

// The names in a folder, whatever the length of its path.
std::vector<std::wstring> namesIn(const std::filesystem::path& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((longForm(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

DWORD attributesOf(const std::filesystem::path& path) {
    return ::GetFileAttributesW(longForm(path).c_str());
}

// The file's identity on its volume: a file written in place keeps it, a renamed new file has another.
std::uint64_t fileIndexOf(const std::filesystem::path& path) {
    const HANDLE file = ::CreateFileW(longForm(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    EXPECT_TRUE(::GetFileInformationByHandle(file, &info));
    ::CloseHandle(file);
    return std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
}

DesignSet filledSet(double seed) {
    DesignSet set;
    fillSet(set, seed);
    return set;
}

// Names the system's code page cannot hold go to the system as they are, there and back.
TEST(Win32Files, Utf8NamesReachTheSystemAsTheyAre) {
    TempFolder folder;
    const std::filesystem::path file = folder.path() / u8"Zigarette äöü € 名前 😀.cig";
    const std::string path = utf8Of(file);
    const DesignSet saved = filledSet(0.5);
    RecordingErrorReporter errors;
    ASSERT_EQ(saveCigaretteFile(path, saved, errors), 0);
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
    EXPECT_EQ(contentOf(path), encodeCigaretteFile(saved));
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::wstring>{file.filename().wstring()});
}

// A path past 260 characters is saved, replaced and read like any other.
TEST(Win32Files, LongPathsAreSavedReplacedAndRead) {
    TempFolder folder;
    std::filesystem::path deep = folder.path();
    for (int level = 0; level < 3; ++level) {
        deep /= std::wstring(100, L'a' + level);
        ASSERT_TRUE(::CreateDirectoryW(longForm(deep).c_str(), nullptr)) << ::GetLastError();
    }
    const std::string path = utf8Of(deep / "design.cig");
    ASSERT_GT(path.size(), std::size_t{MAX_PATH});
    RecordingErrorReporter errors;
    for (const double seed : {0.1, 0.2}) {
        const DesignSet saved = filledSet(seed);
        ASSERT_EQ(saveCigaretteFile(path, saved, errors), 0) << seed;
        EXPECT_EQ(contentOf(path), encodeCigaretteFile(saved)) << seed;
        EXPECT_EQ(namesIn(deep), std::vector<std::wstring>{L"design.cig"}) << "a temporary file was left";
    }
    DesignSet opened;
    EXPECT_EQ(readCigaretteFile(path, opened, errors), 0);
    EXPECT_TRUE(errors.numbers.empty());

    ::DeleteFileW(longForm(deep / "design.cig").c_str());
    for (; deep != folder.path(); deep = deep.parent_path()) ::RemoveDirectoryW(longForm(deep).c_str());
}

TEST(Win32Files, ReadOnlyFileGives52AndStaysAsItIs) {
    TempFolder folder;
    const std::filesystem::path file = folder.path() / "design.cig";
    testing::writeBytes(file.string(), testing::kOld);
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    const HANDLE writable =
        ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (writable != INVALID_HANDLE_VALUE) {
        ::CloseHandle(writable);
        ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        GTEST_SKIP()
            << "the attribute does not stop this user (Wine run as root): the refusal cannot be provoked";
    }
    RecordingErrorReporter errors;
    EXPECT_EQ(saveCigaretteFile(file.string(), DesignSet(), errors), 52);
    EXPECT_EQ(errors.numbers, std::vector<int>{52});
    EXPECT_EQ(contentOf(file.string()), testing::kOld);
    EXPECT_TRUE(attributesOf(file) & FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A renamed new file would lose the attribute: a hidden file is written in place and stays hidden.
TEST(Win32Files, HiddenFileIsWrittenInPlaceAndStaysHidden) {
    TempFolder folder;
    const std::filesystem::path file = folder.path() / "design.cig";
    testing::writeBytes(file.string(), testing::kOld);
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(attributesOf(file) & FILE_ATTRIBUTE_HIDDEN) << "the file system keeps no attributes";
    const std::uint64_t before = fileIndexOf(file);

    EXPECT_TRUE(testing::save(file.string()).complete());
    EXPECT_EQ(contentOf(file.string()), testing::kBoth);
    EXPECT_TRUE(attributesOf(file) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(fileIndexOf(file), before);
}

// A symbolic link stays a link, and the file it points to is replaced.
TEST(Win32Files, SymbolicLinkStaysALinkAndItsFileIsReplaced) {
    TempFolder here, there;
    const std::filesystem::path real = there.path() / "real.cig", link = here.path() / "link.cig";
    testing::writeBytes(real.string(), testing::kOld);
    // Without developer mode or the right, no link is made; Wine says it made one and makes none.
    const bool made = ::CreateSymbolicLinkW(link.c_str(), real.c_str(), 0);
    const DWORD attributes = attributesOf(link);
    if (!made || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        GTEST_SKIP() << "no symbolic link could be made here";

    EXPECT_TRUE(testing::save(link.string()).complete());
    EXPECT_TRUE(attributesOf(link) & FILE_ATTRIBUTE_REPARSE_POINT) << "the link was replaced by a file";
    EXPECT_EQ(contentOf(real.string()), testing::kBoth);
    EXPECT_EQ(here.names(), std::vector<std::string>{"link.cig"});
    EXPECT_EQ(there.names(), std::vector<std::string>{"real.cig"});
}

// A file that another program holds is never cut and rewritten in its place: without write sharing
// the save cannot open it (052), without delete sharing the new file cannot take its place (053).
// Either way the old bytes stay and no temporary file is left.
TEST(Win32Files, HeldFileIsNeitherReplacedNorCut) {
    const struct {
        const char* what;
        DWORD share;
        std::vector<int> errors;
    } cases[] = {
        {"shared for reading", FILE_SHARE_READ, {52}},
        {"shared for reading and writing", FILE_SHARE_READ | FILE_SHARE_WRITE, {53}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::filesystem::path file = folder.path() / "design.cig";
        testing::writeBytes(file.string(), testing::kOld);
        const HANDLE held = ::CreateFileW(file.c_str(), GENERIC_READ, c.share, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        RecordingErrorReporter errors;
        EXPECT_EQ(saveCigaretteFile(file.string(), filledSet(0.7), errors), c.errors.front());
        EXPECT_EQ(errors.numbers, c.errors);
        ::CloseHandle(held);
        EXPECT_EQ(contentOf(file.string()), testing::kOld);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"design.cig"});
    }
}

}  // namespace
}  // namespace veltrano
