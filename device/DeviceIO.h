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
#include <chrono>
#include <cstdint>
#include <functional>

#include "device/Messages.h"

namespace serial {
class TNonVisComp;
}

namespace device {

enum TOperation : std::uint8_t {
    OP_IDENTIFY = 0,
    OP_SEND_FRAME = 1,
    OP_READ_STATS = 2,
    OP_READ_PAGE = 3,
    OP_TRACK = 4,
    OP_FIRMWARE = 5,
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
};

// The waits of the protocol. The poll counts (300, 500, 1000) are fixed; the
// step lengths can be shortened by tests of failure paths.
struct TWorkerTiming {
    std::chrono::microseconds pollStep{5000};
    std::chrono::milliseconds sectorRetryPause{30};
    std::chrono::milliseconds pageRetryPause{50};
    std::chrono::milliseconds chunkPause{10};
};

inline constexpr int FirstReplyPolls = 300;
inline constexpr int WholeReplyPolls = 500;
inline constexpr int FirmwareAnswerPolls = 1000;
inline constexpr int SectorTries = 13;
inline constexpr int PageTries = 33;
inline constexpr int MaxSectorCount = 300;  // more than this ends the download: 301 read
inline constexpr int MaxPageCount = 3000;   // 3001 pages read
inline constexpr int FirmwareSends = 3;
inline constexpr int FirmwarePiece = 60;
inline constexpr int MaxFirmwareImage = 122881;

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
    TWorkerTiming Timing;
    // Runs on the creating thread after the run, before the object is freed.
    std::function<void()> OnTerminate;

protected:
    void run() override;

private:
    TDeviceIO(serial::TNonVisComp& link, TTarget target);
    void Post(TStatus status, qintptr value = 0);
    struct Abandoned {};
    void SleepStep();
    void Pause(std::chrono::microseconds duration);
    void SendRequest(int length);
    bool WaitReply();
    void RunOperation();
    void Identify();
    void SendPreparedFrame();
    void ReadStats();
    void ReadPage();
    void DownloadTrack();
    void DownloadSectors();
    void DownloadPages();
    bool TryRead(std::uint8_t command, std::uint32_t address, int tries,
                 std::chrono::milliseconds pause);
    void SendFirmwareBlocks();
    void SendInChunks(int start, int size);
    std::uint8_t WaitBlockAnswer();

    serial::TNonVisComp& link_;
    bool claimed_ = false;
};

}  // namespace device
