// load-libraries PATH...: loads each Windows library named, with the folder
// of the library first on the search path for its own dependencies, and
// names every one that does not load with the system's reason. Exit status 1
// when any failed. Run by scripts/check-windows on the Windows kit.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

const wchar_t* loading = L"";

// A damaged library may crash the loader itself instead of failing to load:
// named here, where Wine would otherwise start its debugger and wait.
LONG WINAPI LoaderCrashed(EXCEPTION_POINTERS* exception) {
    std::fwprintf(stderr, L"does not load: %ls: the loader crashed on it (exception %08lx)\n",
                  loading, exception->ExceptionRecord->ExceptionCode);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 1);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int failed = 0;
    // No message box for a library that is missing a dependency.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(LoaderCrashed);
    for (int i = 1; i < argc; ++i) {
        loading = argv[i];
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
