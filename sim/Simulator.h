#pragma once
// TSimulator: a stand-in for the instrument on a pseudo-terminal. The program
// opens PortPath() like any serial device; the simulator answers its requests
// from a thread of its own.
//
// Thread-safe: every setter and getter may be called from any thread while
// the simulator runs.
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace sim {

// Faults applied to replies (to frames, and to firmware answer bytes where it
// makes sense). Counters such as hangUpAfterRequests count valid requests.
struct TFaults {
    bool silent = false;              // never answer
    bool wrongCheckByte = false;      // last byte of each reply flipped
    bool badHeader = false;           // first byte of each reply replaced by 0x55
    bool dropLastByte = false;        // one byte missing at the end
    bool extraByte = false;           // one byte more after the frame
    int garbageBefore = 0;            // this many 0xA5 bytes before each reply
    int splitChunk = 0;               // deliver replies in pieces of this size (0 = whole)
    int splitDelayMs = 0;             // pause between the pieces
    int lateMs = 0;                   // wait before answering
    int hangUpAfterRequests = -1;     // close the terminal after N requests (-1 = never)
    bool hangUpMidReply = false;      // on that request, send half the reply, then close
    int failFirstRequests = 0;        // stay silent for the first N requests, then answer
};

struct TIdentity {
    std::uint16_t model = 101;
    std::uint16_t firmwareVersion = 258;
    std::array<std::uint8_t, 148> settings{};  // byte 4 = time zone
    std::uint16_t companion = 0;
    bool shortFrame = false;  // answer identification with a valid short frame
};

// Flight statistics as the instrument reports them (reply layout fixed by the
// protocol; bytes not named here are zero).
struct TFlightStats {
    std::uint16_t flightNumber = 0;
    std::uint16_t startSector = 0;
    std::uint16_t year = 0;
    std::uint8_t month = 0, day = 0, hour = 0, minute = 0;
    std::uint16_t durationMinutes = 0;
    std::int16_t maxClimb = 0;    // 0.1 m/s
    std::int16_t maxSink = 0;     // 0.1 m/s
    std::int16_t maxAltitude = 0; // m
    std::uint8_t maxSpeed = 0;    // km/h
    std::uint16_t maxDistance = 0;   // 0.1 km
    std::uint16_t distance = 0;      // 0.1 km
};

struct TFirmwareBehaviour {
    int retryAnswers = 0;     // answer 0x22 this many times (over the whole transfer) before 0x11
    int rejectAtBlock = -1;   // answer 0x40 to this block index (0-based)
    bool silent = false;      // never answer a block
};

class TSimulator {
public:
    TSimulator();
    ~TSimulator();  // stops
    TSimulator(const TSimulator&) = delete;
    TSimulator& operator=(const TSimulator&) = delete;

    // Opens the pseudo-terminal (and, if given, a symbolic link to its slave
    // at linkPath) and starts answering. False on failure.
    bool Start(const QString& linkPath = {});
    void Stop();
    QString PortPath() const;  // the link if one was made, else /dev/pts/N

    // Real line timing: 86.8 us a byte (115200 8N1). On by default.
    void SetPaced(bool paced);
    void SetFaults(const TFaults& faults);
    void SetIdentity(const TIdentity& identity);
    void SetStats(int index, const TFlightStats& stats);  // 0 last, 1 previous
    // Track memory image from address 0; bytes beyond it read as 0xFF.
    void SetMemory(std::vector<std::uint8_t> memory);
    void SetFirmwareBehaviour(const TFirmwareBehaviour& behaviour);
    // Hex transcript of all traffic ("> " requests, "< " replies), or none.
    void SetTranscriptPath(const QString& path);

    // Valid requests received so far, each as its bytes.
    std::vector<std::vector<std::uint8_t>> Requests() const;
    int RequestCount() const;
    int BadRequestCount() const;  // requests dropped for a wrong check byte or framing
    // The settings last written with the settings-write request (150 bytes), or empty.
    std::vector<std::uint8_t> WrittenConfig() const;
    // Concatenation of the firmware blocks accepted (answered 0x11), counts included.
    std::vector<std::uint8_t> FirmwareReceived() const;
    int FirmwareBlocksReceived() const;  // every block received, retries included

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace sim
