#pragma once
// The few calls the serial component needs from the operating system. One
// implementation file per platform is chosen by the build; callers never see
// the platform.
#include <QString>
#include <cstdint>

namespace serial::platform {

using Handle = intptr_t;
inline constexpr Handle kInvalidHandle = -1;

struct LineSettings {
    std::uint32_t baudRate = 9600;
    int byteSize = 8;          // 5..8
    int parity = 0;            // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int stopBits = 0;          // 0 one, 1 one and a half, 2 two
    bool dtrOn = false;
    bool rtsOn = false;
    bool rtsCts = false;
    bool xonXoff = false;
    int xonXoffLimit = 0;
};

// Opens an existing device for exclusive read/write, never as controlling
// terminal. Returns kInvalidHandle on failure.
Handle Open(const QString& path);
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
// Writes what the driver takes within about `waitMs`; returns the count
// written (possibly 0), or -1 when the device failed.
long Write(Handle h, const std::uint8_t* data, std::uint32_t size, int waitMs);

// Modem input lines that are up.
enum LineBit : std::uint32_t { LineCTS = 1, LineDSR = 2, LineRING = 4, LineRLSD = 8 };
bool ModemLines(Handle h, std::uint32_t& lines);

// Millisecond tick; differences are taken modulo 2^32.
std::uint32_t TickCount();

// XON/XOFF limits are capped on this platform above this value.
int MaxXonXoffLimit();

// The path to open for what the user typed or picked in the port list, or an
// empty string when the text does not name a port on this platform.
QString PortPathFromText(const QString& text);
// The port shown when nothing has been stored yet.
QString DefaultPortText();

}  // namespace serial::platform
