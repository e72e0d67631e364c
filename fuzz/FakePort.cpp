#include "fuzz/FakePort.h"

#include <chrono>
#include <string>

#include "serial/PortSystem.h"

namespace fuzz {
namespace {
TAnswerer g_answerer;
bool g_gone = false;
}  // namespace

void SetAnswerer(TAnswerer answerer) {
    g_answerer = std::move(answerer);
    g_gone = false;
}

}  // namespace fuzz

namespace serial::platform {

SystemError LastError() { return {5, "fake instrument gone"}; }

Handle Open(const char*, SystemError&) {
    fuzz::g_gone = false;
    return 3;
}
void Close(Handle) {}
bool Apply(Handle, const LineSettings&) { return true; }
bool Purge(Handle, bool, bool) { return true; }
bool SetQueueSizes(Handle, std::uint32_t, std::uint32_t) { return true; }
int OutputQueued(Handle) { return 0; }

// Replies arrive only through the answerer, straight into the accumulator;
// the polling path finds nothing (or the hang-up).
ReadStatus ReadWaiting(Handle, std::uint8_t*, std::uint32_t, std::uint32_t& got) {
    got = 0;
    return fuzz::g_gone ? ReadStatus::Failed : ReadStatus::Nothing;
}

long Write(Handle, const std::uint8_t* data, std::uint32_t size) {
    if (fuzz::g_gone) return -1;
    if (fuzz::g_answerer && !fuzz::g_answerer(data, size)) {
        fuzz::g_gone = true;
        return -1;
    }
    return static_cast<long>(size);
}

bool ModemLines(Handle, std::uint32_t& lines) {
    lines = LineCTS | LineDSR;
    return true;
}

std::uint32_t TickCount() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int MaxXonXoffLimit() { return 4096; }
OpenFailureCause OpenFailureCauseOf(int) { return OpenFailureCause::Unknown; }
const char* PortNamePrefix() { return "tty"; }
std::string PortPath(std::string_view text) { return std::string(text); }
const char* DefaultPortName() { return "ttyFAKE0"; }

}  // namespace serial::platform
