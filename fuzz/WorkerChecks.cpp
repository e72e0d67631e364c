#include "fuzz/WorkerChecks.h"

#include <QCoreApplication>
#include <QObject>
#include <algorithm>
#include <pugixml.hpp>
#include <vector>

#include "device/DeviceIO.h"
#include "device/Frames.h"
#include "device/Messages.h"
#include "device/TrackLists.h"
#include "fuzz/FakePort.h"
#include "serial/BCC.h"
#include "serial/UnitNVC.h"
#include "track/TrackExport.h"

namespace fuzz {

namespace {

using namespace device;

constexpr std::uint32_t kSector = 4096;
constexpr std::uint32_t kPage = 256;

// Reads the input front to back; past its end every read is 0.
class TInput {
  public:
    TInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool AtEnd() const { return pos_ >= size_; }
    std::uint8_t Peek() const { return pos_ < size_ ? data_[pos_] : 0; }
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint16_t Word() {
        const std::uint8_t low = Byte();
        return static_cast<std::uint16_t>(low | (Byte() << 8));
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

std::vector<std::uint8_t> Framed(std::vector<std::uint8_t> payload, bool shortFrame, bool badCheck,
                                 std::uint8_t command) {
    std::vector<std::uint8_t> frame;
    if (shortFrame) {
        payload.resize(std::min<std::size_t>(payload.size(), 251));
        frame = {FRAME_SHORT, static_cast<std::uint8_t>(payload.size() + 4), command};
    } else {
        const std::size_t length = payload.size() + 5;
        frame = {FRAME_LONG, command, static_cast<std::uint8_t>(length >> 8),
                 static_cast<std::uint8_t>(length)};
    }
    frame.insert(frame.end(), payload.begin(), payload.end());
    const int n = static_cast<int>(frame.size());
    frame.push_back(
        static_cast<std::uint8_t>(serial::Crc8(frame.data(), n, n) ^ (badCheck ? 1 : 0)));
    return frame;
}

// Records from the input into `area`: GPS and sensor records, stray bytes,
// and the rest erased.
void FillRecords(TInput& in, std::uint8_t* area, std::size_t size) {
    std::fill(area, area + size, std::uint8_t{0xFF});
    const int ops = in.Byte();
    std::size_t pos = 0;
    for (int i = 0; i < ops && pos < size; ++i) {
        const std::uint8_t op = in.Byte();
        const std::size_t length = op % 3 == 0 ? 12 : op % 3 == 1 ? 6 : 1;
        for (std::size_t k = 0; k < length && pos < size; ++k, ++pos)
            area[pos] = k == 0 && length > 1 ? static_cast<std::uint8_t>(length) : in.Byte();
    }
}

void FillHeader(TInput& in, std::uint8_t* header, std::uint32_t address, bool ownSector) {
    const std::uint16_t flight = in.Byte() & 3;
    const std::uint16_t sector =
        ownSector ? static_cast<std::uint16_t>(address / kSector) : in.Word();
    header[4] = static_cast<std::uint8_t>(flight);
    header[5] = static_cast<std::uint8_t>(flight >> 8);
    header[6] = static_cast<std::uint8_t>(sector);
    header[7] = static_cast<std::uint8_t>(sector >> 8);
    for (int i = 8; i < 15; ++i) header[i] = in.Byte();
}

// The command of a request, which a built reply may carry in byte 1.
std::uint8_t RequestCommand(const std::uint8_t* sent, std::uint32_t size) {
    if (size >= 3 && sent[0] == FRAME_SHORT) return sent[2];
    if (size >= 2 && sent[0] == FRAME_LONG) return sent[1];
    return 0;
}

// True when `reply`, delivered whole, is a sound frame of the kind and
// length that answer `request`: identification a long frame that holds the
// settings block, or any short frame; statistics a long frame that holds its
// last field; a page or a sector its fixed length. Byte 1 of a long reply is
// not examined. Firmware pieces and unknown requests have no such reply.
bool AnswersRequest(const std::vector<std::uint8_t>& request,
                    const std::vector<std::uint8_t>& reply) {
    if (reply.size() < 2 || request.size() < 3) return false;
    const bool isShort = reply[0] == FRAME_SHORT;
    if (!isShort && (reply[0] != FRAME_LONG || reply.size() < 4)) return false;
    // Bytes behind the frame may be another answer to the same request.
    const std::size_t n = isShort ? reply[1] : reply[2] * 256u + reply[3];
    if (n < 1 || n > reply.size()) return false;
    const int last = static_cast<int>(n) - 1;
    if (serial::Crc8(reply.data(), last, last) != reply[n - 1]) return false;
    if (request[0] == FRAME_SHORT) return request[2] == 0x52 && (isShort || n >= 159);
    if (request[0] != FRAME_LONG || isShort) return false;
    switch (request[1]) {
        case 3:
            return n >= 45;
        case 2:
            return n == 261;
        case 4:
            return n == 4101;
        default:
            return false;
    }
}

// True when the reply carries a sector header that names another sector
// than the one asked for: the one thing in a reply that says which request
// it answers. Erased flash names none.
bool HeaderNamesAnotherSector(const std::vector<std::uint8_t>& request,
                              const std::vector<std::uint8_t>& reply) {
    if (request.size() < 8 || request[0] != FRAME_LONG || reply.size() < 12) return false;
    const std::uint32_t address =
        request[4] | (request[5] << 8) | (request[6] << 16) | (std::uint32_t(request[7]) << 24);
    const bool header =
        request[1] == CMD_READ_SECTOR || (request[1] == CMD_READ_PAGE && address % kSector == 0);
    if (!header) return false;
    const std::uint16_t flight = LE16(&reply[8]);
    const std::uint16_t named = LE16(&reply[10]);
    const bool erased = flight == 0xFFFF && named == 0xFFFF;
    return !erased && named != address / kSector;
}

// What the fake instrument answered to the request it saw last: enough to
// tell whether the worker took a reply it must not take.
struct TExchange {
    std::vector<std::uint8_t> request;
    std::vector<std::uint8_t> reply;  // the last one to this request
    bool answers = false;             // reply is of the kind that answers request
    bool stale = false;               // reply is an earlier request's, sent again
    bool insisted = false;            // the try before got the very same bytes
};

struct TFakeInstrument {
    bool frames = true;  // false while firmware pieces go out, which are no requests
    TExchange last;
    TExchange lastSent;  // the last exchange that sent bytes back
    // Set when the worker asked for something new although the last reply
    // to its previous request was not one it may take.
    const char* broken = nullptr;
};

// A stale reply may be taken when nothing the protocol guarantees tells it
// from the right one: its kind and length fit, and it carries no sector
// header naming another sector; or the instrument gave it twice in a row.
bool MayBeTaken(const TExchange& e) {
    if (!e.answers) return false;
    return !e.stale || e.insisted || !HeaderNamesAnotherSector(e.request, e.reply);
}

// The reply to one write of the worker, or nothing when the input is spent.
// Returns false when the device is to vanish.
bool Answer(TInput& in, const std::uint8_t* sent, std::uint32_t size, serial::TNonVisComp& link,
            TFakeInstrument& fake) {
    const bool frameRequest =
        fake.frames && size >= 9 && (sent[0] == FRAME_SHORT || sent[0] == FRAME_LONG);
    const std::vector<std::uint8_t> request(sent, sent + (frameRequest ? size : 0));
    const bool sameRequest = frameRequest && request == fake.last.request;
    // The worker moves on to another request only with the last one answered.
    if (frameRequest && !sameRequest && !fake.last.request.empty() && !MayBeTaken(fake.last) &&
        !fake.broken)
        fake.broken = "a reply to another request or of another kind was taken";
    if (in.AtEnd() || (in.Peek() & 0xE0) == 0xE0) {  // no answer, or the device vanishes
        if (frameRequest) fake.last = {request, {}, false, false, false};
        return in.AtEnd() || (in.Byte() & 0xE0) != 0xE0;
    }
    const std::uint8_t mode = in.Byte();
    const bool badCheck = (mode & 0x10) != 0;
    const bool ownSector = (mode & 0x08) == 0;
    // The command byte of built frames: the request's, or another.
    const std::uint8_t command =
        (mode & 0x04) && (mode & 3) != 0 ? in.Byte() : RequestCommand(sent, size);
    std::uint32_t address = 0;
    if (size >= 8 && sent[0] == FRAME_LONG)
        address = sent[4] | (sent[5] << 8) | (sent[6] << 16) | (std::uint32_t(sent[7]) << 24);
    std::vector<std::uint8_t> reply;
    bool stale = false;
    if ((mode & 0xE0) == 0x60) {  // the last reply again, as an instrument one behind sends it
        reply = fake.lastSent.reply;
        stale = request != fake.lastSent.request || fake.lastSent.stale;
    } else
        switch (mode & 3) {
            case 0: {  // raw bytes
                const int n = in.Byte() + ((mode & 4) ? 256 * (in.Byte() & 0x1F) : 0);
                for (int i = 0; i < n && !in.AtEnd(); ++i) reply.push_back(in.Byte());
                break;
            }
            case 1: {  // a sector
                std::vector<std::uint8_t> data(kSector, 0xFF);
                FillHeader(in, data.data(), address, ownSector);
                FillRecords(in, data.data() + kPage, kSector - kPage);
                reply = Framed(std::move(data), false, badCheck, command);
                break;
            }
            case 2: {  // a page: a sector's header page, or records
                std::vector<std::uint8_t> data(kPage, 0xFF);
                if (address % kSector == 0)
                    FillHeader(in, data.data(), address, ownSector);
                else
                    FillRecords(in, data.data(), kPage);
                reply = Framed(std::move(data), false, badCheck, command);
                break;
            }
            default: {  // any payload as a frame
                std::vector<std::uint8_t> payload(in.Byte());
                for (auto& b : payload) b = in.Byte();
                reply = Framed(std::move(payload), (mode & 0x08) != 0, badCheck, command);
                break;
            }
        }
    if (frameRequest) {
        const bool insisted = sameRequest && !reply.empty() && reply == fake.last.reply;
        fake.last = {request, reply, AnswersRequest(request, reply), stale, insisted};
        if (!reply.empty()) fake.lastSent = fake.last;
    }
    if (!reply.empty())
        link.comportReceiveData(&link.comport, reply.data(),
                                static_cast<std::uint32_t>(reply.size()));
    return true;
}

class TStatusSink : public QObject {
  public:
    struct Status {
        int code;
        qintptr value;
    };
    std::vector<Status> statuses;

    bool event(QEvent* e) override {
        if (e->type() != WM_THREAD_MSG) return QObject::event(e);
        const auto* m = static_cast<const TMessageEvent*>(e);
        statuses.push_back({static_cast<int>(m->WParam), m->LParam});
        return true;
    }
};

serial::TNonVisComp& Link() {
    static serial::TNonVisComp* link = [] {
        auto* module = new serial::TNonVisComp;  // lives as long as the process
        module->comport.SetPortName(QStringLiteral("/dev/ttyFAKE0"));
        return module;
    }();
    return *link;
}

bool IsFinal(int code) {
    return code == ST_IDENTIFIED || code == ST_WRITTEN || code == ST_STATS_READ ||
           code == ST_PAGE_READ || code == ST_PORT_FAILED || code == ST_NO_LINK ||
           code == ST_FW_REJECTED;
}

const char* CheckStatuses(const std::vector<TStatusSink::Status>& statuses, std::uint8_t operation,
                          bool bySector) {
    if (statuses.empty()) return "no status at all";
    if (statuses[0].code != ST_PORT_OPEN) return "the first status is not the open port";
    const int limit = bySector ? MaxSectorCount + 1 : MaxPageCount + 1;
    qintptr progress = 0;
    qintptr percent = -1;
    for (std::size_t i = 1; i < statuses.size(); ++i) {
        const auto& s = statuses[i];
        if (s.code == ST_PORT_OPEN) return "the port opened twice";
        const bool last = i + 1 == statuses.size();
        if (IsFinal(s.code) && !last) return "a status after the final one";
        if (s.code == ST_FW_PROGRESS && s.value == 100 && !last) return "a status after 100 %";
        if (s.code == ST_TRACK_END && s.value == 0 && !last)
            return "a status after the track's end";
        if (s.code == ST_TRACK_PAGE) {
            if (operation != OP_TRACK) return "track progress outside a download";
            if (s.value != progress + 1) return "track progress did not rise by one";
            if (s.value > limit) return "track progress beyond the limit";
            progress = s.value;
        }
        if (s.code == ST_TRACK_END && operation != OP_TRACK) return "track end outside a download";
        if (s.code == ST_FW_PROGRESS) {
            if (operation != OP_FIRMWARE) return "firmware progress outside an update";
            if (s.value % 2 != 0 || s.value <= percent || s.value > 100)
                return "firmware progress not even and rising";
            percent = s.value;
        }
    }
    return nullptr;
}

}  // namespace

const char* CheckWorkerReplies(const std::uint8_t* data, std::size_t size) {
    serial::TNonVisComp& link = Link();
    TInput in(data, size);
    const std::uint8_t operation = static_cast<std::uint8_t>(in.Byte() % 6);
    const std::uint16_t parameter = in.Word();

    TStatusSink sink;
    TWindowHandle handle(&sink);
    TDeviceIO* worker = TDeviceIO::Create(link, handle.Target());
    worker->Timing.pollStep = std::chrono::microseconds(0);
    worker->Timing.sectorRetryPause = std::chrono::milliseconds(0);
    worker->Timing.pageRetryPause = std::chrono::milliseconds(0);
    worker->Timing.chunkPause = std::chrono::milliseconds(0);
    worker->Timing.quietLimit = std::chrono::milliseconds(0);
    bool bySector = true;
    switch (operation) {
        case 0:
            worker->Operation = OP_IDENTIFY;
            break;
        case 1:
            worker->Operation = OP_READ_STATS;
            worker->FlightIndex = parameter & 1;
            break;
        case 2:
            worker->Operation = OP_READ_PAGE;
            worker->PageAddress = std::int32_t{parameter} * 256;
            break;
        case 3:
        case 4:
            bySector = operation == 3;
            worker->Operation = OP_TRACK;
            worker->BySector = bySector;
            worker->StartSector = static_cast<std::uint16_t>(parameter | 1);
            break;
        default: {
            // An image of a few blocks; its bytes do not matter, its chain does.
            worker->Operation = OP_FIRMWARE;
            int length = 0;
            for (int block = 0; block <= (parameter & 7); ++block) {
                const int count = (parameter >> 3) % 150 + block;
                link.TxBuffer[length] = static_cast<std::uint8_t>(count >> 8);
                link.TxBuffer[length + 1] = static_cast<std::uint8_t>(count);
                length += count + 2;
            }
            worker->DataLength = length;
            break;
        }
    }
    TFakeInstrument fake;
    fake.frames = worker->Operation != OP_FIRMWARE;
    SetAnswerer(
        [&](const std::uint8_t* sent, std::uint32_t n) { return Answer(in, sent, n, link, fake); });
    const std::uint8_t op = worker->Operation;
    bool terminated = false;
    worker->OnTerminate = [&] { terminated = true; };
    worker->Start();
    worker->wait();  // a worker that never ends is a hang libFuzzer reports
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetAnswerer(nullptr);

    if (!terminated) return "the worker's end step did not run";
    if (link.PortClaimed()) return "the port is still claimed";
    if (const char* broken = CheckStatuses(sink.statuses, op, bySector)) return broken;
    if (fake.broken) return fake.broken;
    // A success, or a download that ended other than on spent tries, took
    // the last reply.
    const int final = sink.statuses.back().code;
    const bool tookLast = final == ST_IDENTIFIED || final == ST_STATS_READ ||
                          final == ST_PAGE_READ ||
                          (op == OP_TRACK && final != ST_NO_LINK && final != ST_PORT_OPEN &&
                           final != ST_BAD_REPLY && final != ST_BAD_HEADER);
    if (tookLast && !MayBeTaken(fake.last))
        return "a reply to another request or of another kind was taken at the end";

    if (op == OP_TRACK) {
        const TrackSnapshot lists = TrackLists().Snapshot();
        for (const GpsListEntry& e : lists.gps)
            if (e.record[0] != TrackGpsKind) return "a GPS entry without its kind byte";
        for (const EngListEntry& e : lists.eng)
            if (e.record[0] != TrackEngKind) return "a sensor entry without its kind byte";
        const std::string gpx = track::GpxText(lists.gps);
        pugi::xml_document doc;
        if (!doc.load_buffer(gpx.data(), gpx.size())) return "the GPX text does not parse";
        const pugi::xml_node seg = doc.child("gpx").child("trk").child("trkseg");
        if (!seg) return "the GPX text has no track segment";
        std::size_t points = 0;
        for (pugi::xml_node pt = seg.child("trkpt"); pt; pt = pt.next_sibling("trkpt")) ++points;
        if (points > lists.gps.size()) return "more GPX points than GPS entries";
    }
    return nullptr;
}

}  // namespace fuzz
