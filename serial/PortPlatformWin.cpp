// Windows communications implementation of the port calls.
#include "serial/PortPlatformWin.h"

#include <algorithm>

namespace serial::platform {

namespace {
// Read time-outs that make ReadFile return at once with what is waiting.
constexpr DWORD kReadIntervalMs = 1;
constexpr DWORD kReadTotalConstantMs = 1;
// Every Windows that runs this program is of the NT family, version 4 or
// later, where the driver takes XON/XOFF limits only up to this value.
constexpr int kXonXoffCap = 4096;
constexpr char kXon = 0x11;
constexpr char kXoff = 0x13;

HANDLE Native(Handle h) { return reinterpret_cast<HANDLE>(h); }

std::string Utf8(const wchar_t* text, int length) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

// The system's message in the user's language, without its line end.
std::string ErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0 && buffer != nullptr) text = Utf8(buffer, static_cast<int>(length));
    if (buffer != nullptr) LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    if (text.empty()) text = "error " + std::to_string(code);
    return text;
}

bool Counts(Handle h, COMSTAT& status) {
    DWORD errors = 0;
    status = {};
    return ClearCommError(Native(h), &errors, &status) != FALSE;
}
}  // namespace

SystemError LastError() {
    const DWORD code = GetLastError();
    return {static_cast<int>(code), ErrorText(code)};
}

Handle Open(const char* path, SystemError& error) {
    error = {};
    HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = LastError();
        return kInvalidHandle;
    }
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kReadIntervalMs;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = kReadTotalConstantMs;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = kWriteWaitMs;
    SetCommTimeouts(h, &timeouts);  // a port without time-outs still works, only slower to return
    return reinterpret_cast<Handle>(h);
}

void Close(Handle h) {
    if (h != kInvalidHandle) CloseHandle(Native(h));
}

DCB ControlBlock(const LineSettings& s) {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = s.baudRate;
    dcb.fBinary = TRUE;
    // Parity is generated but not checked, as on the original line.
    dcb.fParity = FALSE;
    dcb.fDtrControl = s.dtrOn ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    if (s.rtsCts) {
        dcb.fOutxCtsFlow = TRUE;
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    } else {
        dcb.fRtsControl = s.rtsOn ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    }
    if (s.xonXoff) {
        dcb.fOutX = TRUE;
        dcb.fInX = TRUE;
    }
    dcb.XonLim = static_cast<WORD>(s.xonXoffLimit);
    dcb.XoffLim = static_cast<WORD>(s.xonXoffLimit);
    dcb.ByteSize = static_cast<BYTE>(s.byteSize);
    dcb.Parity = static_cast<BYTE>(s.parity);
    dcb.StopBits = static_cast<BYTE>(s.stopBits);
    dcb.XonChar = kXon;
    dcb.XoffChar = kXoff;
    return dcb;
}

bool Apply(Handle h, const LineSettings& s) {
    DCB dcb = ControlBlock(s);
    return SetCommState(Native(h), &dcb) != FALSE;
}

bool Purge(Handle h, bool input, bool output) {
    DWORD flags = 0;
    if (input) flags |= PURGE_RXABORT | PURGE_RXCLEAR;
    if (output) flags |= PURGE_TXABORT | PURGE_TXCLEAR;
    if (flags == 0) return true;
    return PurgeComm(Native(h), flags) != FALSE;
}

bool SetQueueSizes(Handle h, std::uint32_t in, std::uint32_t out) {
    return SetupComm(Native(h), in, out) != FALSE;
}

int OutputQueued(Handle h) {
    COMSTAT status;
    if (!Counts(h, status)) return -1;
    return static_cast<int>(std::min<DWORD>(status.cbOutQue, 0x7FFFFFFF));
}

ReadStatus ReadWaiting(Handle h, std::uint8_t* buf, std::uint32_t capacity, std::uint32_t& got) {
    got = 0;
    COMSTAT status;
    // A port that can no longer report its queues has gone away.
    if (!Counts(h, status)) return ReadStatus::Failed;
    if (status.cbInQue == 0 || capacity == 0) return ReadStatus::Nothing;
    DWORD read = 0;
    if (!ReadFile(Native(h), buf, std::min<DWORD>(status.cbInQue, capacity), &read, nullptr))
        return ReadStatus::Failed;
    got = read;
    return read > 0 ? ReadStatus::Ok : ReadStatus::Nothing;
}

long Write(Handle h, const std::uint8_t* data, std::uint32_t size) {
    DWORD written = 0;
    // The write time-out set at open makes a write return with a partial
    // count; a failed call that still moved bytes is progress, not a fault.
    if (!WriteFile(Native(h), data, size, &written, nullptr) && written == 0) {
        const DWORD code = GetLastError();
        return code == ERROR_TIMEOUT || code == ERROR_SEM_TIMEOUT ? 0 : -1;
    }
    return static_cast<long>(written);
}

bool ModemLines(Handle h, std::uint32_t& lines) {
    DWORD bits = 0;
    lines = 0;
    if (!GetCommModemStatus(Native(h), &bits)) return false;
    if (bits & MS_CTS_ON) lines |= LineCTS;
    if (bits & MS_DSR_ON) lines |= LineDSR;
    if (bits & MS_RING_ON) lines |= LineRING;
    if (bits & MS_RLSD_ON) lines |= LineRLSD;
    return true;
}

std::uint32_t TickCount() { return GetTickCount(); }

int MaxXonXoffLimit() { return kXonXoffCap; }

OpenFailureCause OpenFailureCauseOf(int systemCode) {
    switch (systemCode) {
        case ERROR_ACCESS_DENIED:  // how Windows refuses a port another program holds
        case ERROR_SHARING_VIOLATION:
            return OpenFailureCause::Busy;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_GEN_FAILURE:  // the adapter was pulled
        case ERROR_DEVICE_NOT_CONNECTED:
            return OpenFailureCause::Gone;
        case ERROR_INVALID_FUNCTION:  // not a communications device
            return OpenFailureCause::NotAPort;
        default:
            return OpenFailureCause::Unknown;
    }
}

const char* PortNamePrefix() { return "COM"; }

std::string PortPath(std::string_view text) {
    if (!text.starts_with(PortNamePrefix())) return {};
    // The device namespace reaches every port, COM10 and above included.
    return "\\\\.\\" + std::string(text);
}

const char* DefaultPortName() { return "COM1"; }

}  // namespace serial::platform
