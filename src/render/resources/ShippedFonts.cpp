#include "render/resources/ShippedFonts.h"

#ifdef _WIN32
#include <cstdlib>
#include <string>

#include <windows.h>
#endif

namespace veltrano {

void useFontsBesideProgram() {
#ifdef _WIN32
    if (const wchar_t* set = _wgetenv(L"QT_QPA_FONTDIR"); set && *set) return;
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, program.data(), DWORD(program.size()));
        if (length == 0) return;
        if (length < program.size()) {
            program.resize(length);
            break;
        }
        program.resize(program.size() * 2);  // a long path: cut short, try a larger buffer
    }
    const std::wstring folder = program.substr(0, program.find_last_of(L"\\/") + 1) + L"fonts";
    // The wide call: the folder's name may hold characters outside the ANSI code page.
    _wputenv_s(L"QT_QPA_FONTDIR", folder.c_str());
#endif
}

}  // namespace veltrano
