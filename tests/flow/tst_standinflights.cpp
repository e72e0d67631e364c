// The flight list and the download of every flight against an instrument
// written from the reply layouts alone (tests/device/StandIn.h), whose memory
// has gaps: erased sectors before the first flight, between flights and after
// the last one, and more flights than the statistics request can name.
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>
#include <optional>

#include "device/StatusReceiver.h"
#include "flow/FlightScan.h"
#include "flow/FlightsDownload.h"
#include "serial/UnitNVC.h"
#include "tests/support/StandIn.h"
#include "tests/support/WaitFor.h"

using flow::TOutcome;
using track::TListedFlight;

namespace {

class TScanEnd : public flow::TScanReports {
  public:
    std::optional<flow::TReport> finished;
    bool fromCache = false;
    void Progress(int, int) override {}
    void Finished(const flow::TReport& outcome, bool cached) override {
        finished = outcome;
        fromCache = cached;
    }
};

class TRunEnd : public flow::TFlightsReports {
  public:
    std::optional<flow::TReport> finished;
    int downloaded = -1;
    void FlightStarted(const TListedFlight&, int, int) override {}
    void Progress(int) override {}
    void FlightDone(const TListedFlight&, const std::optional<track::TFlightStatsReply>&,
                    const QStringList&, const flow::TReport&) override {}
    void Finished(const flow::TReport& outcome, int count) override {
        finished = outcome;
        downloaded = count;
    }
};

// Sectors 0 to 2 erased; 5 and 6 between two flights; the third flight
// follows the second at once; 12 between; 15 onward erased.
standin::TMemory GappedMemory() {
    return standin::TMemory({{201, 3, 2, standin::At(2026, 5, 2, 9, 30)},
                             {202, 7, 3, standin::At(2026, 5, 2, 13, 0)},
                             {203, 10, 2, standin::At(2026, 5, 3, 10, 15)},
                             {204, 13, 2, standin::At(2026, 5, 4, 11, 0)}},
                            18);
}

}  // namespace

class TestStandInFlights : public QObject {
    Q_OBJECT
    serial::TNonVisComp link_;
    standin::TMemory memory_ = GappedMemory();
    std::unique_ptr<standin::TStandIn> standIn_;
    TScanEnd scanEnd_;
    TRunEnd runEnd_;
    std::vector<TListedFlight> listed_;  // the memory's list, once read

    // A scan read from the memory, or (`kept`) from what the scan before kept,
    // once the instrument has been asked whether it still holds.
    std::vector<TListedFlight> Scan(bool kept = false) {
        if (!kept) flow::TFlightScan::ForgetKeptScans();
        flow::TFlightScan scan(link_, scanEnd_);
        scanEnd_.finished.reset();
        if (!scan.Start({103, 512})) return {};
        const bool ended =
            testsupport::WaitFor([this] { return scanEnd_.finished.has_value(); }, 60000) &&
            testsupport::WaitFor([this] { return !link_.PortClaimed(); }, 10000);
        if (!ended || scanEnd_.finished->outcome != TOutcome::Done || scanEnd_.fromCache != kept)
            return {};
        return scan.Flights();
    }
    // A scan reads 301 sectors; the memory stays as it is, and so does its
    // list: read once for every download below.
    const std::vector<TListedFlight>& Listed() {
        if (listed_.empty()) listed_ = Scan();
        return listed_;
    }

  private Q_SLOTS:
    void initTestCase() {
        standIn_ = std::make_unique<standin::TStandIn>(memory_);
        QVERIFY(standIn_->StartFor(link_));
    }

    // Newest first, each from its true first sector with its sectors; a
    // second look takes the kept list, which still holds.
    void scan_listsEveryFlight() {
        const std::vector<TListedFlight> listed = Scan();
        listed_ = listed;
        QCOMPARE(listed.size(), memory_.flights.size());
        for (std::size_t i = 0; i < listed.size(); ++i) {
            const standin::TFlight& truth = memory_.flights[memory_.flights.size() - 1 - i];
            QCOMPARE(listed[i].flightNumber, truth.number);
            QCOMPARE(listed[i].firstSector, truth.firstSector);
            QCOMPARE(listed[i].sectors, truth.sectors);
            QVERIFY(listed[i].dated);
            QCOMPARE(listed[i].start, truth.start);
        }
        QCOMPARE(Scan(true), listed);
    }

    // Every flight of the list downloaded in one run, each byte-exact.
    void everyFlight_byteExact_data() {
        QTest::addColumn<bool>("bySector");
        QTest::newRow("sectors") << true;
        QTest::newRow("pages") << false;
    }
    void everyFlight_byteExact() {
        QFETCH(bool, bySector);
        const std::vector<TListedFlight>& listed = Listed();
        QCOMPARE(listed.size(), memory_.flights.size());
        QTemporaryDir dir;
        std::map<int, QByteArray> read;
        const int hook = flow::AttachDownloadHook([&read](const flow::TDownloadedTrack& track) {
            read[track.flightNumber] = standin::ListsText(*track.lists);
        });
        flow::TFlightsDownload run(link_, runEnd_);
        run.Folder = [&dir] { return dir.path(); };
        // Undone also when a check below gives up early.
        const auto detach = qScopeGuard([&] { flow::DetachDownloadHook(hook); });
        runEnd_.finished.reset();
        QVERIFY(run.Start(track::NewFlights(listed), bySector));
        QVERIFY(testsupport::WaitFor([this] { return runEnd_.finished.has_value(); }, 120000));
        QVERIFY(testsupport::WaitFor([this] { return !link_.PortClaimed(); }, 10000));

        QCOMPARE(int(runEnd_.finished->outcome), int(TOutcome::Done));
        QCOMPARE(runEnd_.downloaded, int(memory_.flights.size()));
        for (std::size_t f = 0; f < memory_.flights.size(); ++f) {
            const int number = memory_.flights[f].number;
            QVERIFY2(read.count(number), qPrintable(QString::number(number)));
            QCOMPARE(read[number], memory_.expected[f]);
            QVERIFY(QFile::exists(
                QDir(dir.path()).filePath(QStringLiteral("Track%1.gpx").arg(number))));
        }
    }
};

QTEST_MAIN(TestStandInFlights)
#include "tst_standinflights.moc"
