// libFuzzer target: any bytes as a configuration file, then its blocks.
#include <cstdio>
#include <cstdlib>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const char* broken = fuzz::CheckConfigFile(data, size)) {
        std::fprintf(stderr, "configuration file: %s\n", broken);
        std::abort();
    }
    return 0;
}
