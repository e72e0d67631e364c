#include "device/DeviceIO.h"

#include <algorithm>
#include <thread>

#include "device/Frames.h"
#include "device/PortActivity.h"
#include "device/TrackLists.h"
#include "serial/BCC.h"
#include "serial/LinkLog.h"
#include "serial/UnitNVC.h"

namespace device {

namespace {
constexpr std::uint32_t kSectorSize = 4096;
constexpr std::uint32_t kPageSize = 256;
constexpr int kReplyDataOffset = 4;
// While waiting for a quiet line the accumulator is emptied at this fill, so
// that its count keeps rising as long as bytes come.
constexpr std::int32_t kQuietClearAt = serial::RxBufferSize / 2;

enum class HeaderVerdict { Continue, Stop };

// State of one download shared by both modes: the flight being read and the
// time of the next record.
struct TrackCursor {
    bool haveFlight = false;
    std::uint16_t flight = 0;
    TrackTime time = 0;
};
}  // namespace

TDeviceIO* TDeviceIO::Create(serial::TNonVisComp& link, TTarget target) {
    return new TDeviceIO(link, std::move(target));
}

TDeviceIO* TDeviceIO::Create(TTarget target) {
    return Create(serial::TNonVisComp::Instance(), std::move(target));
}

TDeviceIO::TDeviceIO(serial::TNonVisComp& link, TTarget target)
    : TargetWindow(std::move(target)), link_(link) {
    connect(this, &QThread::finished, this, [this] {
        // `finished` is emitted while the thread still runs Qt's own end
        // code; it is a matter of microseconds, but the object must not be
        // freed under it.
        wait();
        link_.DisconnectIfUnclaimed();
        if (OnTerminate) OnTerminate();
        // After OnTerminate: the next worker of a chain has begun by now, so
        // the port does not look free in between.
        TPortActivity::Instance().End(this);
        deleteLater();
    });
}

void TDeviceIO::Start() {
    // The port (and with it both buffers) is claimed here, on the starting
    // thread, so that nobody sees it free between this call and the run.
    claimed_ = link_.TryClaimPort(this);
    TPortActivity::Instance().Begin(this);
    start(QThread::LowestPriority);
}

void TDeviceIO::Post(TStatus status, qintptr value) {
    TargetWindow.Post(WM_THREAD_MSG, status, value);
}

void TDeviceIO::SleepStep() {
    Pause(Timing.pollStep);
    NoteArrivals();
}

bool TDeviceIO::Lost() {
    if (link_.comport.DeviceLost()) linkLost_.store(true, std::memory_order_release);
    return LinkLost();
}

void TDeviceIO::ClearArrivals() {
    link_.ClearReceive();
    seenCount_ = 0;
    lastArrival_ = Clock::now();
    arrivalTick_ = link_.comport.PollTicks();
}

void TDeviceIO::NoteArrivals() {
    const std::int32_t count = link_.ReceiveCount();
    if (count == seenCount_) return;
    seenCount_ = count;
    lastArrival_ = Clock::now();
    // Read after the count: the tick that brought these bytes is at most one
    // ahead of this number.
    arrivalTick_ = link_.comport.PollTicks();
}

// A retry sent while the rest of a damaged reply is still coming would read
// that rest as its reply, and so would every later one: let the line fall
// silent first. `quiet` is how long no byte may have come.
void TDeviceIO::WaitQuietLine(std::chrono::microseconds quiet) {
    const auto start = Clock::now();
    NoteArrivals();
    while (!Lost()) {
        const auto now = Clock::now();
        // Counting ticks as well keeps a busy machine's late ticks from
        // passing for a silent line.
        const bool silentTicks =
            link_.comport.PollTicks() >= arrivalTick_ + QuietPollingPeriods + 1;
        if ((now - lastArrival_ >= quiet && silentTicks) || now - start >= Timing.quietLimit)
            return;
        if (seenCount_ >= kQuietClearAt) {
            link_.ClearReceive();
            seenCount_ = 0;
        }
        SleepStep();
    }
}

void TDeviceIO::WaitQuietLine() {
    WaitQuietLine(QuietPollingPeriods * std::chrono::milliseconds(link_.comport.PollingDelay()));
}

void TDeviceIO::Pause(std::chrono::microseconds duration) {
    if (link_.ShuttingDown()) throw Abandoned{};
    std::this_thread::sleep_for(duration);
}

void TDeviceIO::run() {
    if (!claimed_) {
        Post(ST_PORT_FAILED);
        return;
    }
    link_.comport.SetBaudRateValue(115200);
    if (!link_.comport.Connect()) {
        link_.ReleasePort(this);
        Post(ST_PORT_FAILED);
        return;
    }
    Post(ST_PORT_OPEN);
    try {
        RunOperation();
    } catch (const Abandoned&) {
        // The program is closing; nobody waits for a status any more.
    }
    link_.comport.Disconnect();
    link_.ReleasePort(this);
}

void TDeviceIO::RunOperation() {
    switch (Operation) {
        case OP_IDENTIFY:
            Identify();
            break;
        case OP_SEND_FRAME:
            SendPreparedFrame();
            break;
        case OP_READ_STATS:
            ReadStats();
            break;
        case OP_READ_PAGE:
            ReadPage();
            break;
        case OP_TRACK:
            DownloadTrack();
            break;
        case OP_FIRMWARE:
            SendFirmwareBlocks();
            break;
        default:
            break;  // no operation
    }
}

void TDeviceIO::SendRequest(int length) {
    ClearArrivals();
    qCDebug(serial::lcLink).noquote()
        << "request" << length << "bytes:"
        << QByteArray(reinterpret_cast<const char*>(link_.TxBuffer.data()), std::min(length, 10))
               .toHex(' ');
    link_.SendFrame(length);
}

bool TDeviceIO::WaitReply(bool answerMayFollowFrame) {
    const std::uint8_t* rx = link_.RxBuffer.data();
    int polls = 0;
    while (link_.ReceiveCount() == 0 && polls < FirstReplyPolls && !Lost()) {
        SleepStep();
        ++polls;
    }
    if (link_.ReceiveCount() == 0) {
        qCDebug(serial::lcLink) << "no reply" << (Lost() ? "(device gone)" : "");
        Post(ST_BAD_REPLY, LostValue());
        return false;
    }
    if (rx[0] != FRAME_SHORT && rx[0] != FRAME_LONG) {
        qCDebug(serial::lcLink) << "reply without a frame header, first byte" << rx[0];
        Post(ST_BAD_HEADER);
        return false;
    }
    // Read the length only once its field has arrived in full; a first
    // delivery of one or two bytes would otherwise read zeros as the length.
    const int fieldEnd = rx[0] == FRAME_SHORT ? 2 : 4;
    polls = 0;
    while (link_.ReceiveCount() < fieldEnd && polls < WholeReplyPolls && !Lost()) {
        SleepStep();
        ++polls;
    }
    if (link_.ReceiveCount() < fieldEnd) {
        Post(ST_BAD_REPLY, LostValue());
        return false;
    }
    const int length = FrameLength(rx);
    if (length == 0) return false;
    if (length > serial::RxBufferSize) {  // cannot be held, let alone checked
        Post(ST_BAD_REPLY);
        return false;
    }
    // Another answer to the same request may run on behind the frame: the
    // frame then ends where its length field says.
    const auto incomplete = [&] {
        const std::int32_t count = link_.ReceiveCount();
        return answerMayFollowFrame ? count < length : count != length;
    };
    while (incomplete() && polls < WholeReplyPolls && !Lost()) {
        SleepStep();
        ++polls;
    }
    if (incomplete() || !FrameCheckOk(rx, length)) {
        qCDebug(serial::lcLink) << "bad reply: expected" << length << "bytes, received"
                                << link_.ReceiveCount() << (Lost() ? "(device gone)" : "");
        Post(ST_BAD_REPLY, LostValue());
        return false;
    }
    qCDebug(serial::lcLink) << "reply" << length << "bytes, check byte good";
    return true;
}

void TDeviceIO::Identify() {
    BuildIdentifyRequest(link_.TxBuffer.data());
    SendRequest(IdentifyRequestLength);
    if (WaitReply())
        Post(ST_IDENTIFIED, ReplyModel(link_.RxBuffer.data()) & 0x7F);
    else
        Post(ST_NO_LINK, LostValue());
}

void TDeviceIO::SendPreparedFrame() {
    SendRequest(DataLength);
    if (WaitReply())
        Post(ST_WRITTEN);
    else
        Post(ST_NO_LINK, LostValue());
}

void TDeviceIO::ReadStats() {
    BuildStatsRequest(link_.TxBuffer.data(), FlightIndex);
    SendRequest(LongRequestLength);
    if (WaitReply())
        Post(ST_STATS_READ);
    else
        Post(ST_NO_LINK, LostValue());
}

void TDeviceIO::ReadPage() {
    BuildAddressRequest(link_.TxBuffer.data(), CMD_READ_PAGE,
                        static_cast<std::uint32_t>(PageAddress));
    SendRequest(LongRequestLength);
    if (WaitReply()) Post(ST_PAGE_READ);
}

// `belongs` tells whether a reply that passed its check answers this request.
bool TDeviceIO::TryRead(std::uint8_t command, std::uint32_t address, int tries,
                        std::chrono::milliseconds pause, const std::function<bool()>& belongs) {
    // The instrument may still answer an unanswered try of the last request,
    // and nothing in a page tells which request it answers. Such an answer
    // would have failed its own try had it begun as late: wait that long.
    if (replyMayFollow_)
        WaitQuietLine(std::max<std::chrono::microseconds>(
            FirstReplyPolls * Timing.pollStep,
            QuietPollingPeriods * std::chrono::milliseconds(link_.comport.PollingDelay())));
    replyMayFollow_ = false;
    bool silentTry = false;
    for (int attempt = 0; attempt < tries; ++attempt) {
        if (Lost()) return false;
        BuildAddressRequest(link_.TxBuffer.data(), command, address);
        SendRequest(LongRequestLength);
        // After an unanswered try its late answer and this try's come back to
        // back; both carry the same bytes, so the first whole one is taken.
        if (WaitReply(silentTry)) {
            if (belongs()) {
                replyMayFollow_ = silentTry;
                return true;
            }
            Post(ST_BAD_REPLY);
        }
        if (Lost()) return false;
        silentTry = silentTry || link_.ReceiveCount() == 0;
        if (attempt + 1 < tries) WaitQuietLine();
        Pause(pause);
    }
    return false;
}

namespace {
// A sector header answers the request for `sector` unless it names this
// flight and another sector: such a reply belongs to an earlier request.
// Another flight (erased memory included) ends the download, so it belongs.
bool HeaderBelongs(const std::uint8_t* header, std::uint16_t sector, const TrackCursor& cursor) {
    return !cursor.haveFlight || LE16(header + 4) != cursor.flight || LE16(header + 6) == sector;
}

// Checks a sector header (bytes 4..14 of `header`) and sets the time of its
// first record. Posts nothing itself; `flightChanged` tells the caller.
HeaderVerdict CheckHeader(const std::uint8_t* header, std::uint16_t startSector,
                          TrackCursor& cursor, bool& flightChanged) {
    flightChanged = false;
    const std::uint16_t flight = LE16(header + 4);
    if (!cursor.haveFlight) {
        if (LE16(header + 6) != startSector) return HeaderVerdict::Stop;
        cursor.haveFlight = true;
        cursor.flight = flight;
    } else if (flight != cursor.flight) {
        flightChanged = true;
        return HeaderVerdict::Stop;
    }
    const int month = header[10];
    if (month == 0 || !MakeTrackTime(LE16(header + 8), month, header[11], header[12], header[13],
                                     header[14], cursor.time))
        cursor.time = FallbackTrackTime();
    return HeaderVerdict::Continue;
}

void AppendRecord(std::uint8_t kind, const std::uint8_t* bytes, TrackCursor& cursor) {
    if (kind == TrackGpsKind) {
        GpsListEntry entry;
        entry.time = cursor.time;
        std::copy(bytes, bytes + entry.record.size(), entry.record.begin());
        TrackLists().AppendGps(entry);
    } else {
        EngListEntry entry;
        entry.time = cursor.time;
        std::copy(bytes, bytes + entry.record.size(), entry.record.begin());
        TrackLists().AppendEng(entry);
    }
    ++cursor.time;
}

bool IsRecordKind(std::uint8_t kind) { return kind == TrackGpsKind || kind == TrackEngKind; }
}  // namespace

void TDeviceIO::DownloadTrack() {
    if (StartSector == 0) return;
    TrackLists().Clear();
    if (BySector)
        DownloadSectors();
    else
        DownloadPages();
}

void TDeviceIO::DownloadSectors() {
    TrackCursor cursor;
    std::uint32_t address = std::uint32_t{StartSector} * kSectorSize;
    const std::uint8_t* sector = link_.RxBuffer.data() + kReplyDataOffset;
    const auto belongs = [&] {
        return HeaderBelongs(sector, static_cast<std::uint16_t>(address / kSectorSize), cursor);
    };
    for (int count = 1;; ++count) {
        if (!TryRead(CMD_READ_SECTOR, address, SectorTries, Timing.sectorRetryPause, belongs)) {
            Post(ST_NO_LINK, LostValue());
            return;
        }
        bool flightChanged = false;
        if (CheckHeader(sector, StartSector, cursor, flightChanged) == HeaderVerdict::Stop) {
            if (flightChanged) Post(ST_TRACK_END, 0);
            return;
        }
        for (std::uint32_t pos = kPageSize; pos < kSectorSize;) {
            const std::uint8_t kind = sector[pos];
            if (!IsRecordKind(kind)) {
                Post(ST_TRACK_END, static_cast<qintptr>(pos) + kReplyDataOffset);
                break;
            }
            if (pos + kind > kSectorSize) break;  // would take bytes beyond the sector
            AppendRecord(kind, sector + pos, cursor);
            pos += kind;
        }
        address += kSectorSize;
        Post(ST_TRACK_PAGE, count);
        if (count > MaxSectorCount) return;
    }
}

void TDeviceIO::DownloadPages() {
    TrackCursor cursor;
    std::uint32_t address = std::uint32_t{StartSector} * kSectorSize;
    std::uint32_t offset = 0;
    std::uint32_t carry = 0;
    std::uint8_t pendingKind = 0;
    std::array<std::uint8_t, 12> save{};
    const std::uint8_t* page = link_.RxBuffer.data() + kReplyDataOffset;
    // Only a sector's first page says where it lies.
    const auto belongs = [&] {
        return address % kSectorSize != 0 ||
               HeaderBelongs(page, static_cast<std::uint16_t>(address / kSectorSize), cursor);
    };
    for (int count = 1;; ++count) {
        if (!TryRead(CMD_READ_PAGE, address, PageTries, Timing.pageRetryPause, belongs)) {
            Post(ST_NO_LINK, LostValue());
            return;
        }
        if (address % kSectorSize == 0) {
            offset = 0;
            carry = 0;  // a record running into the header is dropped
            bool flightChanged = false;
            if (CheckHeader(page, StartSector, cursor, flightChanged) == HeaderVerdict::Stop) {
                if (flightChanged) Post(ST_TRACK_END, 0);
                return;
            }
        } else {
            if (carry > 0) {
                std::copy(page, page + offset, save.begin() + carry);
                AppendRecord(pendingKind, save.data(), cursor);
                carry = 0;
            }
            while (offset < kPageSize) {
                const std::uint8_t kind = page[offset];
                if (!IsRecordKind(kind)) {
                    offset = kPageSize;
                    break;
                }
                if (offset + kind <= kPageSize) {
                    AppendRecord(kind, page + offset, cursor);
                } else {
                    carry = kPageSize - offset;
                    std::copy(page + offset, page + kPageSize, save.begin());
                    pendingKind = kind;
                }
                offset += kind;
            }
            offset -= kPageSize;
        }
        address += kPageSize;
        Post(ST_TRACK_PAGE, count);
        if (count > MaxPageCount) return;
    }
}

void TDeviceIO::SendFirmwareBlocks() {
    const std::uint8_t* tx = link_.TxBuffer.data();
    const int length = DataLength;
    // Never send a byte of an image whose block chain does not hold together.
    if (length < 0 || length > MaxFirmwareImage || !BlockChainIsWhole(tx, length)) {
        Post(ST_NO_LINK);
        return;
    }
    int last = 255;
    for (int pos = 0; pos < length;) {
        const int block = tx[pos] * 256 + tx[pos + 1] + 2;
        bool accepted = false;
        for (int send = 0; send < FirmwareSends && !accepted; ++send) {
            if (send > 0) WaitQuietLine();
            if (Lost()) break;
            ClearArrivals();
            SendInChunks(pos, block);
            const std::uint8_t answer = WaitBlockAnswer();
            if (answer == FW_WRONG_DEVICE) {
                Post(ST_FW_REJECTED);
                return;
            }
            accepted = answer == FW_ACK;
        }
        if (!accepted) {
            Post(ST_NO_LINK, LostValue());
            return;
        }
        const int percent = pos * 100 / length;
        if (percent != last) {
            last = percent;
            if (percent % 2 == 0) Post(ST_FW_PROGRESS, percent);
        }
        pos += block;
    }
    Post(ST_FW_PROGRESS, 100);
}

void TDeviceIO::SendInChunks(int start, int size) {
    const std::uint8_t* tx = link_.TxBuffer.data();
    while (size > 0 && !Lost()) {
        if (size >= FirmwarePiece) {
            link_.comport.SendData(tx + start, FirmwarePiece);
            start += FirmwarePiece;
            size -= FirmwarePiece;
            Pause(Timing.chunkPause);
        } else {
            link_.comport.SendData(tx + start, static_cast<std::uint32_t>(size));
            size = 0;
        }
    }
}

std::uint8_t TDeviceIO::WaitBlockAnswer() {
    for (int polls = 0; link_.ReceiveCount() == 0 && polls < FirmwareAnswerPolls && !Lost();
         ++polls)
        SleepStep();
    if (link_.ReceiveCount() == 0) return 0;
    const std::uint8_t answer = link_.RxBuffer[0];
    return answer == FW_ACK || answer == FW_RETRY || answer == FW_WRONG_DEVICE ? answer : 0;
}

}  // namespace device
