#pragma once
// The operating-system calls the serial component needs. One implementation
// file per platform is chosen by the build. This header is free of Qt so that
// a platform's file can be built and tried on its own (the Windows file runs
// under Wine that way); serial/PortPlatform.h adds the Qt face callers use.
#include <cstdint>
#include <string>
#include <string_view>

namespace serial::platform {

using Handle = std::intptr_t;
inline constexpr Handle kInvalidHandle = -1;

struct LineSettings {
    std::uint32_t baudRate = 9600;
    int byteSize = 8;  // 5..8
    int parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int stopBits = 0;  // 0 one, 1 one and a half, 2 two
    bool dtrOn = false;
    bool rtsOn = false;
    bool rtsCts = false;
    bool xonXoff = false;
    int xonXoffLimit = 0;
};

// Why a call failed, as the system tells it: errno or GetLastError, and the
// system's own text for it in the user's language (UTF-8).
struct SystemError {
    int code = 0;
    std::string text;
};

// The system's reason for the failure of the call just made on this thread.
SystemError LastError();

// What a failed open's system code means for the user.
enum class OpenFailureCause {
    Unknown,
    NoPermission,  // the user may not open the device
    Busy,          // another program holds the port
    Gone,          // no such device (unplugged, or a stale name)
    NotAPort,      // the path names something that is no serial port
};
OpenFailureCause OpenFailureCauseOf(int systemCode);

// Opens an existing device for exclusive read/write, never as controlling
// terminal. Returns kInvalidHandle on failure, with the reason in `error`.
Handle Open(const char* path, SystemError& error);
void Close(Handle h);
bool Apply(Handle h, const LineSettings& s);
// Discards both queues as selected; pending transfers are dropped.
bool Purge(Handle h, bool input, bool output);
bool SetQueueSizes(Handle h, std::uint32_t in, std::uint32_t out);
// Bytes waiting in the driver's output queue; -1 on failure.
int OutputQueued(Handle h);

enum class ReadStatus { Ok, Nothing, Failed };
// Reads what is waiting, never blocks. A device that has gone away (hang-up)
// reports Failed, never Nothing, so callers cannot spin on it.
ReadStatus ReadWaiting(Handle h, std::uint8_t* buf, std::uint32_t capacity, std::uint32_t& got);

// A write returns within about this time with the count the driver took.
inline constexpr int kWriteWaitMs = 10;
// The count written (possibly 0), or -1 when the device failed.
long Write(Handle h, const std::uint8_t* data, std::uint32_t size);

// Modem input lines that are up.
enum LineBit : std::uint32_t { LineCTS = 1, LineDSR = 2, LineRING = 4, LineRLSD = 8 };
bool ModemLines(Handle h, std::uint32_t& lines);

// Millisecond tick; differences are taken modulo 2^32.
std::uint32_t TickCount();

// XON/XOFF limits are capped on this platform above this value.
int MaxXonXoffLimit();

// How the names of serial ports begin on this platform ("COM", "tty").
const char* PortNamePrefix();
// The path to open for what the user typed or picked in the port list, or an
// empty string when the text does not name a port on this platform.
std::string PortPath(std::string_view text);
// The port shown when nothing has been stored yet.
const char* DefaultPortName();

}  // namespace serial::platform
