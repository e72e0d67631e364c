// The track memory's controller against the simulated instrument, as the
// track page and the command line both meet it: the files of a download, the
// hook, a cut-off download and what its partial save may and may not touch.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>

#include "device/StatusReceiver.h"
#include "flow/StatsFlightDownload.h"
#include "flow/TrackDownload.h"
#include "sim/TrackMemory.h"
#include "tests/support/ExampleFlight.h"
#include "tests/support/SimBench.h"
#include "track/TrackExport.h"

using flow::TOutcome;

namespace {

// Flight 12 in sectors 64 and 65, filled to their last byte (so that no end
// report comes from inside a sector), then flight 13.
constexpr int kGpsPerSector = 319;
constexpr int kEngPerSector = 2;
std::vector<std::uint8_t> Memory(int sectorsOfFlight12) {
    sim::TTrackMemoryBuilder b;
    for (int sector = 64; sector < 64 + sectorsOfFlight12; ++sector) {
        b.BeginSector(static_cast<std::uint16_t>(sector), 12, 2024, 6, 7, 9, 5, 0);
        for (int i = 0; i < kEngPerSector; ++i) b.AddEng(3, 1013, 20);
        for (int i = 0; i < kGpsPerSector; ++i) b.AddGps(1500, 46.5f, 7.25f);
    }
    b.BeginSector(static_cast<std::uint16_t>(64 + sectorsOfFlight12), 13, 2024, 6, 8, 10, 0, 0);
    b.AddGps(1, 1.0f, 1.0f);
    return b.Memory();
}

// Flight 12 from sector 64: `full` sectors filled to their last byte, then
// one holding `lastGps` points whose rest is erased; an unknown record
// after the first point of sector 64 when `unknownRecord`. Nothing follows.
std::vector<std::uint8_t> EndingMemory(int full, int lastGps, bool unknownRecord,
                                       std::uint8_t minute = 5) {
    sim::TTrackMemoryBuilder b;
    for (int sector = 64; sector <= 64 + full; ++sector) {
        // Each sector's header holds the time of its first record; a record
        // takes a second.
        const int second = minute * 60 + (sector - 64) * (kEngPerSector + kGpsPerSector);
        b.BeginSector(static_cast<std::uint16_t>(sector), 12, 2024, 6, 7, 9,
                      std::uint8_t(second / 60), std::uint8_t(second % 60));
        const bool last = sector == 64 + full;
        if (!last)
            for (int i = 0; i < kEngPerSector; ++i) b.AddEng(3, 1013, 20);
        const int points = last ? lastGps : kGpsPerSector;
        for (int i = 0; i < points; ++i) {
            b.AddGps(1500, 46.5f, 7.25f);
            if (i == 0 && sector == 64 && unknownRecord) b.AddRaw({7, 0, 0, 0, 0, 0, 0});
        }
    }
    return b.Memory();
}

class TRecorder : public flow::TTrackReports {
  public:
    std::optional<track::TFlightStatsReply> stats;
    QStringList written;  // files of every write
    QStringList page;
    QString unfinished;
    bool canSave = false;
    std::vector<flow::TReport> failures;
    std::optional<flow::TReport> finished;

    void StatsRead(const track::TFlightStatsReply& read) override { stats = read; }
    void Progress(int) override {}
    void PageRead(const QStringList& lines) override { page << lines; }
    void FilesWritten(const track::TExportResult& result, bool, int) override {
        written << result.files;
    }
    void Unfinished(const QString& text, bool save) override {
        unfinished = text;
        canSave = save;
    }
    void Failed(const flow::TReport& report) override { failures.push_back(report); }
    void Finished(const flow::TReport& outcome) override { finished = outcome; }
};

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestTrackFlow : public QObject {
    Q_OBJECT
    testsupport::TSimBench bench_;
    TRecorder reports_;
    std::unique_ptr<flow::TTrackDownload> track_;
    std::vector<flow::TDownloadedTrack> heard_;
    std::vector<int> hooks_;

    // Runs `start` and waits for the operation's end.
    flow::TReport Run(const std::function<bool()>& start) {
        reports_.finished.reset();
        if (!start()) return flow::Report(TOutcome::Done, QStringLiteral("not started"));
        if (!testsupport::WaitFor([this] { return reports_.finished.has_value(); }, 60000))
            return flow::Report(TOutcome::Done, QStringLiteral("no end"));
        return *reports_.finished;
    }
    flow::TReport Download() {
        if (Run([this] { return track_->ReadStats(0); }).outcome != TOutcome::Done)
            return flow::Report(TOutcome::Done, QStringLiteral("no statistics"));
        return Run([this] { return track_->Download(track_->Stats(), 0, true); });
    }
    // A download whose link goes after the first sector.
    flow::TReport CutOffDownload() {
        if (!bench_.Restart()) return flow::Report(TOutcome::Done, QStringLiteral("no sim"));
        sim::TFaults faults;
        faults.hangUpAfterRequests = 2;  // the statistics, then the first sector
        bench_.Sim().SetFaults(faults);
        // The hang-up counts requests: waits long enough that a busy machine
        // never makes a try fail and be asked again.
        track_->Timing = device::TWorkerTiming{};
        return Download();
    }
    QString File(const QString& name) const { return bench_.File(name); }

  private Q_SLOTS:
    void init() {
        QVERIFY(bench_.Plug());
        bench_.Sim().SetStats(0, testing::ExampleFlightStats());
        bench_.Sim().SetMemory(Memory(2));
        reports_ = TRecorder{};
        heard_.clear();
        track_ = std::make_unique<flow::TTrackDownload>(bench_.link, reports_);
        track_->Folder = [this] { return bench_.Folder(); };
        track_->Timing = testsupport::TSimBench::Timing();
    }
    void cleanup() {
        for (int id : hooks_) flow::DetachDownloadHook(id);
        hooks_.clear();
        QVERIFY(testsupport::WaitFor([this] { return !bench_.link.PortClaimed(); }, 20000));
        track_.reset();
        QVERIFY(bench_.Unplug());
    }

    void completeDownload_filesWrittenAndHookHearsOnce() {
        hooks_.push_back(flow::AttachDownloadHook(
            [this](const flow::TDownloadedTrack& track) { heard_.push_back(track); }));
        track_->SetInstrument({101, 311}, std::uint8_t(3));
        const flow::TReport outcome = Download();
        QCOMPARE(int(outcome.outcome), int(TOutcome::Done));
        QCOMPARE(outcome.ExitStatus(), flow::EC_OK);
        QVERIFY(QFile::exists(File(QStringLiteral("Track12.gpx"))));
        QVERIFY(QFile::exists(File(QStringLiteral("Track12.igc"))));
        QVERIFY(reports_.unfinished.isEmpty());
        QVERIFY(!track_->CanSavePartial());

        QCOMPARE(heard_.size(), std::size_t(1));
        const flow::TDownloadedTrack& track = heard_.front();
        QCOMPARE(track.flightIndex, std::uint8_t(0));
        QCOMPARE(track.flightNumber, 12);
        QVERIFY(!track.partial);
        QCOMPARE(track.lists->gps.size(), std::size_t(2 * kGpsPerSector));
        QCOMPARE(track.lists->eng.size(), std::size_t(2 * kEngPerSector));
        // The checked track of these lists travels with them, made once.
        QVERIFY(track.checked);
        QCOMPARE(track.checked->recorded.size(), track.lists->gps.size());
        QCOMPARE(track.checked->fixes.size(),
                 track::CheckedDownload(track.lists->gps).fixes.size());
        QCOMPARE(track.files.size(), 3);
        QVERIFY(track.files.contains(
            QFileInfo(File(QStringLiteral("Track12.enx"))).absoluteFilePath()));
        QCOMPARE(track.model, std::optional<models::DeviceModelId>(101));
        QCOMPARE(track.firmwareVersion, std::optional<std::uint16_t>(311));
        QCOMPARE(track.timeZone, std::optional<std::uint8_t>(3));
    }

    // The pilot's case: a complete set of flight 12 is on disk, a later
    // download of it is cut off, and what it read is saved. The complete set
    // stays; each partial save gets names of its own; hooks hear of partial
    // saves only when they asked.
    void cutOffDownload_partialSavesNeverReplaceAnything() {
        int partialHeard = 0;
        hooks_.push_back(flow::AttachDownloadHook(
            [this](const flow::TDownloadedTrack& track) { heard_.push_back(track); }));
        hooks_.push_back(flow::AttachDownloadHook(
            [&partialHeard](const flow::TDownloadedTrack& track) { partialHeard += track.partial; },
            true));
        QCOMPARE(int(Download().outcome), int(TOutcome::Done));
        QCOMPARE(heard_.size(), std::size_t(1));
        const QByteArray complete = Contents(File(QStringLiteral("Track12.gpx")));
        QVERIFY(!complete.isEmpty());

        const flow::TReport cut = CutOffDownload();
        QCOMPARE(int(cut.outcome), int(TOutcome::LinkLost));
        QCOMPARE(cut.ExitStatus(), flow::EC_NO_LINK);
        QCOMPARE(reports_.unfinished,
                 track::UnfinishedDownloadText(1, true, kGpsPerSector, kEngPerSector));
        QVERIFY(reports_.canSave);
        QCOMPARE(int(Run([this] { return track_->SavePartial(); }).outcome), int(TOutcome::Done));
        QVERIFY(QFile::exists(File(QStringLiteral("Track12-partial.gpx"))));
        QVERIFY(QFile::exists(File(QStringLiteral("Track12-partial.enx"))));
        QCOMPARE(Contents(File(QStringLiteral("Track12.gpx"))), complete);
        // Saved once; saving again needs another cut-off download.
        QVERIFY(!track_->CanSavePartial());
        QVERIFY(!track_->SavePartial());

        QCOMPARE(int(CutOffDownload().outcome), int(TOutcome::LinkLost));
        const QByteArray firstPartial = Contents(File(QStringLiteral("Track12-partial.gpx")));
        QCOMPARE(int(Run([this] { return track_->SavePartial(); }).outcome), int(TOutcome::Done));
        QVERIFY(QFile::exists(File(QStringLiteral("Track12-partial-2.gpx"))));
        QCOMPARE(Contents(File(QStringLiteral("Track12-partial.gpx"))), firstPartial);
        QCOMPARE(Contents(File(QStringLiteral("Track12.gpx"))), complete);
        QCOMPARE(heard_.size(), std::size_t(1));
        QCOMPARE(partialHeard, 2);
        QCOMPARE(track_->UnfinishedText(true),
                 track::UnfinishedDownloadSavedText(1, true, kGpsPerSector, kEngPerSector));
    }

    // A page read ends as every other request does: with its page, or with
    // the no-link outcome when no sound answer came.
    void pageRead_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("exitStatus");
        QTest::newRow("answered") << QString() << int(TOutcome::Done) << int(flow::EC_OK);
        QTest::newRow("silent") << QStringLiteral("silent") << int(TOutcome::NoDevice)
                                << int(flow::EC_NO_LINK);
        QTest::newRow("garbled") << QStringLiteral("check") << int(TOutcome::NoDevice)
                                 << int(flow::EC_NO_LINK);
        QTest::newRow("hung up") << QStringLiteral("hang-up") << int(TOutcome::LinkLost)
                                 << int(flow::EC_NO_LINK);
    }
    void pageRead() {
        QFETCH(QString, fault);
        QFETCH(int, outcome);
        QFETCH(int, exitStatus);
        sim::TFaults faults;
        faults.silent = fault == QLatin1String("silent");
        faults.wrongCheckByte = fault == QLatin1String("check");
        if (fault == QLatin1String("hang-up")) faults.hangUpAfterRequests = 0;
        bench_.Sim().SetFaults(faults);
        const flow::TReport report = Run([this] { return track_->ReadPage(64 * 4096); });
        QCOMPARE(int(report.outcome), outcome);
        QCOMPARE(int(report.ExitStatus()), exitStatus);
        QCOMPARE(reports_.page.isEmpty(), !fault.isEmpty());
        QCOMPARE(int(reports_.failures.size()), fault.isEmpty() ? 0 : 1);
    }

    // The line fails at the request after the sector read last. Whether that
    // download read the whole flight decides between the files of the
    // flight and nothing but a partial save; a complete set on disk is never
    // replaced by a fragment.
    void lineFailsAfterASector_data() {
        QTest::addColumn<bool>("unknownRecord");
        QTest::addColumn<int>("durationMinutes");  // of the statistics
        QTest::addColumn<int>("flightSectors");    // as a scan listed them; 0: unknown
        QTest::addColumn<bool>("whole");
        // Sectors 64 and 65 full, 66 ending in erased bytes: 2 * 321 + 100
        // records, 12 minutes and a bit.
        QTest::newRow("last sector ends, the duration is covered") << false << 12 << 0 << true;
        QTest::newRow("last sector ends, the listed sectors read") << false << 40 << 3 << true;
        QTest::newRow("last sector ends, but the flight lasted longer")
            << false << 13 << 0 << false;
        QTest::newRow("last sector ends, but more sectors are listed") << false << 1 << 4 << false;
        QTest::newRow("no duration known") << false << 0 << 0 << false;
        QTest::newRow("an unknown record in the first sector, cut after it")
            << true << 1 << 0 << false;
    }
    void lineFailsAfterASector() {
        QFETCH(bool, unknownRecord);
        QFETCH(int, durationMinutes);
        QFETCH(int, flightSectors);
        QFETCH(bool, whole);
        // The complete set of an earlier download of the same flight.
        bench_.Sim().SetMemory(EndingMemory(2, 100, false));
        track::TFlightStatsReply stats = testing::ExampleFlightStats();
        stats.durationMinutes = 12;
        QCOMPARE(int(Run([&] { return track_->Download(stats, 0, true); }).outcome),
                 int(TOutcome::Done));
        const QByteArray complete = Contents(File(QStringLiteral("Track12.gpx")));
        QVERIFY(!complete.isEmpty());

        bench_.Sim().SetMemory(EndingMemory(2, 100, unknownRecord));
        QVERIFY(bench_.Restart());
        sim::TFaults faults;
        // The first sector with the unknown record, or all three.
        faults.hangUpAfterRequests = unknownRecord ? 1 : 3;
        bench_.Sim().SetFaults(faults);
        track_->Timing = device::TWorkerTiming{};  // as in CutOffDownload
        reports_ = TRecorder{};
        stats.durationMinutes = std::uint16_t(durationMinutes);
        track_->FlightSectors = flightSectors;
        const flow::TReport outcome = Run([&] { return track_->Download(stats, 0, true); });
        if (whole) {
            QCOMPARE(int(outcome.outcome), int(TOutcome::Done));
            QCOMPARE(reports_.written.filter(QStringLiteral(".gpx")).size(), 1);
            QVERIFY(reports_.unfinished.isEmpty());
            QCOMPARE(Contents(File(QStringLiteral("Track12.gpx"))), complete);
        } else {
            QCOMPARE(int(outcome.outcome), int(TOutcome::LinkLost));
            QVERIFY(reports_.written.isEmpty());
            QVERIFY(!reports_.unfinished.isEmpty());
            QVERIFY(track_->CanSavePartial());
            QCOMPARE(Contents(File(QStringLiteral("Track12.gpx"))), complete);
        }
    }

    // The files are written once, at the end, not at each end report.
    void unknownRecords_filesWrittenOnce() {
        bench_.Sim().SetMemory(EndingMemory(2, 100, true));
        track::TFlightStatsReply stats = testing::ExampleFlightStats();
        QCOMPARE(int(Run([&] { return track_->Download(stats, 0, true); }).outcome),
                 int(TOutcome::Done));
        // GPX, ENX and IGC once each.
        QCOMPARE(reports_.written.size(), 3);
    }

    // Track12 files of a flight that started at another time stay; the new
    // set is named with its start. Those of the same flight are replaced.
    void sameNumberOtherFlight_keptBeside_data() {
        QTest::addColumn<int>("minuteOnDisk");
        QTest::addColumn<QString>("newSet");
        QTest::newRow("another flight") << 40 << QStringLiteral("Track12-2024-06-07-0905.gpx");
        QTest::newRow("the same flight") << 5 << QStringLiteral("Track12.gpx");
    }
    void sameNumberOtherFlight_keptBeside() {
        QFETCH(int, minuteOnDisk);
        QFETCH(QString, newSet);
        track::TFlightStatsReply stats = testing::ExampleFlightStats();
        bench_.Sim().SetMemory(EndingMemory(0, 50, false, std::uint8_t(minuteOnDisk)));
        QCOMPARE(int(Run([&] { return track_->Download(stats, 0, true); }).outcome),
                 int(TOutcome::Done));
        const QByteArray onDisk = Contents(File(QStringLiteral("Track12.gpx")));
        bench_.Sim().SetMemory(EndingMemory(0, 60, false));
        reports_.written.clear();
        QCOMPARE(int(Run([&] { return track_->Download(stats, 0, true); }).outcome),
                 int(TOutcome::Done));
        QVERIFY(reports_.written.contains(QFileInfo(File(newSet)).absoluteFilePath()));
        QCOMPARE(Contents(File(QStringLiteral("Track12.gpx"))) == onDisk, minuteOnDisk != 5);
    }

    // The command line's download: the statistics, the track unless they
    // name none, and what a cut-off download read when asked, in one go.
    void flightOfTheStatistics_inOneGo_data() {
        QTest::addColumn<bool>("track");
        QTest::addColumn<int>("hangUpAfter");  // requests; -1: never
        QTest::addColumn<bool>("keepPartial");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("requests");
        QTest::addColumn<QString>("unfinished");
        QTest::addColumn<QStringList>("files");
        const QStringList whole{QStringLiteral("Track12.enx"), QStringLiteral("Track12.gpx"),
                                QStringLiteral("Track12.igc")};
        QTest::newRow("the whole flight")
            << true << -1 << true << int(TOutcome::Done) << 4 << QString() << whole;
        QTest::newRow("statistics naming no track: no download")
            << false << -1 << true << int(TOutcome::NoTrack) << 1 << QString() << QStringList();
        QTest::newRow("cut off, what was read kept")
            << true << 2 << true << int(TOutcome::LinkLost) << 2
            << track::UnfinishedDownloadSavedText(1, true, kGpsPerSector, kEngPerSector)
            << QStringList{QStringLiteral("Track12-partial.enx"),
                           QStringLiteral("Track12-partial.gpx"),
                           QStringLiteral("Track12-partial.igc")};
        QTest::newRow("cut off, nothing kept")
            << true << 2 << false << int(TOutcome::LinkLost) << 2
            << track::UnfinishedDownloadText(1, true, kGpsPerSector, kEngPerSector)
            << QStringList();
    }
    void flightOfTheStatistics_inOneGo() {
        QFETCH(bool, track);
        QFETCH(int, hangUpAfter);
        QFETCH(bool, keepPartial);
        QFETCH(int, outcome);
        QFETCH(int, requests);
        QFETCH(QString, unfinished);
        QFETCH(QStringList, files);
        sim::TFlightStats stats = testing::ExampleFlightStats();
        if (!track) stats.startSector = 0;
        bench_.Sim().SetStats(0, stats);
        sim::TFaults faults;
        faults.hangUpAfterRequests = hangUpAfter;
        bench_.Sim().SetFaults(faults);
        TRecorder reports;
        flow::TStatsFlightDownload download(bench_.link, reports);
        download.KeepPartial = keepPartial;
        download.Track().Folder = [this] { return bench_.Folder(); };
        // The hang-up counts requests: a busy machine must not make a try fail.
        if (hangUpAfter < 0) download.Track().Timing = testsupport::TSimBench::Timing();
        QVERIFY(download.Start(0, true));
        QVERIFY(testsupport::WaitFor([&] { return reports.finished.has_value(); }, 60000));
        QVERIFY(!download.Running());
        QCOMPARE(int(reports.finished->outcome), outcome);
        QCOMPARE(reports.unfinished, unfinished);
        QVERIFY(reports.stats.has_value());
        QCOMPARE(bench_.Sim().RequestCount(), requests);
        QCOMPARE(QDir(bench_.Folder()).entryList(QDir::Files), files);
    }

    void outcomes_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("exitStatus");
        QTest::newRow("port cannot be opened")
            << QStringLiteral("port") << int(TOutcome::PortFailed) << int(flow::EC_PORT);
        QTest::newRow("files cannot be written")
            << QStringLiteral("file") << int(TOutcome::FileNotWritten) << int(flow::EC_WRITE_CHECK);
    }
    void outcomes() {
        QFETCH(QString, fault);
        QFETCH(int, outcome);
        QFETCH(int, exitStatus);
        flow::TReport report;
        if (fault == QLatin1String("port")) {
            QVERIFY(Run([this] { return track_->ReadStats(0); }).Good());
            bench_.link.comport.SetPortName(File(QStringLiteral("no-such-port")));
            report = Run([this] { return track_->Download(track_->Stats(), 0, true); });
            QVERIFY(!report.reason.isEmpty());
            QCOMPARE(reports_.failures.size(), std::size_t(1));
        } else {
            QVERIFY(QDir().mkdir(File(QStringLiteral("Track12.gpx"))));
            report = Download();
            QVERIFY(report.text.contains(QStringLiteral("Track12.gpx")));
        }
        QCOMPARE(int(report.outcome), outcome);
        QCOMPARE(int(report.ExitStatus()), exitStatus);
        QCOMPARE(report.Colour(), flow::BadColour);
    }
};

QTEST_GUILESS_MAIN(TestTrackFlow)
#include "tst_trackflow.moc"
