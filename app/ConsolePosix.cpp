#include "app/Console.h"

namespace app {

// Terminals here take the locale's encoding, UTF-8 on every current system.
void SetUpConsole() {}

unsigned ConsoleInputCodePage() { return 65001; }

}  // namespace app
