#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <QByteArray>
#include <QtGlobal>

#include "app/CommandLine.h"
#include "app/Runtime.h"

namespace app {

void SetUpRuntime() {
#if defined(__MINGW32__)
    // A regular expression matched on a worker thread gives that thread a
    // thread_local stack for Qt's compiled matcher. When such a thread ends,
    // MinGW's runtime frees its thread_local storage before it runs their
    // destructors, so the stack's destructor frees whatever that memory holds
    // by then. It may crash inside the thread library's key lock, and the
    // next process exit then waits on that lock for ever (docs/windows.md).
    // Interpreted patterns never make the object; ours are short.
    qputenv("QT_ENABLE_REGEXP_JIT", QByteArrayLiteral("0"));
#endif
}

QStringList ArgumentsOf(int argc, char** argv) {
    // A file opened from Explorer may lie under C:\Users\Пилот on a system
    // whose ANSI code page has no Cyrillic letters: argv would hold '?' there.
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    QStringList arguments;
    if (wide) {
        for (int i = 0; i < count; ++i) arguments << QString::fromWCharArray(wide[i]);
        LocalFree(wide);
        return arguments;
    }
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

}  // namespace app
