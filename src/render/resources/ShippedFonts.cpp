#include "render/resources/ShippedFonts.h"

#ifdef _WIN32
#include <cstdlib>
#include <string>

#include <QDir>
#include <QFontDatabase>
#include <QString>

#include <windows.h>
#endif

namespace veltrano {

#ifdef _WIN32
namespace {

// fonts\ in the program's folder; empty when the program's own path cannot be had.
std::wstring fontsBesideProgram() {
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, program.data(), DWORD(program.size()));
        if (length == 0) return {};
        if (length < program.size()) {
            program.resize(length);
            break;
        }
        program.resize(program.size() * 2);  // a long path: cut short, try a larger buffer
    }
    return program.substr(0, program.find_last_of(L"\\/") + 1) + L"fonts";
}

}  // namespace
#endif

void useFontsBesideProgram() {
#ifdef _WIN32
    if (const wchar_t* set = _wgetenv(L"QT_QPA_FONTDIR"); set && *set) return;
    const std::wstring folder = fontsBesideProgram();
    // The wide call: the folder's name may hold characters outside the ANSI code page.
    if (!folder.empty()) _wputenv_s(L"QT_QPA_FONTDIR", folder.c_str());
#endif
}

void addFontsBesideProgram() {
#ifdef _WIN32
    const std::wstring path = fontsBesideProgram();
    if (path.empty()) return;
    const QDir folder(QString::fromStdWString(path));
    for (const QString& file : folder.entryList({QStringLiteral("*.ttf")}, QDir::Files))
        QFontDatabase::addApplicationFont(folder.filePath(file));
#endif
}

}  // namespace veltrano
