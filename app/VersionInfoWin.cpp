// The program's version information on Windows: read back from the running
// executable's resources (app/TolmarikProg.rc.in), so the box shows what the
// file carries. The wide-character calls keep a path with Cyrillic folder
// names readable.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "app/AboutUnit.h"

namespace app {

namespace {
std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// One string of the table; empty unless the query reports more than the
// terminator.
QString Value(const std::vector<char>& block, const std::wstring& table, const wchar_t* key) {
    const std::wstring query = L"\\StringFileInfo\\" + table + L"\\" + key;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length <= 1) return {};
    const auto* text = static_cast<const wchar_t*>(value);
    return QString::fromWCharArray(text, static_cast<qsizetype>(wcsnlen(text, length)));
}
}  // namespace

TVersionInfo ProgramVersionInfo() {
    const std::wstring path = ExecutablePath();
    DWORD ignored = 0;
    const DWORD size = path.empty() ? 0 : GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};

    void* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translation, &length) ||
        length < sizeof(DWORD))
        return {};
    DWORD first = 0;
    std::memcpy(&first, translation, sizeof first);
    // Language in the low word, code page in the high word: 041904E3.
    wchar_t table[9] = {};
    std::swprintf(table, 9, L"%04X%04X", LOWORD(first), HIWORD(first));

    return {Value(block, table, L"ProductName"), Value(block, table, L"FileVersion"),
            Value(block, table, L"CompanyName"), Value(block, table, L"Author")};
}

}  // namespace app
