#include "app/Runtime.h"

namespace app {

// Nothing to set: the C++ runtime here ends a thread's thread_local objects
// before it frees their storage.
void SetUpRuntime() {}

}  // namespace app
