#include "flow/FlightScan.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <map>

#include "device/AppError.h"
#include "device/FileStore.h"
#include "serial/UnitNVC.h"

namespace flow {

using namespace device;

namespace {

struct TKeptScan {
    track::TFlightStatsReply last;
    std::vector<TSectorHeader> headers;
};

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
    if (int(kept.headers.size()) != ScanSectorCount) return std::nullopt;
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

device::TrackTime HeaderTime(const TSectorHeader& h, bool& dated) {
    device::TrackTime t = 0;
    dated = h.month != 0 && MakeTrackTime(h.year, h.month, h.day, h.hour, h.minute, h.second, t);
    return dated ? t : FallbackTrackTime();
}

QString Two(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

}  // namespace

QString TInstrumentKey::Text() const {
    return QStringLiteral("%1/%2").arg(model).arg(firmwareVersion);
}

std::vector<TListedFlight> FlightsInHeaders(const std::vector<TSectorHeader>& headers) {
    std::vector<TListedFlight> flights;
    for (std::size_t i = 0; i < headers.size();) {
        const TSectorHeader& first = headers[i];
        // A download starts only where a header names its own sector.
        if (first.Erased() || first.sectorNumber != first.sector) {
            ++i;
            continue;
        }
        TListedFlight flight;
        flight.flightNumber = first.flight;
        flight.firstSector = first.sector;
        flight.start = HeaderTime(first, flight.dated);
        std::size_t end = i + 1;
        while (end < headers.size() && headers[end].flight == first.flight &&
               !headers[end].Erased() && headers[end].sector == headers[end - 1].sector + 1)
            ++end;
        flight.sectors = int(end - i);
        bool lastDated = false;
        flight.lastSector = HeaderTime(headers[end - 1], lastDated);
        const bool span =
            flight.dated && lastDated && flight.lastSector >= flight.start && flight.sectors > 1;
        // The last sector is on the average half full.
        const device::TrackTime perSector =
            span ? (flight.lastSector - flight.start) / (flight.sectors - 1) : TypicalSectorSeconds;
        flight.durationEstimateSeconds =
            int(span ? flight.lastSector - flight.start + perSector / 2
                     : (flight.sectors - 1) * perSector + perSector / 2);
        if (!span) flight.lastSector = flight.start + (flight.sectors - 1) * perSector;
        flights.push_back(flight);
        i = end;
    }
    std::stable_sort(flights.begin(), flights.end(),
                     [](const TListedFlight& a, const TListedFlight& b) {
                         if (a.start != b.start) return a.start > b.start;
                         if (a.dated != b.dated) return a.dated;
                         return a.firstSector > b.firstSector;
                     });
    NameFlightFiles(flights);
    return flights;
}

void NameFlightFiles(std::vector<TListedFlight>& flights) {
    const auto count = [&](auto&& same) {
        return std::count_if(flights.begin(), flights.end(), same);
    };
    for (TListedFlight& f : flights) {
        const QString plain = QStringLiteral("Track%1").arg(f.flightNumber);
        if (count([&](const TListedFlight& o) { return o.flightNumber == f.flightNumber; }) == 1) {
            f.fileBase = plain;
            continue;
        }
        const bool dateShared =
            !f.dated || count([&](const TListedFlight& o) {
                            return o.flightNumber == f.flightNumber && o.start == f.start;
                        }) > 1;
        if (dateShared) {
            f.fileBase = plain + QStringLiteral("-s%1").arg(f.firstSector);
        } else {
            const QDateTime t = QDateTime::fromSecsSinceEpoch(f.start, Qt::UTC);
            f.fileBase = plain + t.toString(QStringLiteral("-yyyy-MM-dd-HHmm"));
        }
    }
}

QString ListedDateText(const TListedFlight& flight) {
    if (!flight.dated) return QStringLiteral("без даты");
    return QDateTime::fromSecsSinceEpoch(flight.start, Qt::UTC)
        .toString(QStringLiteral("yyyy-MM-dd"));
}

QString ListedTimeText(const TListedFlight& flight) {
    if (!flight.dated) return QStringLiteral("--:--:--");
    return QDateTime::fromSecsSinceEpoch(flight.start, Qt::UTC)
        .toString(QStringLiteral("HH:mm:ss"));
}

QString ListedDurationText(const TListedFlight& flight) {
    const int minutes = (flight.durationEstimateSeconds + 30) / 60;
    return QStringLiteral("~%1:%2").arg(minutes / 60).arg(Two(minutes % 60));
}

QString FlightsFoundText(std::size_t total, std::size_t fresh) {
    return QStringLiteral("Полётов в памяти: %1, новых: %2").arg(total).arg(fresh);
}

QString NothingNewText() {
    return QStringLiteral("Новых полётов нет: все полёты из памяти прибора уже в журнале полётов");
}

TFlightScan::TFlightScan(serial::TNonVisComp& link, TTarget target, TScanReports& reports,
                         QObject* parent)
    : QObject(parent), link_(link), target_(std::move(target)), reports_(reports) {}

TFlightScan::~TFlightScan() {
    if (log_) log_->Cancel();
    if (running_) running_->OnTerminate = nullptr;
}

void TFlightScan::ForgetKeptScans() { KeptScans().clear(); }

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
    active_ = true;
    cancelled_ = false;
    fresh_ = fresh;
    fromCache_ = false;
    readingMemory_ = false;
    outcome_.reset();
    key_ = key;
    lastStats_.reset();
    flights_.clear();
    TDeviceIO* worker = TDeviceIO::Create(link_, target_);
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
            if (readingMemory_) reports_.Progress(int(value), ScanSectorCount);
            break;
        case ST_HEADERS_READ:
            if (readingMemory_ && log_) Conclude(log_->Snapshot());
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
    if (outcome_) {
        // A link lost part-way: what was read is listed all the same.
        if (readingMemory_ && log_ && flights_.empty()) {
            flights_ = FlightsInHeaders(log_->Snapshot());
            RefreshLogbookMarks();
        }
        Finish(*outcome_);
        return;
    }
    if (readingMemory_) {
        // The worker ended without its last word: what it read is listed.
        Conclude(log_ ? log_->Snapshot() : std::vector<TSectorHeader>{});
        Finish(*outcome_);
        return;
    }
    if (!lastStats_) {
        Finish(Report(TOutcome::NoDevice));
        return;
    }
    if (cancelled_) {
        Finish(Report(TOutcome::TrackUnfinished, QStringLiteral("Поиск полётов прерван")));
        return;
    }
    const QString key = key_.Text();
    if (!KeptScans().count(key))
        if (const std::optional<TKeptScan> kept = KeptScanOf(ReadCacheFile(CacheFile), key))
            KeptScans()[key] = *kept;
    const auto kept = KeptScans().find(key);
    if (!fresh_ && kept != KeptScans().end() && kept->second.last == *lastStats_) {
        fromCache_ = true;
        flights_ = FlightsInHeaders(kept->second.headers);
        RefreshLogbookMarks();
        Finish(Report(TOutcome::Done));
        return;
    }
    StartReading();
}

void TFlightScan::StartReading() {
    readingMemory_ = true;
    log_ = std::make_shared<TSectorHeaderLog>();
    TDeviceIO* worker = TDeviceIO::Create(link_, target_);
    worker->Operation = OP_SCAN_HEADERS;
    worker->StartSector = ScanFirstSector;
    worker->SectorCount = ScanSectorCount;
    worker->Headers = log_;
    StartWorker(worker);
}

void TFlightScan::Conclude(const std::vector<TSectorHeader>& headers) {
    if (outcome_) return;
    flights_ = FlightsInHeaders(headers);
    RefreshLogbookMarks();
    if (int(headers.size()) == ScanSectorCount) {
        const TKeptScan scan{*lastStats_, headers};
        KeptScans()[key_.Text()] = scan;
        WriteCacheFile(CacheFile, key_.Text(), scan);
        outcome_ = Report(TOutcome::Done);
    } else {
        outcome_ = Report(TOutcome::TrackUnfinished,
                          QStringLiteral("Поиск полётов прерван: прочитано секторов %1 из %2")
                              .arg(headers.size())
                              .arg(ScanSectorCount));
    }
}

void TFlightScan::Finish(const TReport& outcome) {
    active_ = false;
    readingMemory_ = false;
    log_.reset();
    reports_.Finished(outcome, fromCache_);
}

void TFlightScan::RefreshLogbookMarks() {
    for (TListedFlight& flight : flights_) flight.inLogbook = Lookup && Lookup->Holds(flight);
}

}  // namespace flow
