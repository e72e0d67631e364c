#pragma once
// TSimulator: a stand-in for the instrument on a pseudo-terminal. The program
// opens PortPath() like any serial device; the simulator answers its requests
// from a thread of its own.
//
// Thread-safe: every setter and getter may be called from any thread while
// the simulator runs. Settings take effect from the next message received.
//
// Requests with a check byte (identification, settings write) are dropped
// when it is wrong; bytes that open no request are dropped up to the next
// plausible request header. A message whose first byte opens no request is a
// firmware block (2-byte big-endian count, then that many bytes); one that
// stops short for a second is dropped. Every drop counts in BadRequestCount.
#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "sim/Replay.h"
#include "track/FlightStats.h"

namespace sim {

// Damage done to the replies of some messages only, as a noisy line or a
// busy instrument delivers them. Firmware answer bytes take all but
// WrongCheckByte and PreviousReply; the instrument has acted on the message
// as usual (a firmware block whose answer is damaged has been taken).
enum class TDamage {
    None,
    FirstByteChanged,  // the first byte becomes 0x55
    GarbageInFront,    // damageBytes bytes 0xA5 before the reply
    CutShort,          // only the first half of the reply is sent
    WrongCheckByte,    // the check byte flipped
    Late,              // sent damageMs late
    PreviousReply,     // the reply to the request before, sent again instead
};

// Faults applied to replies. Firmware answer bytes take silent, lateMs,
// failFirstRequests, the damage and the hang-up (mid-reply: no answer at all);
// the rest apply to frames only. The counters count valid requests and
// firmware blocks together, from the last Start().
struct TFaults {
    bool silent = false;          // never answer
    bool wrongCheckByte = false;  // last byte of each reply flipped
    bool badHeader = false;       // first byte of each reply replaced by 0x55
    bool dropLastByte = false;    // one byte missing at the end
    bool extraByte = false;       // one byte more after the frame
    // Answer each request with the reply to the request before it, as an
    // instrument one reply behind does (the first request after Start() is
    // answered as usual).
    bool previousReplies = false;
    int garbageBefore = 0;    // this many 0xA5 bytes before each reply
    int splitChunk = 0;       // deliver replies in pieces of this size (0 = whole)
    int splitDelayMs = 0;     // pause between the pieces
    int lateMs = 0;           // wait before answering
    int pauseAfterBytes = 0;  // deliver this many bytes of each reply, then pause
    int pauseMs = 0;          // for this long before the rest
    // Close the terminal once the reply to request N has been read (0: at the
    // first request, unanswered; -1: never). The program's open port then sees
    // a hang-up, and the simulator has finished until Start() is called again.
    int hangUpAfterRequests = -1;
    bool hangUpMidReply = false;  // on that request, send half the reply, then close
    int failFirstRequests = 0;    // stay silent for the first N requests, then answer
    TDamage damage = TDamage::None;
    int damageFrom = 1;           // the first message whose reply is damaged (1: the first)
    int damageCount = 1;          // how many in a row
    std::vector<int> damageAlso;  // further messages whose replies are damaged
    int damageBytes = 64;
    int damageMs = 2000;
    // An instrument in its loader: identification goes unanswered, firmware
    // blocks are taken as usual.
    bool loader = false;
    // A settings write keeps this byte (0..149) inverted, so reading the
    // settings back shows a difference; -1: kept as written.
    int writeAltersByte = -1;

    // Whether the reply to `message` (counted as above) takes the damage.
    bool Damages(int message) const {
        return (message >= damageFrom && message - damageFrom < damageCount) ||
               std::find(damageAlso.begin(), damageAlso.end(), message) != damageAlso.end();
    }
};

struct TIdentity {
    std::uint16_t model = 101;
    std::uint16_t firmwareVersion = 258;
    std::array<std::uint8_t, 148> settings{};  // byte 4 = time zone
    std::uint16_t companion = 0;
    bool shortFrame = false;  // answer identification with a valid short frame
};

// Flight statistics as the instrument reports them: the fields the program
// reads, at their places in the reply; bytes not named there are zero.
using TFlightStats = track::TFlightStatsReply;

struct TFirmwareBehaviour {
    int retryAnswers = 0;    // answer 0x22 this many times (over the whole transfer) before 0x11
    int rejectAtBlock = -1;  // answer 0x40 to this block index (0-based)
    bool silent = false;     // never answer a block
};

class TSimulator {
  public:
    TSimulator();
    ~TSimulator();  // stops
    TSimulator(const TSimulator&) = delete;
    TSimulator& operator=(const TSimulator&) = delete;

    // Opens the pseudo-terminal (and, if given, a symbolic link to its slave
    // at linkPath, replacing an older link but nothing else) and starts
    // answering. False on failure. A running or hung-up simulator is stopped
    // first, so Start() after a hang-up plugs a fresh terminal in (another
    // /dev/pts/N; the link, if any, points to it). Each Start() clears the
    // records below; settings are kept.
    bool Start(const QString& linkPath = {});
    void Stop();               // also removes the link
    QString PortPath() const;  // the link if one was made, else /dev/pts/N
    bool IsRunning() const;    // false after Stop() and after a hang-up

    // Real line timing: 86.8 us a byte (115200 8N1). On by default.
    void SetPaced(bool paced);
    // Paced at `factor` times that rate, for tests that keep the program's
    // ratios of waits to replies in a fraction of the time.
    void SetLineSpeedUp(int factor);
    // Takes every freedom the written protocol leaves an instrument: byte 1
    // of long replies zero or random, statistics replies of 45 to 64 bytes
    // with random bytes wherever no field is read, identification replies
    // with random bytes after the settings block. The random bytes follow
    // from the request's number, so a session replays alike. Off unless the
    // environment holds FreedomsVariable=1, which lets whole suites run
    // against it unchanged.
    void SetProtocolFreedoms(bool on);
    static constexpr const char* FreedomsVariable = "TOLMARIK_SIM_FREEDOMS";
    // Whether the environment asks for them.
    static bool FreedomsFromEnvironment();
    void SetFaults(const TFaults& faults);
    void SetIdentity(const TIdentity& identity);
    void SetStats(int index, const TFlightStats& stats);  // 0 last, 1 previous
    // Track memory image from address 0; bytes beyond it read as 0xFF.
    void SetMemory(std::vector<std::uint8_t> memory);
    void SetFirmwareBehaviour(const TFirmwareBehaviour& behaviour);
    // Hex transcript appended to `path`, one line per message: "> 7E 0A ..."
    // a request or firmware block, "< 14 52 ..." what was sent back (faults
    // included), "! ..." input dropped. Empty: none.
    void SetTranscriptPath(const QString& path);

    // Answers as a recorded session did: the bytes each exchange's request
    // brought, once they have all come, are answered with its recorded reply
    // (paced, faults aside); bytes the record does not expect there are a
    // mismatch and get no answer. Empty: the simulated instrument answers.
    void SetReplay(std::vector<TExchange> exchanges);
    int ReplayMismatches() const;
    int ReplayExchangesLeft() const;  // not yet completed

    // Valid requests received so far, each as its bytes (firmware blocks are
    // counted below, not here).
    std::vector<std::vector<std::uint8_t>> Requests() const;
    int RequestCount() const;
    int BadRequestCount() const;  // requests dropped for a wrong check byte or framing
    // The settings last written with the settings-write request (150 bytes), or
    // empty. They also become the identity's settings and companion word.
    std::vector<std::uint8_t> WrittenConfig() const;
    // Concatenation of the firmware blocks accepted (answered 0x11), counts included.
    std::vector<std::uint8_t> FirmwareReceived() const;
    int FirmwareBlocksReceived() const;  // every block received, retries included

  private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace sim
