// The worker against an instrument written from the reply layouts alone
// (StandIn.h). Both flights in memory must come down whole, in both modes.
#include <QTest>

#include "device/Frames.h"
#include "device/TrackLists.h"
#include "tests/support/StandIn.h"
#include "tests/support/WorkerBench.h"
#include "track/FlightStats.h"

using namespace device;

namespace {

// Erased memory before, between and after the two flights.
standin::TMemory TwoFlights() {
    return standin::TMemory(
        {{41, 3, 2, standin::At(2025, 8, 17, 9, 0)}, {42, 6, 3, standin::At(2025, 8, 17, 14, 0)}},
        10);
}

}  // namespace

class TestStandIn : public QObject {
    Q_OBJECT
    serial::TNonVisComp link_;
    standin::TMemory memory_ = TwoFlights();
    std::unique_ptr<standin::TStandIn> standIn_;
    testing::TRecorder recorder_;

    TDeviceIO* Make(std::uint8_t operation) {
        recorder_.posted.clear();
        auto* worker = TDeviceIO::Create(link_, recorder_.handle.Target());
        worker->Operation = operation;
        return worker;
    }

  private Q_SLOTS:
    void initTestCase() {
        standIn_ = std::make_unique<standin::TStandIn>(memory_);
        QVERIFY(standIn_->StartFor(link_));
    }

    void identification_settingsBlockTakenWhole() {
        QVERIFY(testing::RunToEnd(Make(OP_IDENTIFY)));
        QCOMPARE(recorder_.posted.back(), (testing::Posted{ST_IDENTIFIED, 103}));
        QCOMPARE(int(LE16(link_.RxBuffer.data() + 6)), 512);
        QCOMPARE(int(link_.RxBuffer[157]), 157);
    }

    void bothFlights_bothModes_byteExact_data() {
        QTest::addColumn<int>("flightIndex");
        QTest::addColumn<bool>("bySector");
        QTest::newRow("last flight, sectors") << 0 << true;
        QTest::newRow("last flight, pages") << 0 << false;
        QTest::newRow("flight before, sectors") << 1 << true;
        QTest::newRow("flight before, pages") << 1 << false;
    }
    void bothFlights_bothModes_byteExact() {
        QFETCH(int, flightIndex);
        QFETCH(bool, bySector);
        TDeviceIO* stats = Make(OP_READ_STATS);
        stats->FlightIndex = std::uint8_t(flightIndex);
        QVERIFY(testing::RunToEnd(stats));
        QCOMPARE(recorder_.Codes().back(), int(ST_STATS_READ));
        const track::TFlightStatsReply read = track::ParseFlightStats(link_.RxBuffer.data());
        const standin::TFlight& flight = memory_.flights[std::size_t(1 - flightIndex)];
        QCOMPARE(read.flightNumber, flight.number);
        QCOMPARE(int(read.distance), 123);

        TDeviceIO* download = Make(OP_TRACK);
        download->StartSector = read.startSector;
        download->BySector = bySector;
        QVERIFY(testing::RunToEnd(download));
        QCOMPARE(recorder_.posted.back(), (testing::Posted{ST_TRACK_END, 0}));
        QCOMPARE(standin::ListsText(TrackLists().Snapshot()),
                 memory_.expected[std::size_t(1 - flightIndex)]);
    }
};

QTEST_GUILESS_MAIN(TestStandIn)
#include "tst_standin.moc"
