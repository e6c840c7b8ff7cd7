// File access on Windows. Paths arrive as UTF-8 and go to the system as UTF-16 through the wide
// functions; a path too long for the classic limit of 260 characters is made absolute and given the
// \\?\ prefix, which lifts the limit.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <random>
#include <utility>

#include "core/design/PlatformFiles.h"

namespace veltrano::platform {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Names of temporary files tried before giving up; a clash is already unlikely on the first.
constexpr int kTemporaryNameAttempts = 100;

HANDLE systemHandle(File::Handle handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// INVALID_HANDLE_VALUE is -1, the File's kNoHandle.
File fileOf(HANDLE handle) {
    return File(reinterpret_cast<File::Handle>(handle));
}

std::string utf8Of(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int length = static_cast<int>(text.size());
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(bytes, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), bytes, nullptr, nullptr);
    return out;
}

// Nothing for bytes that are not UTF-8 or that hold a zero, which no file name can: such a path names
// no file, rather than some other file.
std::optional<std::wstring> utf16Of(std::string_view utf8) {
    if (utf8.empty()) return std::wstring();
    if (utf8.find('\0') != std::string_view::npos || utf8.size() > INT_MAX) return std::nullopt;
    const int length = static_cast<int>(utf8.size());
    const int units = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (units <= 0) return std::nullopt;
    std::wstring out(static_cast<std::size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, out.data(), units);
    return out;
}

bool startsWith(std::wstring_view text, std::wstring_view lead) {
    return text.substr(0, lead.size()) == lead;
}

// The path as the system takes it. The \\?\ form turns off the system's own clean-up of a path
// (relative parts, forward slashes), so it is given the full path, cleaned up first.
std::optional<std::wstring> systemPath(const std::string& path) {
    std::optional<std::wstring> wide = utf16Of(path);
    if (!wide || wide->empty() || startsWith(*wide, L"\\\\?\\") || startsWith(*wide, L"\\\\.\\")) return wide;
    const DWORD needed = ::GetFullPathNameW(wide->c_str(), 0, nullptr, nullptr);
    if (needed == 0) return wide;
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(wide->c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return wide;
    full.resize(length);
    if (full.size() < MAX_PATH) return wide;
    if (startsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

HANDLE createFile(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    const std::optional<std::wstring> wide = systemPath(path);
    if (!wide) {
        ::SetLastError(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    return ::CreateFileW(wide->c_str(), access, share, nullptr, disposition, flags, nullptr);
}

bool isDiskFile(HANDLE handle) {
    return ::GetFileType(handle) == FILE_TYPE_DISK;
}

// The folder part of a path, with its separator ("" for a bare name, "C:" for a name on a drive's
// current folder), and the name itself.
std::pair<std::string, std::string> splitPath(const std::string& path) {
    std::size_t cut = path.find_last_of("/\\");
    if (cut == std::string::npos && path.size() >= 2 && path[1] == ':') cut = 1;
    if (cut == std::string::npos) return {"", path};
    return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

// The path of an open file with links resolved, in the \\?\ form.
std::optional<std::string> finalPathOf(HANDLE handle) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length = ::GetFinalPathNameByHandleW(
            handle, buffer.data(), static_cast<DWORD>(buffer.size()), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return std::nullopt;
        if (length < buffer.size()) return utf8Of(std::wstring_view(buffer.data(), length));
        buffer.resize(length);  // too small: `length` is what it takes
    }
    return std::nullopt;
}

}  // namespace

std::size_t File::read(std::span<std::uint8_t> out) {
    std::size_t got = 0;
    while (got < out.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(out.size() - got, DWORD{1} << 30));
        DWORD n = 0;
        if (!::ReadFile(systemHandle(handle_), out.data() + got, want, &n, nullptr) || n == 0) break;
        got += n;
    }
    return got;
}

bool File::write(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, DWORD{1} << 30));
        DWORD n = 0;
        if (!::WriteFile(systemHandle(handle_), bytes.data() + done, want, &n, nullptr) || n == 0)
            return false;
        done += n;
    }
    return true;
}

bool File::flushToDisk() {
    const HANDLE handle = systemHandle(handle_);
    return !isDiskFile(handle) || ::FlushFileBuffers(handle) != 0;
}

// Windows keeps one permission in a file's attributes: a file without any write permission is
// read-only.
bool File::setPermissions(std::uint32_t permissions) {
    FILE_BASIC_INFO info{};
    const HANDLE handle = systemHandle(handle_);
    if (!::GetFileInformationByHandleEx(handle, FileBasicInfo, &info, sizeof info)) return false;
    const bool readOnly = (permissions & 0222) == 0;
    info.FileAttributes = readOnly ? info.FileAttributes | FILE_ATTRIBUTE_READONLY
                                   : info.FileAttributes & ~DWORD{FILE_ATTRIBUTE_READONLY};
    if (info.FileAttributes == 0) info.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return ::SetFileInformationByHandle(handle, FileBasicInfo, &info, sizeof info) != 0;
}

bool File::close() {
    if (handle_ == kNoHandle) return true;
    return ::CloseHandle(systemHandle(std::exchange(handle_, kNoHandle))) != 0;
}

std::optional<ReadableFile> openRegularFileForReading(const std::string& path) {
    // Without backup semantics a folder does not open; devices and pipes open at once and are refused.
    File file = fileOf(createFile(path, GENERIC_READ, kShareAll, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!file || !isDiskFile(systemHandle(file.handle()))) return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(systemHandle(file.handle()), &size) || size.QuadPart < 0) return std::nullopt;
    return ReadableFile{std::move(file), static_cast<std::uint64_t>(size.QuadPart)};
}

File openForWriting(const std::string& path, WriteOpen how) {
    if (how == WriteOpen::ExistingUnchanged)
        return fileOf(createFile(path, GENERIC_WRITE, kShareAll, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    // Opened, then cut: a plain create-always would also reset the attributes of an existing file.
    File file = fileOf(createFile(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    if (file && isDiskFile(systemHandle(file.handle())) && !::SetEndOfFile(systemHandle(file.handle())))
        return File();
    return file;
}

SaveTarget inspectSaveTarget(const std::string& path) {
    SaveTarget target;
    target.path = path;
    if (splitPath(path).second.empty()) return target;  // a folder name: only the in-place open decides

    // Asking for no access follows links, opens folders too and meets no sharing violation.
    const File file = fileOf(createFile(path, 0, kShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS));
    if (!file) {
        // Nothing there: a new file is renamed into place. A dangling link is left to the in-place
        // open, which follows it as an ordinary create would.
        const DWORD error = ::GetLastError();
        const std::optional<std::wstring> wide = systemPath(path);
        target.replaceable = (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) && wide &&
                             ::GetFileAttributesW(wide->c_str()) == INVALID_FILE_ATTRIBUTES;
        return target;
    }
    const HANDLE handle = systemHandle(file.handle());
    target.exists = true;
    if (const std::optional<std::string> resolved = finalPathOf(handle)) target.path = *resolved;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) return target;
    target.permissions = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    // A renamed new file would lose a hidden or system file's attributes, and split a file with
    // more names into two: those are written in place.
    const DWORD keptByInPlaceWrite =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
    target.replaceable =
        isDiskFile(handle) && (info.dwFileAttributes & keptByInPlaceWrite) == 0 && info.nNumberOfLinks == 1;
    return target;
}

CreateFailure classifyCreateFailure(int systemError) {
    switch (static_cast<DWORD>(systemError)) {
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        // No such folder: it takes no new file, and the target cannot be opened there either.
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return CreateFailure::FolderRefusesNewFiles;
        default:
            // A sharing violation among them: someone holds the folder or a file, which writing in
            // place would not get round either.
            return CreateFailure::Other;
    }
}

std::variant<TemporaryFile, CreateFailure> createTemporaryFile(const std::string& besidePath) {
    // A short name of its own, so that a target name near the 255-character limit still gets one.
    const std::string folder = splitPath(besidePath).first;
    std::random_device random;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        char name[24];
        std::snprintf(name, sizeof name, ".veltrano-%08x", static_cast<unsigned>(random()));
        std::string path = folder + name;
        // A new file is not shared while it is written; it gets the access the folder passes on.
        File file =
            fileOf(createFile(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL));
        if (file) return TemporaryFile{std::move(file), std::move(path)};
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return classifyCreateFailure(static_cast<int>(error));
    }
    return CreateFailure::Other;
}

std::uint32_t newFilePermissions() {
    return 0666;  // a new file is writable; access beyond that comes from the folder
}

bool replaceFile(const std::string& from, const std::string& to) {
    // Write-through: the call returns once the new name is on the disk.
    const std::optional<std::wstring> source = systemPath(from), target = systemPath(to);
    return source && target &&
           ::MoveFileExW(source->c_str(), target->c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void removeFile(const std::string& path) {
    if (const std::optional<std::wstring> wide = systemPath(path)) ::DeleteFileW(wide->c_str());
}

std::string executablePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    // The path is cut to fit a buffer that is too small; a larger one is tried up to the longest path.
    while (buffer.size() <= 32768) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return utf8Of(std::wstring_view(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

std::string environmentValue(const char* name) {
    // The environment is UTF-16; the narrow copy the C library keeps is in the system's code page.
    const std::optional<std::wstring> wideName = utf16Of(name);
    if (!wideName || wideName->empty()) return {};
    const DWORD needed = ::GetEnvironmentVariableW(wideName->c_str(), nullptr, 0);
    if (needed == 0) return {};
    std::wstring value(needed, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(wideName->c_str(), value.data(), needed);
    if (length == 0 || length >= needed) return {};
    return utf8Of(std::wstring_view(value.data(), length));
}

bool standardErrorIsTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

// Windows has no file size limit that ends a process; a write that fails just fails.
void letFileSizeLimitFailWrites() {}

void useBinaryStandardOutput() {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
}

std::vector<std::string> utf8Arguments(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) arguments.push_back(utf8Of(argv[i]));
    return arguments;
}

}  // namespace veltrano::platform
