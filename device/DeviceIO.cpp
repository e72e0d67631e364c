#include "device/DeviceIO.h"

#include <algorithm>
#include <optional>
#include <thread>
#include <utility>

#include "device/Frames.h"
#include "device/PortActivity.h"
#include "device/TrackLists.h"
#include "serial/BCC.h"
#include "serial/LinkLog.h"
#include "serial/UnitNVC.h"

namespace device {

enum class TReplyVerdict : std::uint8_t {
    Take,
    AskAgain,  // may be the answer to the request before: one more try, not a failed one
    Refuse,    // answers another request: a failed try
};

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
        TPortActivity::Instance().Ending(this);
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
bool TDeviceIO::WaitQuietLine(std::chrono::microseconds quiet) {
    const auto start = Clock::now();
    const auto heardBefore = lastArrival_;
    NoteArrivals();
    while (!Lost()) {
        const auto now = Clock::now();
        // Counting ticks as well keeps a busy machine's late ticks from
        // passing for a silent line.
        const bool silentTicks =
            link_.comport.PollTicks() >= arrivalTick_ + QuietPollingPeriods + 1;
        if ((now - lastArrival_ >= quiet && silentTicks) || now - start >= Timing.quietLimit)
            return lastArrival_ != heardBefore;
        if (seenCount_ >= kQuietClearAt) {
            link_.ClearReceive();
            seenCount_ = 0;
        }
        SleepStep();
    }
    return lastArrival_ != heardBefore;
}

std::chrono::microseconds TDeviceIO::PollingQuiet() const {
    return std::max<std::chrono::microseconds>(
        QuietPollingPeriods * std::chrono::milliseconds(link_.comport.PollingDelay()),
        link_.adapterQuietGap);
}

// An answer later than this would have failed its own try had it begun so late.
// The waits count polls, which a busy machine stretches: the longest a try
// of this operation really waited counts too.
std::chrono::microseconds TDeviceIO::LateAnswerQuiet() const {
    return std::max({std::chrono::microseconds(FirstReplyPolls * Timing.pollStep), PollingQuiet(),
                     silentWait_});
}

void TDeviceIO::WaitQuietLine() { WaitQuietLine(PollingQuiet()); }

bool OpeningWaitNeeded(const std::optional<serial::TNonVisComp::TQuietEnd>& quietEnd,
                       const QString& port, std::chrono::steady_clock::time_point now) {
    return !quietEnd || quietEnd->port != port || now < quietEnd->at ||
           now - quietEnd->at >= QuietEndTrusted;
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
    const auto lateAnswer = std::exchange(link_.lateAnswerWait, std::nullopt);
    const auto quietEnd = std::exchange(link_.quietEnd, std::nullopt);
    try {
        // The rest of an answer to an earlier program or operation may still
        // be on its way: nothing of it may pass for this operation's reply.
        // A line heard busy is given as long as a late answer. An operation
        // that left a late answer to wait for left no quiet end.
        ClearArrivals();
        silentWait_ = lateAnswer.value_or(std::chrono::microseconds(0));
        if (OpeningWaitNeeded(quietEnd, link_.comport.PortName(), Clock::now()) &&
            WaitQuietLine(lateAnswer ? LateAnswerQuiet() : PollingQuiet()))
            WaitQuietLine(LateAnswerQuiet());
        RunOperation();
    } catch (const Abandoned&) {
        // The program is closing; nobody waits for a status any more.
    }
    const bool answerMayFollow = lastTryFailed_ || replyMayFollow_;
    link_.lateAnswerWait =
        answerMayFollow ? std::optional<std::chrono::microseconds>(silentWait_) : std::nullopt;
    // A firmware answer is one byte that says nothing of what may follow it.
    if (!answerMayFollow && Operation != OP_FIRMWARE && lastReplyLength_ > 0 &&
        link_.ReceiveCount() == lastReplyLength_)
        link_.quietEnd = serial::TNonVisComp::TQuietEnd{link_.comport.PortName(), Clock::now()};
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
        case OP_SCAN_HEADERS:
            ScanHeaders();
            break;
        default:
            break;  // no operation
    }
}

void TDeviceIO::SendRequest(int length) {
    ClearArrivals();
    lastReplyLength_ = 0;
    qCDebug(serial::lcLink).noquote()
        << "request" << length << "bytes:"
        << QByteArray(reinterpret_cast<const char*>(link_.TxBuffer.data()), std::min(length, 10))
               .toHex(' ');
    link_.SendFrame(length);
}

bool TDeviceIO::WaitReply(bool answerMayFollowFrame) {
    lastTryFailed_ = true;
    const std::uint8_t* rx = link_.RxBuffer.data();
    const auto sent = Clock::now();
    int polls = 0;
    while (link_.ReceiveCount() == 0 && polls < FirstReplyPolls && !Lost()) {
        SleepStep();
        ++polls;
    }
    if (link_.ReceiveCount() == 0) {
        silentWait_ =
            std::max(silentWait_,
                     std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - sent));
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
    // A sound frame of another kind or length answers another request: a
    // late or repeated answer to an earlier one, taken as this one's it would
    // be read as data of the wrong kind.
    if (!ReplyAnswers(link_.TxBuffer.data(), rx)) {
        qCDebug(serial::lcLink) << "reply to another request: header" << rx[0] << "length"
                                << length;
        Post(ST_BAD_REPLY);
        return false;
    }
    qCDebug(serial::lcLink) << "reply" << length << "bytes, check byte good";
    lastTryFailed_ = false;
    lastReplyLength_ = length;
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

// `judge` tells whether a reply of the right kind answers this request; its
// argument says whether the try before brought the very same frame.
bool TDeviceIO::TryRead(std::uint8_t command, std::uint32_t address, int tries,
                        std::chrono::milliseconds pause,
                        const std::function<TReplyVerdict(bool repeated)>& judge) {
    // The instrument may still answer an unanswered try of the last request,
    // and nothing in a page tells which request it answers. Such an answer
    // would have failed its own try had it begun as late: wait that long.
    if (replyMayFollow_) WaitQuietLine(LateAnswerQuiet());
    replyMayFollow_ = false;
    bool silentTry = false;
    // The data of the frame the try before took, if any: byte 1 and with it
    // the check byte may differ between two answers of the same memory.
    std::vector<std::uint8_t> lastTry;
    for (int attempt = 0; attempt < tries; ++attempt) {
        if (Lost()) return false;
        BuildAddressRequest(link_.TxBuffer.data(), command, address);
        SendRequest(LongRequestLength);
        // After an unanswered try its late answer and this try's come back to
        // back; both carry the same bytes, so the first whole one is taken.
        const bool whole = WaitReply(silentTry);
        if (whole) {
            const std::uint8_t* rx = link_.RxBuffer.data();
            const std::uint8_t* data = rx + kReplyDataOffset;
            const std::size_t size = static_cast<std::size_t>(FrameLength(rx) - 5);
            const bool repeated =
                lastTry.size() == size && std::equal(lastTry.begin(), lastTry.end(), data);
            const TReplyVerdict verdict = judge(repeated);
            if (verdict == TReplyVerdict::Take) {
                replyMayFollow_ = silentTry;
                return true;
            }
            lastTryFailed_ = true;
            lastTry.assign(data, data + size);
            if (verdict == TReplyVerdict::Refuse) Post(ST_BAD_REPLY);
        } else {
            lastTry.clear();
        }
        if (Lost()) return false;
        silentTry = silentTry || link_.ReceiveCount() == 0;
        if (attempt + 1 < tries) WaitQuietLine();
        Pause(pause);
    }
    return false;
}

namespace {
// A sector header names its own sector, or it is erased flash, which names
// none. A header naming another sector answers another request: of this
// flight always; the first one, or one of another flight, unless the same
// frame came on two tries in a row, which is what the memory holds (the
// header check then ends the download as for any such header). An erased
// header right after an erased page may be that page again: `askErased`
// makes sure by asking once more.
TReplyVerdict JudgeHeader(const std::uint8_t* bytes, std::uint16_t sector,
                          const TrackCursor& cursor, bool repeated, bool askErased) {
    const TSectorHeader header = ParseSectorHeader(sector, bytes);
    if (header.sectorNumber == sector) return TReplyVerdict::Take;
    if (header.Erased())
        return askErased && !repeated ? TReplyVerdict::AskAgain : TReplyVerdict::Take;
    if (cursor.haveFlight && header.flight == cursor.flight) return TReplyVerdict::Refuse;
    return repeated ? TReplyVerdict::Take : TReplyVerdict::Refuse;
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
    } else if (flight != cursor.flight || ParseSectorHeader(0, header).Erased()) {
        // Erased flash reads as flight 65535 too; for that flight it is the
        // end of its track all the same.
        flightChanged = true;
        return HeaderVerdict::Stop;
    }
    cursor.time = ParseSectorHeader(0, header).RecordTime();
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
    const auto judge = [&](bool repeated) {
        return JudgeHeader(sector, static_cast<std::uint16_t>(address / kSectorSize), cursor,
                           repeated, false);
    };
    for (int count = 1;; ++count) {
        if (!TryRead(CMD_READ_SECTOR, address, SectorTries, Timing.sectorRetryPause, judge)) {
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
        if (count > Limits.sectors) return;
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
    // Only a sector's first page says where it lies; a record page is taken
    // as it comes.
    bool lastPageErased = false;
    const auto judge = [&](bool repeated) {
        if (address % kSectorSize != 0) return TReplyVerdict::Take;
        return JudgeHeader(page, static_cast<std::uint16_t>(address / kSectorSize), cursor,
                           repeated, lastPageErased);
    };
    for (int count = 1;; ++count) {
        if (!TryRead(CMD_READ_PAGE, address, PageTries, Timing.pageRetryPause, judge)) {
            Post(ST_NO_LINK, LostValue());
            return;
        }
        lastPageErased =
            std::all_of(page, page + kPageSize, [](std::uint8_t b) { return b == 0xFF; });
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
        if (count > Limits.pages) return;
    }
}

void TDeviceIO::ScanHeaders() {
    if (!Headers) return;
    const std::uint8_t* page = link_.RxBuffer.data() + kReplyDataOffset;
    std::uint16_t sector = StartSector;
    // A header names its own sector; erased flash names none. Anything else
    // may answer the request before, unless two tries bring it alike.
    const auto judge = [&](bool repeated) {
        const TSectorHeader header = ParseSectorHeader(sector, page);
        return header.sectorNumber == sector || header.Erased() || repeated
                   ? TReplyVerdict::Take
                   : TReplyVerdict::AskAgain;
    };
    int count = 0;
    for (; count < SectorCount && !Headers->Cancelled(); ++count, ++sector) {
        if (!TryRead(CMD_READ_PAGE, std::uint32_t{sector} * kSectorSize, PageTries,
                     Timing.pageRetryPause, judge)) {
            Post(ST_NO_LINK, LostValue());
            return;
        }
        Headers->Append(ParseSectorHeader(sector, page));
        Post(ST_TRACK_PAGE, count + 1);
    }
    Post(ST_HEADERS_READ, count);
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
    bool answerMayFollow = false;
    for (int pos = 0; pos < length;) {
        const int block = tx[pos] * 256 + tx[pos + 1] + 2;
        // A send of the block before went unanswered, yet a later one was
        // accepted: the late answer must not pass for this block's.
        if (answerMayFollow) WaitQuietLine(FirmwareAnswerPolls * Timing.pollStep);
        answerMayFollow = false;
        bool accepted = false;
        for (int send = 0; send < FirmwareSends && !accepted; ++send) {
            if (send > 0) WaitQuietLine();
            if (Lost()) break;
            ClearArrivals();
            const std::int32_t answerAt = SendInChunks(pos, block);
            const std::uint8_t answer = WaitBlockAnswer(answerAt);
            if (answer == FW_WRONG_DEVICE) {
                Post(ST_FW_REJECTED);
                return;
            }
            accepted = answer == FW_ACK;
            if (!accepted && link_.ReceiveCount() <= answerAt) answerMayFollow = true;
        }
        lastTryFailed_ = !accepted || answerMayFollow;
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

std::int32_t TDeviceIO::SendInChunks(int start, int size) {
    const std::uint8_t* tx = link_.TxBuffer.data();
    std::int32_t beforeLast = 0;
    while (size > 0 && !Lost()) {
        const int piece = std::min(size, FirmwarePiece);
        // The instrument can answer only once it has the whole block: bytes
        // that came before the last piece went out answer something else.
        if (piece == size) beforeLast = link_.ReceiveCount();
        link_.comport.SendData(tx + start, static_cast<std::uint32_t>(piece));
        start += piece;
        size -= piece;
        if (piece == FirmwarePiece) Pause(Timing.chunkPause);
    }
    return beforeLast;
}

std::uint8_t TDeviceIO::WaitBlockAnswer(std::int32_t at) {
    for (int polls = 0; link_.ReceiveCount() <= at && polls < FirmwareAnswerPolls && !Lost();
         ++polls)
        SleepStep();
    if (link_.ReceiveCount() <= at) return 0;
    const std::uint8_t answer = link_.RxBuffer[static_cast<std::size_t>(at)];
    return answer == FW_ACK || answer == FW_RETRY || answer == FW_WRONG_DEVICE ? answer : 0;
}

}  // namespace device
