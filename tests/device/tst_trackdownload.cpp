// Track download in sector and page mode against laid-out track memory.
#include <QTest>

#include "device/TrackLists.h"
#include "sim/TrackMemory.h"
#include "tests/support/WorkerBench.h"

using namespace device;
using testing::TWorkerBench;

namespace {
std::string FirstTime(const TrackSnapshot& s) {
    return s.gps.empty() ? std::string() : TimeText(s.gps.front().time);
}

struct Download {
    std::vector<int> codes;
    std::vector<qintptr> trackEnds;
    int pages = 0;
    TrackSnapshot lists;
};

// `pollStep` sets how long a try waits for the first byte (300 steps).
Download Run(TWorkerBench& bench, std::uint16_t startSector, bool bySector,
             std::chrono::microseconds pollStep = std::chrono::microseconds(1000),
             device::TTrackLimits limits = {}) {
    auto* worker = bench.Make(OP_TRACK);
    worker->Timing.pollStep = pollStep;
    worker->Limits = limits;
    worker->StartSector = startSector;
    worker->BySector = bySector;
    Download d;
    if (!bench.RunToEnd(worker, 120000)) return d;
    d.codes = bench.recorder.Codes();
    for (const auto& p : bench.recorder.posted) {
        if (p.code == ST_TRACK_END) d.trackEnds.push_back(p.value);
        if (p.code == ST_TRACK_PAGE) d.pages = int(p.value);
    }
    d.lists = TrackLists().Snapshot();
    return d;
}
}  // namespace

class TestTrackDownload : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void cleanFlight_bothModes_sameListsAndTimes_data() {
        QTest::addColumn<bool>("bySector");
        QTest::newRow("sectors") << true;
        QTest::newRow("pages") << false;
    }
    void cleanFlight_bothModes_sameListsAndTimes() {
        QFETCH(bool, bySector);
        sim::TTrackMemoryBuilder b;
        b.BeginSector(5, 7, 2024, 6, 7, 9, 5, 3);
        b.AddGps(1500, 46.5f, 7.25f);
        b.AddEng(3, 1013, 65535);
        b.AddGps(-15, 46.5001f, 7.2501f);
        b.BeginSector(6, 7, 2024, 6, 7, 9, 5, 6);
        b.AddEng(1, 2, 3);
        b.AddGps(1510, 46.6f, 7.3f);
        b.BeginSector(7, 8, 2024, 6, 8, 10, 0, 0);  // the next flight
        b.AddGps(1, 1.0f, 1.0f);
        TWorkerBench bench;
        bench.simulator.SetMemory(b.Memory());
        const Download d = Run(bench, 5, bySector);
        QCOMPARE(d.lists.gps.size(), std::size_t(3));
        QCOMPARE(d.lists.eng.size(), std::size_t(2));
        QCOMPARE(FirstTime(d.lists), std::string("2024-06-07T09:05:03Z"));
        QCOMPARE(TimeText(d.lists.eng.front().time), std::string("2024-06-07T09:05:04Z"));
        QCOMPARE(TimeText(d.lists.gps[1].time), std::string("2024-06-07T09:05:05Z"));
        QCOMPARE(TimeText(d.lists.eng[1].time), std::string("2024-06-07T09:05:06Z"));
        QCOMPARE(TimeText(d.lists.gps[2].time), std::string("2024-06-07T09:05:07Z"));
        QCOMPARE(d.lists.gps[1].Altitude(), std::int16_t(-15));
        QCOMPARE(d.lists.gps[0].Latitude(), 46.5f);
        QCOMPARE(d.lists.eng[0].Value2(), 1013u);
        QCOMPARE(d.lists.eng[0].Value3(), 65535u);
        QCOMPARE(d.trackEnds.back(), qintptr(0));
        if (bySector) {
            // Erased bytes after the last record of each sector end its walk.
            const std::vector<qintptr> ends{256 + 30 + 4, 256 + 18 + 4, 0};
            QCOMPARE(d.trackEnds, ends);
            QCOMPARE(d.pages, 2);
        } else {
            QCOMPARE(d.trackEnds.size(), std::size_t(1));
            QCOMPARE(d.pages, 32);
        }
        QCOMPARE(d.codes.front(), int(ST_PORT_OPEN));
        QCOMPARE(d.codes.back(), int(ST_TRACK_END));
    }

    void firstSectorNumberWrong_endsSilentlyWithEmptyLists() {
        sim::TTrackMemoryBuilder b;
        b.BeginSector(5, 7, 2024, 6, 7, 9, 5, 3);
        b.AddGps(1500, 46.5f, 7.25f);
        auto memory = b.Memory();
        memory[5 * 4096 + 6] = 9;  // the header claims to be sector 9
        TWorkerBench bench;
        bench.simulator.SetMemory(memory);
        TrackLists().AppendGps({});
        // The program's waits: no try of an answered request fails on time.
        const Download d = Run(bench, 5, true, std::chrono::microseconds(5000));
        // The first answer might have been an earlier request's: a failed
        // try. The same header again is what the memory holds.
        QCOMPARE(d.codes, (std::vector<int>{ST_PORT_OPEN, ST_BAD_REPLY}));
        QVERIFY(d.lists.gps.empty());
        QCOMPARE(bench.simulator.RequestCount(), 2);
    }

    void headerWithoutValidDate_recordsFromFallbackTime_data() {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::newRow("month 0") << 0 << 7;
        QTest::newRow("30 February") << 2 << 30;
        QTest::newRow("month 13") << 13 << 1;
    }
    void headerWithoutValidDate_recordsFromFallbackTime() {
        QFETCH(int, month);
        QFETCH(int, day);
        sim::TTrackMemoryBuilder b;
        b.BeginSector(3, 1, 2024, std::uint8_t(month), std::uint8_t(day), 12, 0, 0);
        b.AddGps(10, 1.0f, 2.0f);
        b.AddEng(1, 2, 3);
        b.AddGps(10, 1.0f, 2.0f);
        TWorkerBench bench;
        bench.simulator.SetMemory(b.Memory());
        const Download d = Run(bench, 3, true);
        QCOMPARE(FirstTime(d.lists), std::string("2024-01-01T00:00:00Z"));
        QCOMPARE(TimeText(d.lists.eng[0].time), std::string("2024-01-01T00:00:01Z"));
        QCOMPARE(TimeText(d.lists.gps[1].time), std::string("2024-01-01T00:00:02Z"));
    }

    void erasedMemoryAfterFlight_endsWithTrackEndZero() {
        sim::TTrackMemoryBuilder b;
        b.BeginSector(2, 4, 2024, 5, 1, 8, 0, 0);
        b.AddGps(10, 1.0f, 2.0f);
        TWorkerBench bench;
        bench.simulator.SetMemory(b.Memory());  // sector 3 reads 0xFF: flight 0xFFFF
        const Download d = Run(bench, 2, true);
        QCOMPARE(d.trackEnds, (std::vector<qintptr>{256 + 12 + 4, 0}));
        QCOMPARE(d.lists.gps.size(), std::size_t(1));
    }

    void sectorMode_unknownKindSkipsRestOfSectorAndGoesOn() {
        sim::TTrackMemoryBuilder b;
        b.BeginSector(2, 4, 2024, 5, 1, 8, 0, 0);
        b.AddGps(10, 1.0f, 2.0f);
        b.AddRaw({9, 0, 0, 0, 0, 0, 0, 0, 0});
        b.AddGps(20, 1.0f, 2.0f);  // after the unknown record: not read in sector mode
        b.BeginSector(3, 4, 2024, 5, 1, 8, 10, 0);
        b.AddGps(30, 1.0f, 2.0f);
        TWorkerBench bench;
        bench.simulator.SetMemory(b.Memory());
        const Download d = Run(bench, 2, true);
        QCOMPARE(d.trackEnds, (std::vector<qintptr>{256 + 12 + 4, 256 + 12 + 4, 0}));
        QCOMPARE(d.lists.gps.size(), std::size_t(2));
        QCOMPARE(d.lists.gps[1].Altitude(), std::int16_t(30));
        QCOMPARE(TimeText(d.lists.gps[1].time), std::string("2024-05-01T08:10:00Z"));
    }

    void pageMode_recordStraddlingPages_decodedOnceInOrder() {
        sim::TTrackMemoryBuilder b;
        b.BeginSector(2, 4, 2024, 5, 1, 8, 0, 0);
        for (int i = 0; i < 21; ++i) b.AddGps(1, 1.0f, 1.0f);  // 252 bytes of the first page
        b.AddGps(2, 2.0f, 2.0f);                               // 4 bytes here, 8 in the next page
        b.AddEng(7, 8, 9);  // read from offset 8 of the next page
        TWorkerBench bench;
        bench.simulator.SetMemory(b.Memory());
        const Download d = Run(bench, 2, false);
        QCOMPARE(d.lists.gps.size(), std::size_t(22));
        QCOMPARE(d.lists.gps[21].Altitude(), std::int16_t(2));
        QCOMPARE(d.lists.gps[21].Latitude(), 2.0f);
        QCOMPARE(d.lists.gps[21].Longitude(), 2.0f);
        QCOMPARE(TimeText(d.lists.gps[21].time), std::string("2024-05-01T08:00:21Z"));
        QCOMPARE(d.lists.eng.size(), std::size_t(1));
        QCOMPARE(d.lists.eng[0].Value3(), 9u);
        QCOMPARE(TimeText(d.lists.eng[0].time), std::string("2024-05-01T08:00:22Z"));
    }

    void recordRunningPastSectorEnd_droppedInBothModes_data() {
        QTest::addColumn<bool>("bySector");
        QTest::newRow("sectors") << true;
        QTest::newRow("pages") << false;
    }
    void recordRunningPastSectorEnd_droppedInBothModes() {
        QFETCH(bool, bySector);
        sim::TTrackMemoryBuilder b;
        b.BeginSector(2, 4, 2024, 5, 1, 8, 0, 0);
        b.AddEng(1, 1, 1);
        for (int i = 0; i < 319; ++i) b.AddGps(1, 1.0f, 1.0f);  // up to byte 4090
        b.AddGps(999, 9.0f, 9.0f);  // 6 bytes in this sector, 6 where the next header is
        b.BeginSector(3, 4, 2024, 5, 1, 9, 0, 0);
        b.AddGps(3, 3.0f, 3.0f);
        TWorkerBench bench;
        bench.simulator.SetMemory(b.Memory());
        const Download d = Run(bench, 2, bySector);
        QCOMPARE(d.lists.gps.size(), std::size_t(320));
        QCOMPARE(d.lists.gps[318].Altitude(), std::int16_t(1));
        QCOMPARE(d.lists.gps[319].Altitude(), std::int16_t(3));
        QCOMPARE(TimeText(d.lists.gps[319].time), std::string("2024-05-01T09:00:00Z"));
    }

    void retries_data() {
        QTest::addColumn<bool>("bySector");
        QTest::addColumn<int>("failures");
        QTest::addColumn<bool>("linkLost");
        QTest::addColumn<int>("pollStepUs");
        // A silent line can only fail, so its waits may be short; a try that
        // is answered waits 600 ms for the first byte, which a stalled machine
        // does not outlast.
        QTest::newRow("sector: one failure then an answer") << true << 1 << false << 2000;
        QTest::newRow("sector: 13 failures") << true << 13 << true << 100;
        QTest::newRow("page: 33 failures") << false << 33 << true << 100;
    }
    void retries() {
        QFETCH(bool, bySector);
        QFETCH(int, failures);
        QFETCH(bool, linkLost);
        QFETCH(int, pollStepUs);
        sim::TTrackMemoryBuilder b;
        b.BeginSector(2, 4, 2024, 5, 1, 8, 0, 0);
        b.AddGps(1, 1.0f, 1.0f);
        TWorkerBench bench;
        bench.simulator.SetMemory(b.Memory());
        sim::TFaults faults;
        faults.failFirstRequests = failures;
        bench.simulator.SetFaults(faults);
        const Download d = Run(bench, 2, bySector, std::chrono::microseconds(pollStepUs));
        const int badReplies = int(std::count(d.codes.begin(), d.codes.end(), int(ST_BAD_REPLY)));
        // A stalled machine may fail a try more, but never more than all.
        if (linkLost) {
            QCOMPARE(badReplies, failures);
            QCOMPARE(d.codes.back(), int(ST_NO_LINK));
            QCOMPARE(d.pages, 0);
        } else {
            QVERIFY(badReplies >= failures);
            QCOMPARE(d.trackEnds.back(), qintptr(0));
            QCOMPARE(d.lists.gps.size(), std::size_t(1));
        }
    }

    // The download stops one exchange past its count, however long the
    // track. The page row gives a small count: the program's 3001 pages
    // would take 3001 receive ticks.
    void countLimit_data() {
        QTest::addColumn<bool>("bySector");
        QTest::addColumn<int>("pageLimit");
        QTest::addColumn<int>("pagesRead");
        QTest::newRow("sectors: the program's 301") << true << device::MaxPageCount << 301;
        QTest::newRow("pages: one past a count of 40") << false << 40 << 41;
    }
    void countLimit() {
        QFETCH(bool, bySector);
        QFETCH(int, pageLimit);
        QFETCH(int, pagesRead);
        sim::TTrackMemoryBuilder b;
        const int sectors = bySector ? 305 : 20;
        for (int s = 0; s < sectors; ++s) {
            b.BeginSector(std::uint16_t(1 + s), 9, 2024, 5, 1, 8, 0, 0);
            b.AddEng(1, 2, 3);
        }
        TWorkerBench bench;
        bench.simulator.SetMemory(b.Memory());
        device::TTrackLimits limits;
        limits.pages = pageLimit;
        const Download d = Run(bench, 1, bySector, std::chrono::microseconds(1000), limits);
        QCOMPARE(d.pages, pagesRead);
        QCOMPARE(d.codes.back(), int(ST_TRACK_PAGE));
        QVERIFY(std::find(d.trackEnds.begin(), d.trackEnds.end(), 0) == d.trackEnds.end());
    }
};

QTEST_GUILESS_MAIN(TestTrackDownload)
#include "tst_trackdownload.moc"
