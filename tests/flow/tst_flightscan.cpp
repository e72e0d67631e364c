// Every flight in the instrument's memory against the simulated instrument:
// the list the scan makes of several flights (of different lengths, with
// erased sectors between them, a number that wraps, a stranger's sector in
// the middle), what is kept between looks and when it is read again, and
// chosen flights downloaded one after the other.
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
#include "tests/support/SimBench.h"
#include "track/TrackExport.h"

using flow::TOutcome;
using track::TListedFlight;

Q_DECLARE_METATYPE(sim::TFlightPlan)

namespace {

class TScanRecorder : public flow::TScanReports {
  public:
    int progressCalls = 0;
    int lastDone = 0;
    std::optional<flow::TReport> finished;
    bool fromCache = false;
    std::function<void(int)> onProgress;

    void Progress(int done, int total) override {
        ++progressCalls;
        lastDone = done;
        QCOMPARE(total, flow::ScanSectorCount);
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

device::TrackTime Time(const track::TFlightStatsReply& s) {
    device::TrackTime t = 0;
    device::MakeTrackTime(s.year, s.month, s.day, s.hour, s.minute, 0, t);
    return t;
}

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
    flow::TReport Scan(bool fresh = false) {
        scanReports_ = TScanRecorder{};
        if (!scan_->Start({101, 258}, fresh)) return flow::Report(TOutcome::NoTrack, "busy");
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
    // The flights the generator wrote, as the scan should list them: newest first.
    std::vector<const sim::TGeneratedFlight*> Written() const {
        std::vector<const sim::TGeneratedFlight*> written;
        for (auto it = memory_.flights.rbegin(); it != memory_.flights.rend(); ++it)
            written.push_back(&*it);
        return written;
    }

  private Q_SLOTS:
    void init() {
        flow::TFlightScan::ForgetKeptScans();
        QVERIFY(bench_.Plug());
        scan_ = std::make_unique<flow::TFlightScan>(bench_.link, scanReports_);
        scan_->Timing = testsupport::TSimBench::Timing();
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

    // Each flight the generator wrote is listed once, newest first, with its
    // number, first sector, sectors, date and start; a duration estimate
    // within a sector's time of the truth.
    void list_data() {
        QTest::addColumn<sim::TFlightPlan>("plan");
        QTest::newRow("the simulator's default: two flights") << sim::TFlightPlan{};
        QTest::newRow("different lengths") << Plan({45, 5, 90, 20});
        sim::TFlightPlan gaps = Plan({20, 30, 10});
        gaps.gapSectors = 7;
        QTest::newRow("erased sectors between flights") << gaps;
        sim::TFlightPlan wrap = Plan({10, 10, 10, 10});
        wrap.firstFlightNumber = 65534;
        QTest::newRow("numbers wrap from 65535 to 0, newest still first") << wrap;
        sim::TFlightPlan none;
        none.flights = 0;
        QTest::newRow("an empty memory") << none;
    }
    void list() {
        QFETCH(sim::TFlightPlan, plan);
        Load(plan);
        const flow::TReport outcome = Scan();
        QCOMPARE(int(outcome.outcome), int(TOutcome::Done));
        QVERIFY(!scanReports_.fromCache);
        QCOMPARE(scanReports_.lastDone, flow::ScanSectorCount);
        const std::vector<TListedFlight>& listed = scan_->Flights();
        const auto written = Written();
        QCOMPARE(listed.size(), written.size());
        for (std::size_t i = 0; i < listed.size(); ++i) {
            const TListedFlight& f = listed[i];
            const sim::TGeneratedFlight& w = *written[i];
            QCOMPARE(f.flightNumber, w.flightNumber);
            QCOMPARE(f.firstSector, w.firstSector);
            QCOMPARE(f.sectors, w.sectors);
            QVERIFY(f.dated);
            QCOMPARE(f.start / 60, Time(w.stats) / 60);
            QVERIFY2(std::abs(f.durationEstimateSeconds - w.stats.durationMinutes * 60) <=
                         track::TypicalSectorSeconds,
                     qPrintable(track::ListedDurationText(f)));
            QCOMPARE(f.fileBase, QStringLiteral("Track%1").arg(w.flightNumber));
            QVERIFY(!f.inLogbook);
        }
    }

    // The stranger's sector is a flight of its own, and splits the flight it
    // lies in: each part is what a download from its first sector reads, and
    // the two parts' files do not share a name.
    void foreignSector_splitsTheFlightItLiesIn() {
        sim::TFlightPlan plan = Plan({10, 45, 10});
        plan.foreignSector = true;
        Load(plan);
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        const sim::TGeneratedFlight& split = memory_.flights[1];
        QCOMPARE(memory_.foreignSector, std::uint16_t(split.firstSector + split.sectors / 2));
        const std::vector<TListedFlight>& listed = scan_->Flights();
        QCOMPARE(listed.size(), std::size_t(5));
        std::vector<TListedFlight> parts;
        std::optional<TListedFlight> stranger;
        for (const TListedFlight& f : listed) {
            if (f.flightNumber == split.flightNumber) parts.push_back(f);
            if (f.flightNumber == memory_.foreignFlightNumber) stranger = f;
        }
        QVERIFY(stranger);
        QCOMPARE(stranger->firstSector, memory_.foreignSector);
        QCOMPARE(stranger->sectors, 1);
        QCOMPARE(listed.back(), *stranger);  // a year older than the rest
        QCOMPARE(parts.size(), std::size_t(2));
        QCOMPARE(parts[1].firstSector, split.firstSector);
        QCOMPARE(parts[0].firstSector, std::uint16_t(memory_.foreignSector + 1));
        QCOMPARE(parts[0].sectors + parts[1].sectors + 1, split.sectors);
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
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        const sim::TGeneratedFlight& older = memory_.flights[1];
        const TListedFlight chosen = scan_->Flights()[1];
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

    // All new, twice: the first run fetches every flight, oldest first, into
    // the logbook; the second finds nothing new. A new flight afterwards is
    // the only new one, and the memory is read again for it.
    void allNew_twice() {
        Load(Plan({10, 15, 10}));
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
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

    // A second look costs one statistics request while the last flight is the
    // same; a fresh look, or another instrument, reads the memory again. The
    // kept scan survives the process in its file; a damaged file is no scan.
    void keptScan_untilTheMemoryChanges() {
        Load(Plan({10, 20}));
        scan_->CacheFile = bench_.File(QStringLiteral("scans/flight-scans.json"));
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        const std::vector<TListedFlight> first = scan_->Flights();
        // Retries on a busy machine may add requests; what is asked may not change.
        const auto pagesRead = [this] {
            std::set<std::vector<std::uint8_t>> pages;
            for (const std::vector<std::uint8_t>& request : bench_.Sim().Requests())
                if (request.size() > 1 && request[1] == device::CMD_READ_PAGE)
                    pages.insert(request);
            return pages.size();
        };
        QCOMPARE(pagesRead(), std::size_t(flow::ScanSectorCount));
        const int requests = bench_.Sim().RequestCount();

        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(scanReports_.fromCache);
        QCOMPARE(scanReports_.progressCalls, 0);
        QCOMPARE(scan_->Flights(), first);
        // Only the statistics were asked for.
        for (std::size_t i = std::size_t(requests); i < bench_.Sim().Requests().size(); ++i)
            QCOMPARE(int(bench_.Sim().Requests()[i][1]), int(device::CMD_READ_STATS));

        flow::TFlightScan::ForgetKeptScans();  // as a new process would start
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(scanReports_.fromCache);
        QCOMPARE(scan_->Flights(), first);

        QCOMPARE(int(Scan(true).outcome), int(TOutcome::Done));
        QVERIFY(!scanReports_.fromCache);

        flow::TFlightScan::ForgetKeptScans();
        QFile damaged(scan_->CacheFile);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("{\"101/258\": {\"last\": [1, 2], \"headers\": 7}}");
        damaged.close();
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(!scanReports_.fromCache);
        QCOMPARE(scan_->Flights(), first);
    }

    // A scan stopped part-way lists what it found, says it was stopped, and
    // is not kept: the next look reads the memory again.
    void cancel_listsWhatWasFoundKeepsNothing() {
        Load(Plan({10, 10, 10}));
        scanReports_.onProgress = [this](int done) {
            if (done == 5) scan_->Cancel();
        };
        scanReports_.finished.reset();
        QVERIFY(scan_->Start({101, 258}));
        QVERIFY(testsupport::WaitFor([this] { return scanReports_.finished.has_value(); }, 60000));
        QCOMPARE(int(scanReports_.finished->outcome), int(TOutcome::TrackUnfinished));
        QVERIFY(!scanReports_.finished->Good());
        QVERIFY(scanReports_.lastDone < flow::ScanSectorCount);
        QVERIFY(!scan_->Flights().empty());
        QCOMPARE(scan_->Flights().back().firstSector, memory_.flights.front().firstSector);
        QVERIFY(testsupport::WaitFor([this] { return !bench_.link.PortClaimed(); }, 10000));
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(!scanReports_.fromCache);
        QCOMPARE(scan_->Flights().size(), std::size_t(3));
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
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        const TListedFlight last = scan_->Flights().front();
        QCOMPARE(last.flightNumber, std::uint16_t(65535));
        QCOMPARE(int(Download({last}).outcome), int(TOutcome::Done));
        QVERIFY(QFile::exists(bench_.File(QStringLiteral("Track65535.gpx"))));
        QCOMPARE(runReports_.stats[0]->durationMinutes,
                 memory_.flights.back().stats.durationMinutes);
    }

    // The request for a flight's first sector is answered with the reply to
    // the request before: an erased sector, as the one before the flight is.
    // The flight is listed from its first sector all the same, and kept so.
    void staleErasedReply_flightListedWhole_data() {
        QTest::addColumn<int>("flight");  // of the generator's, in memory order
        QTest::newRow("the last flight") << 2;
        QTest::newRow("a flight between others") << 1;
    }
    void staleErasedReply_flightListedWhole() {
        QFETCH(int, flight);
        sim::TFlightPlan plan = Plan({10, 15, 10});
        plan.gapSectors = 2;
        Load(plan);
        const sim::TGeneratedFlight& hit = memory_.flights[std::size_t(flight)];
        sim::TFaults faults;
        faults.damage = sim::TDamage::PreviousReply;
        // The statistics first, then one request a sector from sector 1.
        faults.damageFrom = 1 + hit.firstSector;
        bench_.Sim().SetFaults(faults);
        scan_->CacheFile = bench_.File(QStringLiteral("flight-scans.json"));
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        const auto listedWhole = [&] {
            return std::any_of(
                scan_->Flights().begin(), scan_->Flights().end(), [&](const TListedFlight& f) {
                    return f.firstSector == hit.firstSector && f.sectors == hit.sectors;
                });
        };
        QVERIFY(listedWhole());
        QCOMPARE(scan_->Flights().size(), memory_.flights.size());

        flow::TFlightScan::ForgetKeptScans();
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(scanReports_.fromCache);
        QVERIFY(listedWhole());
    }

    // A kept list that lost a flight's first sector (as an earlier scan could
    // keep it) is checked against the instrument and the memory read again.
    void keptListMissingAFirstSector_readAgain_data() { staleErasedReply_flightListedWhole_data(); }
    void keptListMissingAFirstSector_readAgain() {
        QFETCH(int, flight);
        sim::TFlightPlan plan = Plan({10, 15, 10});
        plan.gapSectors = 2;
        Load(plan);
        scan_->CacheFile = bench_.File(QStringLiteral("flight-scans.json"));
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        const std::vector<TListedFlight> whole = scan_->Flights();

        const std::uint16_t lost = memory_.flights[std::size_t(flight)].firstSector;
        QFile file(scan_->CacheFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QJsonObject kept = QJsonDocument::fromJson(file.readAll()).object();
        file.close();
        QJsonObject entry = kept.value(QStringLiteral("101/258")).toObject();
        QJsonArray headers = entry.value(QStringLiteral("headers")).toArray();
        headers[lost - flow::ScanFirstSector] =
            QJsonArray{lost, 0xFFFF, 0xFFFF, 0xFFFF, 255, 255, 255, 255, 255};
        entry.insert(QStringLiteral("headers"), headers);
        kept.insert(QStringLiteral("101/258"), entry);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QJsonDocument(kept).toJson());
        file.close();

        flow::TFlightScan::ForgetKeptScans();
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(!scanReports_.fromCache);
        QCOMPARE(scan_->Flights(), whole);
    }

    // The logbook cannot tell an undated flight by its times: the mark of its
    // download makes it new only once, in this process and the next.
    void undatedFlight_newOnlyOnce() {
        sim::TFlightPlan plan = Plan({10, 10});
        plan.monthZero = true;
        Load(plan);
        scan_->CacheFile = bench_.File(QStringLiteral("flight-scans.json"));
        run_->MarkAs = flow::TInstrumentKey{101, 258};
        run_->MarksFile = scan_->CacheFile;
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        std::vector<TListedFlight> fresh = track::NewFlights(scan_->Flights());
        QCOMPARE(fresh.size(), std::size_t(2));
        QVERIFY(!fresh.front().dated);  // its fallback time is the older
        QCOMPARE(int(Download(fresh).outcome), int(TOutcome::Done));

        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(track::NewFlights(scan_->Flights()).empty());
        flow::TFlightScan::ForgetKeptScans();  // as a new process would start
        QCOMPARE(int(Scan().outcome), int(TOutcome::Done));
        QVERIFY(track::NewFlights(scan_->Flights()).empty());
        // Another instrument's flights are not marked.
        scanReports_ = TScanRecorder{};
        QVERIFY(scan_->Start({102, 258}));
        QVERIFY(testsupport::WaitFor([this] { return scanReports_.finished.has_value(); }, 60000));
        QVERIFY(testsupport::WaitFor([this] { return !bench_.link.PortClaimed(); }, 10000));
        fresh = track::NewFlights(scan_->Flights());
        QCOMPARE(fresh.size(), std::size_t(1));
        QVERIFY(!fresh.front().dated);
    }
};

QTEST_MAIN(TestFlightScan)
#include "tst_flightscan.moc"
