#include "flow/FlightScan.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <map>
#include <set>

#include "device/AppError.h"
#include "device/FileStore.h"
#include "device/PortActivity.h"
#include "serial/UnitNVC.h"

namespace flow {

using namespace device;

namespace {

struct TKeptScan {
    track::TFlightStatsReply last;
    std::vector<TSectorHeader> headers;
};

// Whether `headers` are a whole scan of `count` sectors, the only kind that
// is kept or used again.
bool Whole(const std::vector<TSectorHeader>& headers, int count) {
    return int(headers.size()) == count;
}

std::map<QString, TKeptScan>& KeptScans() {
    static std::map<QString, TKeptScan> kept;
    return kept;
}

// A scan file is small: a few hundred headers per instrument.
constexpr qint64 kMaxCacheFileBytes = 4 * 1024 * 1024;

QJsonArray StatsJson(const track::TFlightStatsReply& s) {
    return {s.flightNumber, s.startSector,     s.year,     s.month,   s.day,         s.hour,
            s.minute,       s.durationMinutes, s.maxClimb, s.maxSink, s.maxAltitude, s.maxSpeed,
            s.maxDistance,  s.distance};
}

std::optional<track::TFlightStatsReply> StatsFromJson(const QJsonArray& a) {
    if (a.size() != 14) return std::nullopt;
    track::TFlightStatsReply s;
    int i = 0;
    const auto next = [&] { return a[i++].toInt(); };
    s.flightNumber = std::uint16_t(next());
    s.startSector = std::uint16_t(next());
    s.year = std::uint16_t(next());
    s.month = std::uint8_t(next());
    s.day = std::uint8_t(next());
    s.hour = std::uint8_t(next());
    s.minute = std::uint8_t(next());
    s.durationMinutes = std::uint16_t(next());
    s.maxClimb = std::int16_t(next());
    s.maxSink = std::int16_t(next());
    s.maxAltitude = std::int16_t(next());
    s.maxSpeed = std::uint8_t(next());
    s.maxDistance = std::uint16_t(next());
    s.distance = std::uint16_t(next());
    return s;
}

QJsonArray HeaderJson(const TSectorHeader& h) {
    return {h.sector, h.flight, h.sectorNumber, h.year, h.month, h.day, h.hour, h.minute, h.second};
}

std::optional<TSectorHeader> HeaderFromJson(const QJsonArray& a) {
    if (a.size() != 9) return std::nullopt;
    TSectorHeader h;
    h.sector = std::uint16_t(a[0].toInt());
    h.flight = std::uint16_t(a[1].toInt());
    h.sectorNumber = std::uint16_t(a[2].toInt());
    h.year = std::uint16_t(a[3].toInt());
    h.month = std::uint8_t(a[4].toInt());
    h.day = std::uint8_t(a[5].toInt());
    h.hour = std::uint8_t(a[6].toInt());
    h.minute = std::uint8_t(a[7].toInt());
    h.second = std::uint8_t(a[8].toInt());
    return h;
}

// The file's scans; a missing or damaged file keeps none (it is only a
// saving of time: the memory is read again).
QJsonObject ReadCacheFile(const QString& path) {
    if (path.isEmpty() || !QFileInfo::exists(path)) return {};
    try {
        return QJsonDocument::fromJson(ReadRegularFile(path, kMaxCacheFileBytes)).object();
    } catch (const TAppError&) {
        return {};
    }
}

std::optional<TKeptScan> KeptScanOf(const QJsonObject& file, const QString& key) {
    const QJsonObject entry = file.value(key).toObject();
    const std::optional<track::TFlightStatsReply> last =
        StatsFromJson(entry.value(QStringLiteral("last")).toArray());
    if (!last) return std::nullopt;
    TKeptScan kept{*last, {}};
    for (const QJsonValue& value : entry.value(QStringLiteral("headers")).toArray()) {
        const std::optional<TSectorHeader> header = HeaderFromJson(value.toArray());
        if (!header) return std::nullopt;
        kept.headers.push_back(*header);
    }
    return kept;
}

// Keeps the scan in the file beside the others'; a failure only costs the
// next run a scan.
void WriteCacheFile(const QString& path, const QString& key, const TKeptScan& scan) {
    if (path.isEmpty()) return;
    QJsonObject file = ReadCacheFile(path);
    QJsonArray headers;
    for (const TSectorHeader& h : scan.headers) headers.append(HeaderJson(h));
    file.insert(key, QJsonObject{{QStringLiteral("last"), StatsJson(scan.last)},
                                 {QStringLiteral("headers"), headers}});
    try {
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteFileSafely(path, QJsonDocument(file).toJson(QJsonDocument::Compact));
    } catch (const TAppError&) {
    }
}

// The flights downloaded from lists, per instrument, by track::FlightKey.
std::map<QString, std::set<QString>>& DownloadedFlights() {
    static std::map<QString, std::set<QString>> downloaded;
    return downloaded;
}

const QString kDownloadedKey = QStringLiteral("downloaded");

// Adds the marks the file holds for `key` to those in memory.
void ReadDownloaded(const QString& path, const QString& key) {
    const QJsonArray marks =
        ReadCacheFile(path).value(kDownloadedKey).toObject().value(key).toArray();
    for (const QJsonValue& mark : marks) DownloadedFlights()[key].insert(mark.toString());
}

// Whether a scan of `count` sectors reads `sector`.
bool Scanned(std::uint16_t sector, int count) {
    return sector >= ScanFirstSector && sector < ScanFirstSector + count;
}

// Adds `sector` to the runs of sectors to read again, in rising order.
template <typename TRange>
void AddRange(std::vector<TRange>& ranges, std::uint16_t sector) {
    if (!ranges.empty() && ranges.back().first + ranges.back().count == sector)
        ++ranges.back().count;
    else
        ranges.push_back({sector, 1});
}

}  // namespace

QString TInstrumentKey::Text() const {
    return QStringLiteral("%1/%2").arg(model).arg(firmwareVersion);
}

TFlightScan::TFlightScan(serial::TNonVisComp& link, TScanReports& reports, QObject* parent)
    : QObject(parent), link_(link), reports_(reports) {
    receiver_.OnStatus = [this](int code, qintptr value) { OnStatus(code, value); };
}

TFlightScan::~TFlightScan() {
    if (log_) log_->Cancel();
    if (running_) running_->OnTerminate = nullptr;
}

void TFlightScan::ForgetKeptScans() {
    KeptScans().clear();
    DownloadedFlights().clear();
}

void TFlightScan::MarkDownloaded(const TInstrumentKey& key, const track::TListedFlight& flight,
                                 const QString& cacheFile) {
    const QString instrument = key.Text();
    ReadDownloaded(cacheFile, instrument);
    std::set<QString>& marks = DownloadedFlights()[instrument];
    if (!marks.insert(track::FlightKey(flight)).second || cacheFile.isEmpty()) return;
    QJsonObject file = ReadCacheFile(cacheFile);
    QJsonObject downloaded = file.value(kDownloadedKey).toObject();
    QJsonArray list;
    for (const QString& mark : marks) list.append(mark);
    downloaded.insert(instrument, list);
    file.insert(kDownloadedKey, downloaded);
    // A mark that cannot be kept only lets the flight be offered again.
    try {
        QDir().mkpath(QFileInfo(cacheFile).absolutePath());
        WriteFileSafely(cacheFile, QJsonDocument(file).toJson(QJsonDocument::Compact));
    } catch (const TAppError&) {
    }
}

bool TFlightScan::StartWorker(TDeviceIO* worker) {
    worker->Timing = Timing;
    running_ = worker;
    worker->OnTerminate = [self = QPointer<TFlightScan>(this)] {
        if (self) self->WorkerEnded();
    };
    worker->Start();
    return true;
}

bool TFlightScan::Start(const TInstrumentKey& key, bool fresh) {
    if (active_ || running_) return false;
    if (PortInUse(link_)) {
        reports_.Finished(Report(TOutcome::PortBusy), false);
        return false;
    }
    active_ = true;
    cancelled_ = false;
    fresh_ = fresh;
    fromCache_ = false;
    phase_ = TPhase::Stats;
    outcome_.reset();
    key_ = key;
    lastStats_.reset();
    flights_.clear();
    headers_.clear();
    ranges_.clear();
    ReadDownloaded(CacheFile, key_.Text());
    TDeviceIO* worker = TDeviceIO::Create(link_, receiver_.Target());
    worker->Operation = OP_READ_STATS;
    worker->FlightIndex = 0;
    return StartWorker(worker);
}

void TFlightScan::Cancel() {
    if (!active_) return;
    cancelled_ = true;
    if (log_) log_->Cancel();
}

void TFlightScan::OnStatus(int code, qintptr value) {
    switch (code) {
        case ST_STATS_READ:
            lastStats_ = track::ParseFlightStats(link_.RxBuffer.data());
            break;
        case ST_TRACK_PAGE:
            if (phase_ == TPhase::Memory) reports_.Progress(int(value), SectorCount);
            break;
        case ST_PORT_FAILED:
        case ST_NO_LINK:
            outcome_ = FailureOfStatus(code, value, TOutcome::NoDevice, link_);
            break;
        default:
            break;
    }
}

void TFlightScan::WorkerEnded() {
    running_ = nullptr;
    if (!active_) return;
    switch (phase_) {
        case TPhase::Stats:
            return StatsEnded();
        case TPhase::Memory:
            return MemoryEnded();
        case TPhase::Recheck:
        case TPhase::KeptCheck:
            return RangeEnded();
    }
}

void TFlightScan::StatsEnded() {
    if (outcome_) return Finish(*outcome_);
    if (!lastStats_) return Finish(Report(TOutcome::NoDevice));
    if (cancelled_)
        return Finish(Report(TOutcome::TrackUnfinished,
                             QCoreApplication::translate("flow", "Поиск полётов прерван")));
    const QString key = key_.Text();
    if (!KeptScans().count(key))
        if (const std::optional<TKeptScan> kept = KeptScanOf(ReadCacheFile(CacheFile), key))
            KeptScans()[key] = *kept;
    const auto kept = KeptScans().find(key);
    if (fresh_ || kept == KeptScans().end() || !(kept->second.last == *lastStats_) ||
        !Whole(kept->second.headers, SectorCount))
        return StartReading();
    headers_ = kept->second.headers;
    const std::vector<track::TListedFlight> listed = track::FlightsInHeaders(headers_);
    const auto starts = [&](std::uint16_t sector, std::uint16_t number) {
        return std::any_of(listed.begin(), listed.end(), [&](const track::TListedFlight& f) {
            return f.firstSector == sector && f.flightNumber == number;
        });
    };
    // A list that cannot account for the last flight is no list of this memory.
    if (Scanned(lastStats_->startSector, SectorCount) &&
        !starts(lastStats_->startSector, lastStats_->flightNumber))
        return StartReading();
    ranges_.clear();
    for (const track::TListedFlight& flight : listed) {
        const int before = flight.firstSector - 1 - ScanFirstSector;
        if (before >= 0 && headers_[std::size_t(before)].Erased())
            AddRange(ranges_, std::uint16_t(flight.firstSector - 1));
    }
    std::sort(ranges_.begin(), ranges_.end(),
              [](const TRange& a, const TRange& b) { return a.first < b.first; });
    phase_ = TPhase::KeptCheck;
    keptDiffers_ = false;
    NextRange();
}

void TFlightScan::StartReading() {
    phase_ = TPhase::Memory;
    log_ = std::make_shared<TSectorHeaderLog>();
    TDeviceIO* worker = TDeviceIO::Create(link_, receiver_.Target());
    worker->Operation = OP_SCAN_HEADERS;
    worker->StartSector = ScanFirstSector;
    worker->SectorCount = SectorCount;
    worker->Headers = log_;
    StartWorker(worker);
}

void TFlightScan::MemoryEnded() {
    headers_ = log_ ? log_->Snapshot() : std::vector<TSectorHeader>{};
    if (outcome_ || cancelled_ || !Whole(headers_, SectorCount)) {
        // A link lost or a scan stopped part-way: what was read is listed.
        Conclude(headers_);
        return Finish(*outcome_);
    }
    ranges_.clear();
    std::size_t lastWritten = 0;
    for (std::size_t i = 0; i < headers_.size(); ++i)
        if (!headers_[i].Erased()) lastWritten = i;
    for (std::size_t i = 0; i < lastWritten; ++i)
        if (headers_[i].Erased()) AddRange(ranges_, headers_[i].sector);
    const std::uint16_t lastStart = lastStats_->startSector;
    const std::vector<track::TListedFlight> listed = track::FlightsInHeaders(headers_);
    const bool listedLast =
        std::any_of(listed.begin(), listed.end(),
                    [&](const track::TListedFlight& f) { return f.firstSector == lastStart; });
    // Sectors up to the last written one are in the runs already.
    if (Scanned(lastStart, SectorCount) && !listedLast &&
        std::size_t(lastStart - ScanFirstSector) >= lastWritten)
        AddRange(ranges_, lastStart);
    phase_ = TPhase::Recheck;
    NextRange();
}

void TFlightScan::NextRange() {
    if (cancelled_ && phase_ == TPhase::Recheck) {
        Conclude(headers_);
        return Finish(*outcome_);
    }
    if (ranges_.empty() || (phase_ == TPhase::KeptCheck && keptDiffers_)) {
        if (phase_ == TPhase::KeptCheck) {
            if (keptDiffers_) return StartReading();
            fromCache_ = true;
            flights_ = track::FlightsInHeaders(headers_);
            RefreshLogbookMarks();
            return Finish(Report(TOutcome::Done));
        }
        Conclude(headers_);
        return Finish(*outcome_);
    }
    const TRange range = ranges_.front();
    ranges_.erase(ranges_.begin());
    // A worker of its own: it opens the port afresh, so no answer to a
    // request of the scan can pass for this one's.
    log_ = std::make_shared<TSectorHeaderLog>();
    TDeviceIO* worker = TDeviceIO::Create(link_, receiver_.Target());
    worker->Operation = OP_SCAN_HEADERS;
    worker->StartSector = range.first;
    worker->SectorCount = range.count;
    worker->Headers = log_;
    StartWorker(worker);
}

void TFlightScan::RangeEnded() {
    if (outcome_) {
        // The scan read before the link failed is listed, not kept.
        flights_ = track::FlightsInHeaders(headers_);
        RefreshLogbookMarks();
        return Finish(*outcome_);
    }
    for (const TSectorHeader& again : log_->Snapshot()) {
        const std::size_t at = std::size_t(again.sector - ScanFirstSector);
        // Only a header that names its own sector is surely that sector's.
        if (at >= headers_.size() || again.Erased() || again.sectorNumber != again.sector) continue;
        if (!(headers_[at] == again)) {
            keptDiffers_ = true;
            headers_[at] = again;
        }
    }
    NextRange();
}

void TFlightScan::Conclude(const std::vector<TSectorHeader>& headers) {
    if (outcome_) {
        flights_ = track::FlightsInHeaders(headers);
        RefreshLogbookMarks();
        return;
    }
    flights_ = track::FlightsInHeaders(headers);
    RefreshLogbookMarks();
    if (Whole(headers, SectorCount) && !cancelled_) {
        const TKeptScan scan{*lastStats_, headers};
        KeptScans()[key_.Text()] = scan;
        WriteCacheFile(CacheFile, key_.Text(), scan);
        outcome_ = Report(TOutcome::Done);
    } else {
        outcome_ = Report(TOutcome::TrackUnfinished,
                          QCoreApplication::translate(
                              "flow", "Поиск полётов прерван: прочитано секторов %1 из %2")
                              .arg(headers.size())
                              .arg(SectorCount));
    }
}

void TFlightScan::Finish(const TReport& outcome) {
    active_ = false;
    phase_ = TPhase::Stats;
    log_.reset();
    reports_.Finished(outcome, fromCache_);
}

void TFlightScan::RefreshLogbookMarks() {
    const std::set<QString>& downloaded = DownloadedFlights()[key_.Text()];
    for (track::TListedFlight& flight : flights_)
        flight.inLogbook =
            (Lookup && Lookup->Holds(flight)) || downloaded.count(track::FlightKey(flight)) > 0;
}

}  // namespace flow
