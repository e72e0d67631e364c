// The Windows port calls against a simulated instrument. Built with mingw-w64
// and run under Wine by scripts/check-windows, the simulator's
// pseudo-terminal mapped as a COM port.
//
// Usage: tst_portplatform_win PORT MISSING_PORT MODEL VERSION TIMEZONE
// (PORT and MISSING_PORT as the user names them, e.g. COM7; the last three are
// what the simulator was started with.)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "serial/BCC.h"
#include "serial/PortPlatformWin.h"

using namespace serial::platform;

namespace {
int failures = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    if (!ok) ++failures;
}

template <typename T>
void CheckEqual(T actual, T expected, const std::string& what) {
    const bool ok = actual == expected;
    Check(ok, what);
    if (!ok)
        std::printf("     got %lld, expected %lld\n", static_cast<long long>(actual),
                    static_cast<long long>(expected));
}

std::string Hex(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t count) {
    std::string out;
    char cell[4];
    for (std::size_t i = from; i < bytes.size() && i < from + count; ++i) {
        std::snprintf(cell, sizeof cell, "%02X ", bytes[i]);
        out += cell;
    }
    return out;
}

std::uint32_t InputQueued(Handle h) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(reinterpret_cast<HANDLE>(h), &errors, &status)) return 0xFFFFFFFFu;
    return status.cbInQue;
}

// Waits (up to a generous deadline, for slow machines) until `count` bytes
// are in the driver's input queue; returns the count seen last.
std::uint32_t WaitQueued(Handle h, std::uint32_t count) {
    std::uint32_t queued = 0;
    for (int i = 0; i < 1000 && (queued = InputQueued(h)) < count; ++i) Sleep(5);
    return queued;
}

// Collects `count` bytes through ReadWaiting, as the polling timer would.
std::vector<std::uint8_t> Collect(Handle h, std::size_t count) {
    std::vector<std::uint8_t> got;
    std::uint8_t buffer[5120];
    for (int i = 0; i < 1000 && got.size() < count; ++i) {
        std::uint32_t n = 0;
        const ReadStatus status = ReadWaiting(h, buffer, sizeof buffer, n);
        if (status == ReadStatus::Failed) break;
        if (status == ReadStatus::Ok) got.insert(got.end(), buffer, buffer + n);
        if (status == ReadStatus::Nothing) Sleep(5);
    }
    return got;
}

std::vector<std::uint8_t> IdentifyRequest() {
    std::vector<std::uint8_t> r = {0x7E, 0x0A, 0x52, 0x01, 0x00, 0, 0, 0, 0, 0};
    r[9] = serial::Crc8(r.data(), 9, 9);
    return r;
}

std::vector<std::uint8_t> IdentifyReply(int model, int version, int timezone) {
    std::vector<std::uint8_t> r(159, 0);
    r[0] = 0x14;
    r[1] = 0x52;
    r[2] = 0x00;
    r[3] = 0x9F;
    r[4] = static_cast<std::uint8_t>(model);
    r[5] = static_cast<std::uint8_t>(model >> 8);
    r[6] = static_cast<std::uint8_t>(version);
    r[7] = static_cast<std::uint8_t>(version >> 8);
    r[8 + 4] = static_cast<std::uint8_t>(timezone);
    r[158] = serial::Crc8(r.data(), 158, 158);
    return r;
}

LineSettings ProgramLine() {
    LineSettings s;
    s.baudRate = 115200;
    s.byteSize = 8;
    s.xonXoffLimit = 5120 / 4;
    return s;
}

void PortNames() {
    struct Row {
        const char* name;
        const char* text;
        const char* path;
    };
    const Row rows[] = {
        {"port name gets the device prefix", "COM3", "\\\\.\\COM3"},
        {"two-digit port", "COM12", "\\\\.\\COM12"},
        {"unix name names no port", "ttyUSB0", ""},
        {"lower case names no port", "com3", ""},
        {"empty text names no port", "", ""},
    };
    for (const Row& row : rows)
        Check(PortPath(row.text) == row.path, std::string("port path: ") + row.name);
    Check(std::string(DefaultPortName()) == "COM1", "default port is COM1");
    CheckEqual(MaxXonXoffLimit(), 4096, "XON/XOFF limit cap");
}

void ControlBlocks() {
    struct Row {
        const char* name;
        LineSettings line;
        DWORD baud;
        int dtr, rts, ctsFlow, xon, limit, byteSize, parity, stopBits;
    };
    LineSettings component;  // the component's own defaults: DTR and RTS raised
    component.dtrOn = true;
    component.rtsOn = true;
    component.xonXoffLimit = 2048 / 4;
    LineSettings handshake;
    handshake.baudRate = 57600;
    handshake.byteSize = 7;
    handshake.parity = 2;
    handshake.stopBits = 2;
    handshake.rtsCts = true;
    handshake.xonXoff = true;
    handshake.xonXoffLimit = 4096;
    LineSettings odd;
    odd.baudRate = 110;
    odd.byteSize = 5;
    odd.parity = 3;
    odd.stopBits = 1;
    odd.xonXoffLimit = 32;
    const Row rows[] = {
        {"program line", ProgramLine(), 115200, DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE, 0, 0,
         1280, 8, NOPARITY, ONESTOPBIT},
        {"component defaults", component, 9600, DTR_CONTROL_ENABLE, RTS_CONTROL_ENABLE, 0, 0, 512,
         8, NOPARITY, ONESTOPBIT},
        {"handshakes", handshake, 57600, DTR_CONTROL_DISABLE, RTS_CONTROL_HANDSHAKE, 1, 1, 4096, 7,
         EVENPARITY, TWOSTOPBITS},
        {"five bits mark parity", odd, 110, DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE, 0, 0, 32, 5,
         MARKPARITY, ONE5STOPBITS},
    };
    for (const Row& row : rows) {
        const DCB d = ControlBlock(row.line);
        const std::string at = std::string("control block, ") + row.name + ": ";
        CheckEqual(d.DCBlength, DWORD(28), at + "length");
        CheckEqual(d.BaudRate, row.baud, at + "baud rate");
        CheckEqual(int(d.fBinary), 1, at + "binary mode");
        CheckEqual(int(d.fParity), 0, at + "parity not checked");
        CheckEqual(int(d.fDtrControl), row.dtr, at + "DTR control");
        CheckEqual(int(d.fRtsControl), row.rts, at + "RTS control");
        CheckEqual(int(d.fOutxCtsFlow), row.ctsFlow, at + "CTS output flow");
        CheckEqual(int(d.fOutxDsrFlow), 0, at + "no DSR flow");
        CheckEqual(int(d.fOutX), row.xon, at + "XON/XOFF output");
        CheckEqual(int(d.fInX), row.xon, at + "XON/XOFF input");
        CheckEqual(int(d.XonLim), row.limit, at + "XON limit");
        CheckEqual(int(d.XoffLim), row.limit, at + "XOFF limit");
        CheckEqual(int(d.ByteSize), row.byteSize, at + "byte size");
        CheckEqual(int(d.Parity), row.parity, at + "parity");
        CheckEqual(int(d.StopBits), row.stopBits, at + "stop bits");
        CheckEqual(int(d.XonChar), 0x11, at + "XON character");
        CheckEqual(int(d.XoffChar), 0x13, at + "XOFF character");
        CheckEqual(int(d.fAbortOnError), 0, at + "no abort on error");
    }
}

void MissingPort(const std::string& name) {
    SystemError error;
    const Handle h = Open(PortPath(name).c_str(), error);
    CheckEqual(h, kInvalidHandle, "missing port: invalid handle");
    if (h != kInvalidHandle) Close(h);
    CheckEqual(error.code, static_cast<int>(ERROR_FILE_NOT_FOUND), "missing port: system code");
    Check(!error.text.empty(), "missing port: system text present (" + error.text + ")");
    Check(error.text.find_first_of("\r\n") == std::string::npos, "missing port: text on one line");
}

void LineSettingsReachDriver(Handle h) {
    const HANDLE native = reinterpret_cast<HANDLE>(h);
    COMMTIMEOUTS t{};
    Check(GetCommTimeouts(native, &t) != FALSE, "GetCommTimeouts");
    CheckEqual(t.ReadIntervalTimeout, DWORD(1), "read interval time-out");
    CheckEqual(t.ReadTotalTimeoutMultiplier, DWORD(0), "read multiplier");
    CheckEqual(t.ReadTotalTimeoutConstant, DWORD(1), "read constant");
    CheckEqual(t.WriteTotalTimeoutMultiplier, DWORD(0), "write multiplier");
    CheckEqual(t.WriteTotalTimeoutConstant, DWORD(kWriteWaitMs), "write constant");

    // A pseudo-terminal keeps 8 bits without parity whatever it is told, and
    // has no modem lines, so Wine reports DTR and RTS as raised: those are
    // checked in the control block itself (ControlBlocks).
    LineSettings other;
    other.baudRate = 57600;
    other.stopBits = 2;
    other.rtsCts = true;
    other.xonXoff = true;
    other.xonXoffLimit = 512;
    Check(Apply(h, other), "apply 57600 with two stop bits, RTS/CTS and XON/XOFF");
    DCB d{};
    d.DCBlength = sizeof d;
    Check(GetCommState(native, &d) != FALSE, "GetCommState");
    CheckEqual(d.BaudRate, DWORD(57600), "other line: baud rate");
    CheckEqual(int(d.StopBits), TWOSTOPBITS, "other line: stop bits");
    CheckEqual(int(d.fOutxCtsFlow), 1, "other line: CTS output flow");
    CheckEqual(int(d.fOutX), 1, "other line: XON/XOFF output");
    CheckEqual(int(d.fInX), 1, "other line: XON/XOFF input");

    Check(Apply(h, ProgramLine()), "apply 115200 8N1 without flow control");
    d = {};
    d.DCBlength = sizeof d;
    Check(GetCommState(native, &d) != FALSE, "GetCommState");
    CheckEqual(d.BaudRate, DWORD(115200), "line: baud rate");
    CheckEqual(int(d.fBinary), 1, "line: binary mode");
    CheckEqual(int(d.fParity), 0, "line: parity not checked");
    CheckEqual(int(d.StopBits), ONESTOPBIT, "line: stop bits");
    CheckEqual(int(d.fOutxCtsFlow), 0, "line: no CTS flow");
    CheckEqual(int(d.fOutX), 0, "line: no XON/XOFF output");
    CheckEqual(int(d.fInX), 0, "line: no XON/XOFF input");
    CheckEqual(int(d.XonChar), 0x11, "line: XON character");
    CheckEqual(int(d.XoffChar), 0x13, "line: XOFF character");
    Check(SetQueueSizes(h, 5120, 1024), "driver queue sizes");
}

void Exchange(Handle h, int model, int version, int timezone) {
    const std::vector<std::uint8_t> request = IdentifyRequest();
    const std::vector<std::uint8_t> expected = IdentifyReply(model, version, timezone);

    // A reply left waiting must be gone after the purge, not read later.
    CheckEqual(Write(h, request.data(), std::uint32_t(request.size())), long(request.size()),
               "identification request written whole");
    CheckEqual(WaitQueued(h, std::uint32_t(expected.size())), std::uint32_t(expected.size()),
               "input queue counts the whole reply");
    Check(Purge(h, true, true), "purge both queues");
    CheckEqual(InputQueued(h), std::uint32_t(0), "input queue empty after purge");
    std::uint8_t byte;
    std::uint32_t got = 99;
    Check(ReadWaiting(h, &byte, 1, got) == ReadStatus::Nothing && got == 0,
          "nothing to read after purge");

    CheckEqual(Write(h, request.data(), std::uint32_t(request.size())), long(request.size()),
               "identification request written again");
    const std::vector<std::uint8_t> reply = Collect(h, expected.size());
    Check(reply == expected, "identification reply byte for byte");
    if (reply != expected) {
        std::printf("     got      %s...\n", Hex(reply, 0, 16).c_str());
        std::printf("     expected %s...\n", Hex(expected, 0, 16).c_str());
    }
    CheckEqual(OutputQueued(h), 0, "output queue empty after the request went out");
}

void SectorRead(Handle h) {
    const std::uint32_t sector = 1;
    const std::uint32_t address = sector * 4096;
    const std::vector<std::uint8_t> request = {0x14,
                                               0x04,
                                               0x00,
                                               0x09,
                                               std::uint8_t(address),
                                               std::uint8_t(address >> 8),
                                               std::uint8_t(address >> 16),
                                               std::uint8_t(address >> 24),
                                               0x00};
    CheckEqual(Write(h, request.data(), std::uint32_t(request.size())), long(request.size()),
               "sector request written whole");
    const std::vector<std::uint8_t> reply = Collect(h, 4101);
    CheckEqual(reply.size(), std::size_t(4101), "sector reply length");
    if (reply.size() != 4101) return;
    CheckEqual(int(reply[0]), 0x14, "sector reply: long frame");
    CheckEqual((reply[2] << 8) | reply[3], 4101, "sector reply: length field");
    CheckEqual(int(reply[4100]), int(serial::Crc8(reply.data(), 4100, 4100)),
               "sector reply: check byte");
    CheckEqual(reply[4 + 6] | (reply[4 + 7] << 8), int(sector), "sector reply: own number");
    std::uint32_t more = 0;
    std::uint8_t byte;
    Check(ReadWaiting(h, &byte, 1, more) == ReadStatus::Nothing, "nothing after the sector");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s PORT MISSING_PORT MODEL VERSION TIMEZONE\n", argv[0]);
        return 2;
    }
    const std::string port = argv[1];
    const std::string path = PortPath(port);

    PortNames();
    ControlBlocks();
    MissingPort(argv[2]);

    SystemError error;
    const Handle h = Open(path.c_str(), error);
    Check(h != kInvalidHandle, "open " + path + (error.text.empty() ? "" : ": " + error.text));
    if (h == kInvalidHandle) return 1;
    LineSettingsReachDriver(h);
    Exchange(h, std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    SectorRead(h);

    std::uint32_t lines = 0;
    if (ModemLines(h, lines))
        std::printf("info modem lines %#x\n", unsigned(lines));
    else
        std::printf("info modem lines: %s\n", LastError().text.c_str());

    Close(h);
    const Handle again = Open(path.c_str(), error);
    Check(again != kInvalidHandle, "port opens again after close");
    Close(again);

    std::printf("%s: %d failure(s)\n", failures == 0 ? "PASS" : "FAIL", failures);
    return failures == 0 ? 0 : 1;
}
