#include <windows.h>

#include "app/Console.h"

namespace app {

// Fails harmlessly without a console (output into a file or a pipe), where
// the bytes stay UTF-8 as written.
void SetUpConsole() { SetConsoleOutputCP(CP_UTF8); }

// Without a console (input from a file or a pipe) the answer was written by a
// program or script, most likely as UTF-8.
unsigned ConsoleInputCodePage() {
    const UINT codePage = GetConsoleCP();
    return codePage != 0 ? codePage : CP_UTF8;
}

}  // namespace app
