#include <windows.h>

#include "app/Console.h"

namespace app {

// Fails harmlessly without a console (output into a file or a pipe), where
// the bytes stay UTF-8 as written.
void SetUpConsole() { SetConsoleOutputCP(CP_UTF8); }

}  // namespace app
