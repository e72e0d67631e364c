#include "app/CommandLine.h"
#include "app/Runtime.h"

namespace app {

// Nothing to set: the C++ runtime here ends a thread's thread_local objects
// before it frees their storage.
void SetUpRuntime() {}

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

}  // namespace app
