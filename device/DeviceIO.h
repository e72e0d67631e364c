#pragma once
// TDeviceIO: runs one device operation on a thread of its own and reports
// every step by posting WM_THREAD_MSG (status in wParam, value in lParam) to
// the window that started it.
//
// Life: Create() (not yet running) -> set the fields -> Start() -> the run
// opens the port, performs the operation, closes the port -> on the creating
// thread the termination step closes the port if no other operation holds it,
// calls OnTerminate, and the object deletes itself. Only one operation may
// hold the port: a worker started while another runs posts ST_PORT_FAILED.
#include <QThread>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "device/Messages.h"
#include "device/SectorHeaders.h"
#include "serial/UnitNVC.h"

namespace device {

enum TOperation : std::uint8_t {
    OP_IDENTIFY = 0,
    OP_SEND_FRAME = 1,
    OP_READ_STATS = 2,
    OP_READ_PAGE = 3,
    OP_TRACK = 4,
    OP_FIRMWARE = 5,
    // The header page of each of SectorCount sectors from StartSector on,
    // into Headers; ST_TRACK_PAGE after each, ST_HEADERS_READ at the end.
    OP_SCAN_HEADERS = 6,
};

enum TStatus : std::uint8_t {
    ST_IDENTIFIED = 0,
    ST_WRITTEN = 1,
    ST_PORT_OPEN = 2,
    ST_BAD_REPLY = 3,
    ST_TRACK_END = 4,
    ST_STATS_READ = 5,
    ST_PAGE_READ = 6,
    ST_FW_PROGRESS = 7,
    ST_TRACK_PAGE = 8,
    ST_PORT_FAILED = 9,
    ST_NO_LINK = 10,
    ST_FW_REJECTED = 12,
    ST_BAD_HEADER = 13,
    ST_HEADERS_READ = 14,  // value: the headers read (fewer when cancelled)
};

// The value of ST_NO_LINK (and of the ST_BAD_REPLY of the wait that noticed
// it) when the port reported the device gone: hung up, unplugged. A silent or
// garbling instrument gives 0. The user reads LinkLostText() (UserTexts.h).
inline constexpr qintptr LINK_LOST = 1;

// The longest a retry waits for the line to fall silent.
inline constexpr std::chrono::milliseconds QuietLimit{3000};

// The waits of the protocol. The poll counts (300, 500, 1000) are fixed; the
// step lengths can be shortened by tests of failure paths.
struct TWorkerTiming {
    std::chrono::microseconds pollStep{5000};
    std::chrono::milliseconds sectorRetryPause{30};
    std::chrono::milliseconds pageRetryPause{50};
    std::chrono::milliseconds chunkPause{10};
    // A retry waits until no byte has come for QuietPollingPeriods receive
    // polling periods, and at least the link's adapterQuietGap, but never
    // longer than quietLimit.
    std::chrono::milliseconds quietLimit{QuietLimit};
};

inline constexpr int QuietPollingPeriods = 2;

inline constexpr int FirstReplyPolls = 300;
inline constexpr int WholeReplyPolls = 500;
inline constexpr int FirmwareAnswerPolls = 1000;
inline constexpr int SectorTries = 13;
inline constexpr int PageTries = 33;
inline constexpr int MaxSectorCount = 300;  // more than this ends the download: 301 read
inline constexpr int MaxPageCount = 3000;   // 3001 pages read

// Where a track download stops however long the track: after one exchange
// more than these counts. Tests of the stop give smaller counts, since each
// exchange takes at least one receive tick.
struct TTrackLimits {
    int sectors = MaxSectorCount;
    int pages = MaxPageCount;
};

inline constexpr int FirmwareSends = 3;
inline constexpr int FirmwarePiece = 60;
inline constexpr int MaxFirmwareImage = serial::TxBufferSize;  // the whole transmit buffer

// How long after an operation ended on a whole reply the next one on the same
// port may skip the wait for a quiet line: long enough for the next step of a
// sequence, short enough that no other program is likely to have used the
// port in between.
inline constexpr std::chrono::seconds QuietEndTrusted{1};

// Whether an operation opening `port` at `now` must first let the line fall
// quiet: the rest of some earlier answer may still be coming unless the
// operation before ended there on a whole reply, within QuietEndTrusted.
bool OpeningWaitNeeded(const std::optional<serial::TNonVisComp::TQuietEnd>& quietEnd,
                       const QString& port, std::chrono::steady_clock::time_point now);

// What a track download makes of a reply of the right kind (DeviceIO.cpp).
enum class TReplyVerdict : std::uint8_t;

class TDeviceIO : public QThread {
    Q_OBJECT
  public:
    // Created on the GUI (event-loop) thread; does not run until Start().
    static TDeviceIO* Create(serial::TNonVisComp& link, TTarget target);
    // With the application's one module.
    static TDeviceIO* Create(TTarget target);

    void Start();

    std::uint8_t Operation = OP_IDENTIFY;
    TTarget TargetWindow;
    std::int32_t DataLength = 0;
    std::uint16_t StartSector = 0;
    std::int32_t PageAddress = 0;
    std::uint8_t FlightIndex = 0;
    bool BySector = true;
    int SectorCount = 0;
    std::shared_ptr<TSectorHeaderLog> Headers;
    TWorkerTiming Timing;
    TTrackLimits Limits;
    // Runs on the creating thread after the run, before the object is freed.
    std::function<void()> OnTerminate;
    // True when the operation ended because the device went away; final by
    // the time the last status is posted, readable from any thread.
    bool LinkLost() const { return linkLost_.load(std::memory_order_acquire); }

  protected:
    void run() override;

  private:
    TDeviceIO(serial::TNonVisComp& link, TTarget target);
    void Post(TStatus status, qintptr value = 0);
    struct Abandoned {};
    using Clock = std::chrono::steady_clock;
    void SleepStep();
    void Pause(std::chrono::microseconds duration);
    bool Lost();
    qintptr LostValue() const { return LinkLost() ? LINK_LOST : 0; }
    void ClearArrivals();
    void NoteArrivals();
    // True when a byte came while waiting.
    bool WaitQuietLine(std::chrono::microseconds quiet);
    void WaitQuietLine();  // for the receive polling periods of a retry
    std::chrono::microseconds PollingQuiet() const;
    std::chrono::microseconds LateAnswerQuiet() const;
    void SendRequest(int length);
    // True for one whole reply with a good check byte. With
    // answerMayFollowFrame, bytes behind the frame do not spoil it.
    bool WaitReply(bool answerMayFollowFrame = false);
    void RunOperation();
    void Identify();
    void SendPreparedFrame();
    void ReadStats();
    void ReadPage();
    void DownloadTrack();
    void DownloadSectors();
    void DownloadPages();
    void ScanHeaders();
    bool TryRead(std::uint8_t command, std::uint32_t address, int tries,
                 std::chrono::milliseconds pause,
                 const std::function<TReplyVerdict(bool repeated)>& judge);
    void SendFirmwareBlocks();
    // Returns the receive count just before the block's last piece went out.
    std::int32_t SendInChunks(int start, int size);
    // The first byte received from index `at` on, if it is an answer byte.
    std::uint8_t WaitBlockAnswer(std::int32_t at);

    serial::TNonVisComp& link_;
    bool claimed_ = false;
    std::atomic<bool> linkLost_{false};
    // Receive count last seen by a wait, and when it last changed.
    std::int32_t seenCount_ = 0;
    Clock::time_point lastArrival_;
    std::uint64_t arrivalTick_ = 0;  // the port's poll ticks at that time
    // A try of the last request got no byte yet a later one succeeded: the
    // first try's reply may still be on its way.
    bool replyMayFollow_ = false;
    // The last try failed or was refused: its answer, or the rest of it, may
    // still come after the operation has ended.
    bool lastTryFailed_ = false;
    // The longest a try of this operation waited in vain for a first byte.
    std::chrono::microseconds silentWait_{0};
    // The length of the reply the last request took, 0 while it has none.
    int lastReplyLength_ = 0;
};

}  // namespace device
