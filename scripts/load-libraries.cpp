// load-libraries PATH...: loads each Windows library named, with the folder
// of the library first on the search path for its own dependencies, and
// names every one that does not load with the system's reason. Exit status 1
// when any failed. Run by scripts/check-windows on the Windows kit.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    int failed = 0;
    // No message box for a library that is missing a dependency.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    for (int i = 1; i < argc; ++i) {
        HMODULE module = LoadLibraryExW(argv[i], nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (module) {
            FreeLibrary(module);
            continue;
        }
        const DWORD error = GetLastError();
        wchar_t reason[512] = {};
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, reason, 511, nullptr);
        std::fwprintf(stderr, L"does not load: %ls: error %lu: %ls\n", argv[i], error, reason);
        ++failed;
    }
    std::fwprintf(stdout, L"%d of %d libraries load\n", argc - 1 - failed, argc - 1);
    return failed ? 1 : 0;
}
