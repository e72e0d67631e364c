#include "app/Console.h"

namespace app {

// Terminals here take the locale's encoding, UTF-8 on every current system.
void SetUpConsole() {}

}  // namespace app
