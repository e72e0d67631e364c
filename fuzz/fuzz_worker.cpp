// libFuzzer target: any bytes as the instrument's replies to the real worker.
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

#include "fuzz/WorkerChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_worker";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    if (const char* broken = fuzz::CheckWorkerReplies(data, size)) {
        std::fprintf(stderr, "worker replies: %s\n", broken);
        std::abort();
    }
    return 0;
}
