// libFuzzer target: any bytes as the text of a firmware file.
#include <cstdio>
#include <cstdlib>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const char* broken = fuzz::CheckFirmwareText(data, size)) {
        std::fprintf(stderr, "firmware text: %s\n", broken);
        std::abort();
    }
    return 0;
}
