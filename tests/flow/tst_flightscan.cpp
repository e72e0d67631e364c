// Every flight in the instrument's memory against the simulated instrument:
// a scan through the link lists what the memory's headers list (what that
// list is for each layout is tested on the track floor), what is kept between
// looks and when it is read again, stale and lost first sectors, and chosen
// flights downloaded one after the other.
//
// The scans read kScanSectors sectors, which hold each case's memory unless
// the case makes it fuller; one case scans at the program's own length.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <memory>
#include <optional>
#include <set>

#include "device/Frames.h"
#include "device/StatusReceiver.h"
#include "flow/FlightScan.h"
#include "flow/FlightsDownload.h"
#include "tests/support/ScannedHeaders.h"
#include "tests/support/SimBench.h"
#include "track/TrackExport.h"

using flow::TOutcome;
using track::TListedFlight;

namespace {

constexpr int kScanSectors = 40;

class TScanRecorder : public flow::TScanReports {
  public:
    int progressCalls = 0;
    int lastDone = 0;
    int total = 0;  // what every progress report should give
    std::optional<flow::TReport> finished;
    bool fromCache = false;
    std::function<void(int)> onProgress;

    void Progress(int done, int reported) override {
        ++progressCalls;
        lastDone = done;
        QCOMPARE(reported, total);
        if (onProgress) onProgress(done);
    }
    void Finished(const flow::TReport& outcome, bool cached) override {
        finished = outcome;
        fromCache = cached;
    }
};

class TRunRecorder : public flow::TFlightsReports {
  public:
    std::vector<int> percents;
    std::vector<std::optional<track::TFlightStatsReply>> stats;
    std::vector<TListedFlight> done;
    std::optional<flow::TReport> finished;
    int downloaded = -1;

    void FlightStarted(const TListedFlight&, int, int) override {}
    void Progress(int percent) override { percents.push_back(percent); }
    void FlightDone(const TListedFlight& flight, const std::optional<track::TFlightStatsReply>& own,
                    const QStringList&, const flow::TReport&) override {
        done.push_back(flight);
        stats.push_back(own);
    }
    void Finished(const flow::TReport& outcome, int count) override {
        finished = outcome;
        downloaded = count;
    }
};

// A logbook that holds every flight a download hook has heard of, by the
// times of its records, as the real one holds them by take-off and landing.
class THeardFlights : public flow::TFlightLookup {
  public:
    std::vector<std::pair<device::TrackTime, device::TrackTime>> spans;
    bool Holds(const TListedFlight& flight) override {
        // Nor can the real one tell an undated flight by its times.
        if (!flight.dated) return false;
        for (const auto& [first, last] : spans)
            if (first >= flight.start && last <= flight.LatestEnd()) return true;
        return false;
    }
};

sim::TFlightPlan Plan(std::vector<int> minutes) {
    sim::TFlightPlan plan;
    plan.minutesEach = std::move(minutes);
    return plan;
}

}  // namespace

class TestFlightScan : public QObject {
    Q_OBJECT
    testsupport::TSimBench bench_;
    TScanRecorder scanReports_;
    TRunRecorder runReports_;
    std::unique_ptr<flow::TFlightScan> scan_;
    std::unique_ptr<flow::TFlightsDownload> run_;
    THeardFlights logbook_;
    std::vector<int> hooks_;
    sim::TGeneratedMemory memory_;

    void Load(const sim::TFlightPlan& plan) {
        memory_ = sim::GenerateFlights(plan);
        bench_.Load(memory_);
    }
    // `cancelAt`: stops the scan once that many sectors are read.
    flow::TReport Scan(bool fresh = false, int cancelAt = 0,
                       const flow::TInstrumentKey& instrument = {101, 258}) {
        scanReports_ = TScanRecorder{};
        scanReports_.total = scan_->SectorCount;
        if (cancelAt > 0)
            scanReports_.onProgress = [this, cancelAt](int done) {
                if (done == cancelAt) scan_->Cancel();
            };
        if (!scan_->Start(instrument, fresh)) return flow::Report(TOutcome::NoTrack, "busy");
        if (!testsupport::WaitFor([this] { return scanReports_.finished.has_value(); }, 60000))
            return flow::Report(TOutcome::NoTrack, QStringLiteral("no end"));
        testsupport::WaitFor([this] { return !bench_.link.PortClaimed(); }, 10000);
        return *scanReports_.finished;
    }
    flow::TReport Download(const std::vector<TListedFlight>& flights, bool bySector = true) {
        runReports_ = TRunRecorder{};
        const bool started = run_->Start(flights, bySector);
        const bool ended =
            started &&
            testsupport::WaitFor([this] { return runReports_.finished.has_value(); }, 120000);
        testsupport::WaitFor([this] { return !bench_.link.PortClaimed(); }, 10000);
        if (!ended) return flow::Report(TOutcome::NoTrack, QStringLiteral("no end"));
        return *runReports_.finished;
    }
    // What a scan of the loaded memory lists, read without the link.
    std::vector<TListedFlight> Listed() const {
        return testsupport::ScannedFlights(memory_.memory, scan_->SectorCount);
    }
    // The sectors whose header pages were asked for; retries on a busy
    // machine may repeat a request, but not ask for another page.
    std::size_t PagesRead() {
        std::set<std::vector<std::uint8_t>> pages;
        for (const std::vector<std::uint8_t>& request : bench_.Sim().Requests())
            if (request.size() > 1 && request[1] == device::CMD_READ_PAGE) pages.insert(request);
        return pages.size();
    }
    QByteArray CacheFileBytes() {
        QFile file(scan_->CacheFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool WriteCacheFile(const QByteArray& bytes) {
        QFile file(scan_->CacheFile);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(bytes) == bytes.size();
    }
    // The kept scans' file with the header of sector `lost` of instrument
    // 101/258 read as erased, as an earlier scan could keep it.
    static QByteArray WithoutSector(const QByteArray& file, std::uint16_t lost) {
        QJsonObject kept = QJsonDocument::fromJson(file).object();
        QJsonObject entry = kept.value(QStringLiteral("101/258")).toObject();
        QJsonArray headers = entry.value(QStringLiteral("headers")).toArray();
        headers[lost - flow::ScanFirstSector] =
            QJsonArray{lost, 0xFFFF, 0xFFFF, 0xFFFF, 255, 255, 255, 255, 255};
        entry.insert(QStringLiteral("headers"), headers);
        kept.insert(QStringLiteral("101/258"), entry);
        return QJsonDocument(kept).toJson();
    }

  private Q_SLOTS:
    void init() {
        flow::TFlightScan::ForgetKeptScans();
        QVERIFY(bench_.Plug());
        scan_ = std::make_unique<flow::TFlightScan>(bench_.link, scanReports_);
        scan_->Timing = testsupport::TSimBench::Timing();
        scan_->SectorCount = kScanSectors;
        scan_->Lookup = &logbook_;
        run_ = std::make_unique<flow::TFlightsDownload>(bench_.link, runReports_);
        run_->Timing = testsupport::TSimBench::Timing();
        run_->Folder = [this] { return bench_.Folder(); };
        logbook_.spans.clear();
        hooks_.push_back(flow::AttachDownloadHook([this](const flow::TDownloadedTrack& track) {
            if (!track.lists->gps.empty())
                logbook_.spans.emplace_back(track.lists->gps.front().time,
                                            track.lists->gps.back().time);
        }));
    }
    void cleanup() {
        for (int id : hooks_) flow::DetachDownloadHook(id);
        hooks_.clear();
        QVERIFY(testsupport::WaitFor([this] { return !bench_.link.PortClaimed(); }, 20000));
        run_.reset();
        scan_.reset();
        QVERIFY(bench_.Unplug());
    }

    // The stranger's sector splits the flight it lies in: each part
    // downloads from its own first sector into files of its own.
    void foreignSector_partsDownloadApart() {
        sim::TFlightPlan plan = Plan({10, 45, 10});
        plan.foreignSector = true;
        Load(plan);
        const sim::TGeneratedFlight& split = memory_.flights[1];
        std::vector<TListedFlight> parts;
        for (const TListedFlight& f : Listed())
            if (f.flightNumber == split.flightNumber) parts.push_back(f);
        QCOMPARE(parts.size(), std::size_t(2));
        QVERIFY(parts[0].fileBase != parts[1].fileBase);

        QCOMPARE(int(Download(parts).outcome), int(TOutcome::Done));
        QCOMPARE(runReports_.downloaded, 2);
        for (const TListedFlight& part : parts)
            QVERIFY2(QFile::exists(bench_.File(part.fileBase + QStringLiteral(".gpx"))),
                     qPrintable(part.fileBase));
    }

    // An older flight downloaded from the list: its own files, and the
    // statistics of its own records, as the instrument reports them for a
    // last flight.
    void olderFlight_ownStatistics() {
        Load(Plan({30, 60, 20}));
        const sim::TGeneratedFlight& older = memory_.flights[1];
        const TListedFlight chosen = Listed()[1];
        QCOMPARE(chosen.flightNumber, older.flightNumber);
        QCOMPARE(int(Download({chosen}, false).outcome), int(TOutcome::Done));
        QVERIFY(QFile::exists(bench_.File(QStringLiteral("Track%1.gpx").arg(older.flightNumber))));
        QCOMPARE(runReports_.stats.size(), std::size_t(1));
        QVERIFY(runReports_.stats[0]);
        const track::TFlightStatsReply& own = *runReports_.stats[0];
        const track::TFlightStatsReply& truth = older.stats;
        QCOMPARE(own.flightNumber, truth.flightNumber);
        QCOMPARE(own.startSector, truth.startSector);
        QCOMPARE(std::tuple(own.year, own.month, own.day, own.hour, own.minute),
                 std::tuple(truth.year, truth.month, truth.day, truth.hour, truth.minute));
        QCOMPARE(own.durationMinutes, truth.durationMinutes);
        QCOMPARE(own.maxAltitude, truth.maxAltitude);
        QVERIFY(std::abs(own.maxClimb - truth.maxClimb) <= 2);
        QVERIFY(std::abs(own.maxSink - truth.maxSink) <= 2);
        QVERIFY(std::abs(own.maxSpeed - truth.maxSpeed) <= 2);
        QVERIFY(std::abs(own.distance - truth.distance) <= truth.distance / 50 + 1);
        QVERIFY(std::abs(own.maxDistance - truth.maxDistance) <= truth.maxDistance / 50 + 1);
        // Not the last flight's, which the instrument reports.
        QVERIFY(own.flightNumber != memory_.stats[0].flightNumber);
        // The progress of the whole only rises, to the end.
        QVERIFY(std::is_sorted(runReports_.percents.begin(), runReports_.percents.end()));
        QCOMPARE(runReports_.percents.back(), 100);
    }

    // A scan through the link lists what the memory's headers list. All
    // new, twice: the first run fetches every flight, oldest first, into the
    // logbook; the second finds nothing new. A new flight afterwards is the
    // only new one, and the memory is read again for it.
    void allNew_twice() {
        Load(Plan({10, 15, 10}));
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(!scanReports_.fromCache);
        QCOMPARE(scanReports_.lastDone, kScanSectors);
        QCOMPARE(scan_->Flights(), Listed());
        std::vector<TListedFlight> fresh = track::NewFlights(scan_->Flights());
        QCOMPARE(fresh.size(), std::size_t(3));
        QCOMPARE(fresh.front().flightNumber, memory_.flights.front().flightNumber);
        QCOMPARE(int(Download(fresh).outcome), int(TOutcome::Done));
        QCOMPARE(runReports_.downloaded, 3);
        QCOMPARE(logbook_.spans.size(), std::size_t(3));

        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(scanReports_.fromCache);
        QVERIFY(track::NewFlights(scan_->Flights()).empty());

        Load(Plan({10, 15, 10, 25}));
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(!scanReports_.fromCache);
        fresh = track::NewFlights(scan_->Flights());
        QCOMPARE(fresh.size(), std::size_t(1));
        QCOMPARE(fresh.front().flightNumber, memory_.flights.back().flightNumber);
    }

    // What is kept between looks. A scan stopped part-way lists what it
    // found, says it was stopped, and is not kept: the next look reads the
    // memory, as a look does when the file of kept scans is damaged. A second
    // look costs one statistics request while the last flight is the same; a
    // fresh look reads the memory again. The kept scan survives the process
    // in its file, and so does the mark of a downloaded flight: the logbook
    // cannot tell an undated flight by its times, so the mark makes it new
    // only once, and only for the instrument it came from.
    void keptScan_untilTheMemoryChanges() {
        sim::TFlightPlan plan = Plan({30, 30, 10});
        plan.monthZero = true;  // the last flight
        Load(plan);
        scan_->CacheFile = bench_.File(QStringLiteral("scans/flight-scans.json"));
        run_->MarkAs = flow::TInstrumentKey{101, 258};
        run_->MarksFile = scan_->CacheFile;
        QVERIFY(QDir().mkpath(bench_.File(QStringLiteral("scans"))));
        QFile damaged(scan_->CacheFile);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("{\"101/258\": {\"last\": [1, 2], \"headers\": 7}}");
        damaged.close();

        const flow::TReport stopped = Scan(false, 5);
        QCOMPARE(int(stopped.outcome), int(TOutcome::TrackUnfinished));
        QVERIFY(!stopped.Good());
        QVERIFY(scanReports_.progressCalls > 0);
        QVERIFY(scanReports_.lastDone < kScanSectors);
        // The undated flight, which would be listed last, lies far beyond.
        QVERIFY(memory_.flights.back().firstSector > 10);
        QVERIFY(!scan_->Flights().empty());
        QCOMPARE(scan_->Flights().back().firstSector, memory_.flights.front().firstSector);

        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(!scanReports_.fromCache);
        const std::vector<TListedFlight> first = scan_->Flights();
        QCOMPARE(first.size(), std::size_t(3));
        QCOMPARE(PagesRead(), std::size_t(kScanSectors));
        std::vector<TListedFlight> fresh = track::NewFlights(first);
        QCOMPARE(fresh.size(), std::size_t(3));
        QVERIFY(!fresh.front().dated);  // its fallback time is the older
        QCOMPARE(int(Download(fresh).outcome), int(TOutcome::Done));
        const int requests = bench_.Sim().RequestCount();
        const auto unmarked = [this] {
            std::vector<TListedFlight> flights = scan_->Flights();
            for (TListedFlight& f : flights) f.inLogbook = false;
            return flights;
        };

        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(scanReports_.fromCache);
        QCOMPARE(scanReports_.progressCalls, 0);
        QCOMPARE(unmarked(), first);
        QVERIFY(track::NewFlights(scan_->Flights()).empty());
        // Only the statistics were asked for.
        for (std::size_t i = std::size_t(requests); i < bench_.Sim().Requests().size(); ++i)
            QCOMPARE(int(bench_.Sim().Requests()[i][1]), int(device::CMD_READ_STATS));

        flow::TFlightScan::ForgetKeptScans();  // as a new process would start
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(scanReports_.fromCache);
        QCOMPARE(unmarked(), first);
        QVERIFY(track::NewFlights(scan_->Flights()).empty());

        QCOMPARE(int(Scan(false, 0, {102, 258}).outcome), int(TOutcome::Done));
        QVERIFY(!scanReports_.fromCache);
        fresh = track::NewFlights(scan_->Flights());
        QCOMPARE(fresh.size(), std::size_t(1));
        QVERIFY(!fresh.front().dated);

        // Reading the memory shows at its first sectors; the rest is stopped.
        QCOMPARE(int(Scan(true, 5).outcome), int(TOutcome::TrackUnfinished));
        QVERIFY(!scanReports_.fromCache);
        QVERIFY(scanReports_.progressCalls > 0);
    }

    // At the program's own length: a whole scan asks for each of its sectors
    // once, lists what the memory's headers list, and is kept in its file.
    // A kept scan is whole only for a scan of its length: one of another
    // length reads the memory again, whether the kept scan is in memory or
    // only in the file.
    void programsLength_keptForThatLengthOnly() {
        scan_->SectorCount = flow::ScanSectorCount;
        scan_->CacheFile = bench_.File(QStringLiteral("flight-scans.json"));
        Load(Plan({10, 15, 10}));
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(!scanReports_.fromCache);
        QCOMPARE(scanReports_.lastDone, flow::ScanSectorCount);
        QCOMPARE(PagesRead(), std::size_t(flow::ScanSectorCount));
        QCOMPARE(scan_->Flights(), testsupport::ScannedFlights(memory_.memory));
        const std::vector<TListedFlight> whole = scan_->Flights();
        const QByteArray kept = CacheFileBytes();
        QVERIFY(!kept.isEmpty());
        flow::TFlightScan::ForgetKeptScans();
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(scanReports_.fromCache);

        scan_->SectorCount = kScanSectors;
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(!scanReports_.fromCache);
        QCOMPARE(scanReports_.lastDone, kScanSectors);
        QCOMPARE(scan_->Flights(), whole);

        QVERIFY(WriteCacheFile(kept));
        flow::TFlightScan::ForgetKeptScans();
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(!scanReports_.fromCache);
        QCOMPARE(scan_->Flights(), whole);
    }

    // A memory fuller than the scan: the scan stops at its last sector, cuts
    // the flight that runs past it there and lists none that starts beyond,
    // and is whole all the same. The last flight, which starts beyond, does
    // not send the next look to the memory again.
    void memoryPastTheScan_flightsWithinListed() {
        sim::TFlightPlan plan;
        plan.flights = 6;
        plan.minutes = 60;
        Load(plan);
        QVERIFY(memory_.stats[0].startSector >= flow::ScanFirstSector + kScanSectors);
        const sim::TGeneratedFlight& cut = memory_.flights[3];
        QVERIFY(cut.firstSector < flow::ScanFirstSector + kScanSectors);
        QVERIFY(cut.firstSector + cut.sectors > flow::ScanFirstSector + kScanSectors);

        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(!scanReports_.fromCache);
        QCOMPARE(PagesRead(), std::size_t(kScanSectors));
        QCOMPARE(scan_->Flights(), Listed());
        QCOMPARE(scan_->Flights().size(), std::size_t(4));
        QCOMPARE(scan_->Flights().front().firstSector, cut.firstSector);
        QCOMPARE(scan_->Flights().front().sectors,
                 flow::ScanFirstSector + kScanSectors - cut.firstSector);

        const int requests = bench_.Sim().RequestCount();
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(scanReports_.fromCache);
        // Only the statistics were asked for.
        for (std::size_t i = std::size_t(requests); i < bench_.Sim().Requests().size(); ++i)
            QCOMPARE(int(bench_.Sim().Requests()[i][1]), int(device::CMD_READ_STATS));
    }

    // A silent instrument fails the scan with the usual outcome.
    void silentInstrument_noDevice() {
        Load(Plan({10}));
        sim::TFaults faults;
        faults.silent = true;
        bench_.Sim().SetFaults(faults);
        QCOMPARE(int(Scan().outcome), int(TOutcome::NoDevice));
        QVERIFY(scan_->Flights().empty());
    }

    // Erased flash reads as flight 65535: a flight of that number followed by
    // erased memory still ends there, with its files.
    void flight65535BeforeErasedMemory_ends() {
        sim::TFlightPlan plan = Plan({10, 10});
        plan.firstFlightNumber = 65534;
        Load(plan);
        const TListedFlight last = Listed().front();
        QCOMPARE(last.flightNumber, std::uint16_t(65535));
        QCOMPARE(int(Download({last}).outcome), int(TOutcome::Done));
        QVERIFY(QFile::exists(bench_.File(QStringLiteral("Track65535.gpx"))));
        QCOMPARE(runReports_.stats[0]->durationMinutes,
                 memory_.flights.back().stats.durationMinutes);
    }

    // The requests for the first sectors of the last flight and of a flight
    // between others are answered with the reply to the request before: an
    // erased sector, as the one before each flight is. The flights are listed
    // from their first sectors all the same, and kept so.
    //
    // A kept list that lost a flight's first sector (as an earlier scan could
    // keep it) is checked against the instrument and the memory read again:
    // the last flight's by its statistics, another's by the sector before it.
    void firstSectorStaleOrLost_flightsListedWhole() {
        sim::TFlightPlan plan = Plan({10, 15, 10});
        plan.gapSectors = 2;
        Load(plan);
        const std::vector<TListedFlight> whole = Listed();
        QCOMPARE(whole.size(), memory_.flights.size());
        sim::TFaults faults;
        faults.damage = sim::TDamage::PreviousReply;
        faults.damageCount = 0;
        // The statistics first, then one request a sector from sector 1.
        for (std::size_t flight : {1, 2})
            faults.damageAlso.push_back(1 + memory_.flights[flight].firstSector);
        bench_.Sim().SetFaults(faults);
        scan_->CacheFile = bench_.File(QStringLiteral("flight-scans.json"));
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QCOMPARE(scan_->Flights(), whole);

        flow::TFlightScan::ForgetKeptScans();
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(scanReports_.fromCache);
        QCOMPARE(scan_->Flights(), whole);

        const QByteArray kept = CacheFileBytes();
        QVERIFY(!kept.isEmpty());
        const auto lose = [&](std::size_t flight) {
            QVERIFY(WriteCacheFile(WithoutSector(kept, memory_.flights[flight].firstSector)));
            flow::TFlightScan::ForgetKeptScans();
        };
        // The last flight's: reading the memory shows at its first sectors.
        lose(2);
        QCOMPARE(int(Scan(false, 5).outcome), int(TOutcome::TrackUnfinished));
        QVERIFY(!scanReports_.fromCache);
        QVERIFY(scanReports_.progressCalls > 0);
        lose(1);
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(!scanReports_.fromCache);
        QCOMPARE(scan_->Flights(), whole);
    }
};

QTEST_MAIN(TestFlightScan)
#include "tst_flightscan.moc"
