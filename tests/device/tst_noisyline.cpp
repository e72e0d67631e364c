// The worker on a line that damages replies or goes away, at the line's own
// pace (115200 8N1): one damaged reply costs one retry, a vanished
// instrument ends the operation without spending the retries.
#include <QTest>

#include "WorkerHarness.h"
#include "device/TrackLists.h"
#include "sim/TrackMemory.h"

using namespace device;
using testing::TWorkerBench;
Q_DECLARE_METATYPE(sim::TDamage)

namespace {
constexpr std::uint16_t kStartSector = 2;

// A flight of `sectors` sectors, records over every page, erased memory after.
std::vector<std::uint8_t> Flight(int sectors) {
    sim::TTrackMemoryBuilder b;
    for (int s = 0; s < sectors; ++s) {
        b.BeginSector(std::uint16_t(kStartSector + s), 7, 2024, 6, 7, 9, std::uint8_t(10 * s), 0);
        for (int i = 0; i < 100; ++i) {
            b.AddGps(std::int16_t(1000 + i), 46.0f + float(i) / 1000, 7.0f, std::uint8_t(s));
            b.AddEng(std::uint8_t(i), std::uint16_t(s * 1000 + i), 0);
            b.AddGps(std::int16_t(-i), 47.0f, 8.0f + float(i) / 1000);
        }
    }
    return b.Memory();
}

// The lists as comparable bytes: every time stamp and record in order.
QByteArray Flatten(const TrackSnapshot& s) {
    QByteArray out;
    const auto add = [&out](TrackTime time, const std::uint8_t* bytes, int size) {
        out.append(reinterpret_cast<const char*>(&time), sizeof time);
        out.append(reinterpret_cast<const char*>(bytes), size);
    };
    for (const auto& e : s.gps) add(e.time, e.record.data(), int(e.record.size()));
    for (const auto& e : s.eng) add(e.time, e.record.data(), int(e.record.size()));
    return out;
}

struct Outcome {
    std::vector<testing::Posted> posted;
    QByteArray lists;
    int failedTries = 0;
};

Outcome Download(TWorkerBench& bench, bool bySector) {
    auto* worker = bench.Make(OP_TRACK);
    // 600 ms for the first byte, 1 s for the whole reply: ample for 4101
    // bytes on the line, short enough for the late and cut-short replies.
    worker->Timing.pollStep = std::chrono::microseconds(2000);
    worker->StartSector = kStartSector;
    worker->BySector = bySector;
    Outcome o;
    if (!bench.RunToEnd(worker)) return o;
    o.posted = bench.recorder.posted;
    o.failedTries = bench.recorder.Count(ST_BAD_REPLY) + bench.recorder.Count(ST_BAD_HEADER);
    o.lists = Flatten(TrackLists().Snapshot());
    return o;
}

std::vector<std::uint8_t> TwoSectorFlight() { return Flight(2); }

// At the line's pace a page costs 23 ms, a sector 356 ms: sector mode reads
// two sectors and the end, page mode one sector's 16 pages and the end.
std::vector<std::uint8_t> LineRateFlight(bool bySector) { return Flight(bySector ? 2 : 1); }

// What a clean download gives, taken once per mode.
QByteArray CleanLists(bool bySector) {
    static QByteArray lists[2];
    QByteArray& clean = lists[bySector ? 1 : 0];
    if (clean.isEmpty()) {
        TWorkerBench bench;
        bench.simulator.SetMemory(LineRateFlight(bySector));
        clean = Download(bench, bySector).lists;
    }
    return clean;
}

// An image of `blocks` blocks of `payload` bytes each, laid into TxBuffer.
int LayImage(serial::TNonVisComp& link, int blocks, int payload) {
    int at = 0;
    for (int b = 0; b < blocks; ++b) {
        link.TxBuffer[std::size_t(at++)] = std::uint8_t(payload >> 8);
        link.TxBuffer[std::size_t(at++)] = std::uint8_t(payload);
        for (int i = 0; i < payload; ++i) link.TxBuffer[std::size_t(at++)] = std::uint8_t(b + i);
    }
    return at;
}
}  // namespace

class TestNoisyLine : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // Damaged replies.

    void damagedReply_costsOneRetry_sameLists_data() {
        QTest::addColumn<bool>("bySector");
        QTest::addColumn<sim::TDamage>("damage");
        QTest::addColumn<int>("atRequest");
        QTest::addColumn<int>("everyReplyLateMs");
        // Request 2 is the second of the flight's two sectors; request 8 a page
        // in the middle of its one sector.
        using D = sim::TDamage;
        QTest::newRow("sector: first byte changed") << true << D::FirstByteChanged << 2 << 0;
        QTest::newRow("sector: garbage in front") << true << D::GarbageInFront << 2 << 0;
        QTest::newRow("sector: cut short") << true << D::CutShort << 2 << 0;
        QTest::newRow("sector: wrong check byte") << true << D::WrongCheckByte << 2 << 0;
        QTest::newRow("sector: the previous sector again") << true << D::PreviousReply << 2 << 0;
        QTest::newRow("page: first byte changed") << false << D::FirstByteChanged << 8 << 0;
        QTest::newRow("page: garbage in front") << false << D::GarbageInFront << 8 << 0;
        QTest::newRow("page: cut short") << false << D::CutShort << 8 << 0;
        QTest::newRow("page: wrong check byte") << false << D::WrongCheckByte << 8 << 0;
        QTest::newRow("sector: late past the wait") << true << D::Late << 2 << 0;
        QTest::newRow("page: late past the wait") << false << D::Late << 8 << 0;
        // The retry's answer then trails the late one by more than the quiet
        // wait before a retry: it must not pass for the next page.
        QTest::newRow("page: late, the next answer trailing") << false << D::Late << 8 << 60;
    }
    void damagedReply_costsOneRetry_sameLists() {
        QFETCH(bool, bySector);
        QFETCH(sim::TDamage, damage);
        QFETCH(int, atRequest);
        QFETCH(int, everyReplyLateMs);
        const QByteArray clean = CleanLists(bySector);
        QVERIFY(!clean.isEmpty());
        TWorkerBench bench;
        bench.simulator.SetMemory(LineRateFlight(bySector));
        bench.simulator.SetPaced(true);
        sim::TFaults faults;
        faults.damage = damage;
        faults.damageFrom = atRequest;
        faults.damageBytes = 300;  // 26 ms of noise, several receive ticks
        faults.damageMs = 900;     // past the 600 ms a try waits for its first byte
        faults.lateMs = everyReplyLateMs;
        bench.simulator.SetFaults(faults);
        const Outcome o = Download(bench, bySector);
        QCOMPARE(o.failedTries, 1);
        QVERIFY(!o.posted.empty());
        QCOMPARE(o.posted.back(), (testing::Posted{ST_TRACK_END, 0}));
        QVERIFY(o.lists == clean);
    }

    void damagedRepliesUpToTheLimit_downloadGoesOn_data() {
        QTest::addColumn<bool>("bySector");
        QTest::addColumn<int>("damaged");
        QTest::newRow("sector: 12 garbled in a row") << true << 12;
        QTest::newRow("page: 32 garbled in a row") << false << 32;
    }
    void damagedRepliesUpToTheLimit_downloadGoesOn() {
        QFETCH(bool, bySector);
        QFETCH(int, damaged);
        TWorkerBench bench;
        bench.simulator.SetMemory(TwoSectorFlight());
        sim::TFaults faults;
        faults.damage = sim::TDamage::GarbageInFront;
        faults.damageFrom = 2;
        faults.damageCount = damaged;
        bench.simulator.SetFaults(faults);
        const Outcome o = Download(bench, bySector);
        QCOMPARE(o.failedTries, damaged);
        QCOMPARE(o.posted.back(), (testing::Posted{ST_TRACK_END, 0}));
    }

    // A vanished instrument.

    void hangUpMidDownload_endsWithoutRetries_data() {
        QTest::addColumn<bool>("bySector");
        QTest::addColumn<int>("atRequest");
        QTest::newRow("sector mode") << true << 2;
        QTest::newRow("page mode") << false << 20;
    }
    void hangUpMidDownload_endsWithoutRetries() {
        QFETCH(bool, bySector);
        QFETCH(int, atRequest);
        TWorkerBench bench;
        bench.simulator.SetMemory(TwoSectorFlight());
        bench.simulator.SetPaced(true);
        sim::TFaults faults;
        faults.hangUpAfterRequests = atRequest;
        faults.hangUpMidReply = true;
        bench.simulator.SetFaults(faults);
        const Outcome o = Download(bench, bySector);
        QCOMPARE(o.failedTries, 1);
        const std::vector<testing::Posted> tail{{ST_BAD_REPLY, LINK_LOST}, {ST_NO_LINK, LINK_LOST}};
        QVERIFY(o.posted.size() > 2);
        QCOMPARE(std::vector<testing::Posted>(o.posted.end() - 2, o.posted.end()), tail);
        QCOMPARE(bench.recorder.Count(ST_TRACK_PAGE), atRequest - 1);
        QVERIFY(!bench.link.comport.Connected());
    }

    void hangUpAtProgramTiming_noticedWithinASecond() {
        TWorkerBench bench(false);
        bench.simulator.SetMemory(TwoSectorFlight());
        sim::TFaults faults;
        faults.hangUpAfterRequests = 2;
        faults.hangUpMidReply = true;
        bench.simulator.SetFaults(faults);
        auto* worker = bench.Make(OP_TRACK, false);
        worker->StartSector = kStartSector;
        bool lost = false;
        bool ended = false;
        worker->OnTerminate = [&] {
            lost = worker->LinkLost();
            ended = true;
        };
        worker->Start();
        // Spending the retries would take 13 waits of 1.5 s.
        QTRY_VERIFY_WITH_TIMEOUT(ended, 10000);
        QVERIFY(lost);
        QCOMPARE(bench.recorder.posted.back(), (testing::Posted{ST_NO_LINK, LINK_LOST}));
        QCOMPARE(bench.recorder.Count(ST_BAD_REPLY), 1);
    }

    void pageRead_hangUp_badReplyLostOnly() {
        TWorkerBench bench;
        sim::TFaults faults;
        faults.hangUpAfterRequests = 1;
        faults.hangUpMidReply = true;
        bench.simulator.SetFaults(faults);
        auto* worker = bench.Make(OP_READ_PAGE);
        worker->Timing.pollStep = std::chrono::microseconds(5000);
        QVERIFY(bench.RunToEnd(worker));
        const std::vector<testing::Posted> expected{{ST_PORT_OPEN, 0}, {ST_BAD_REPLY, LINK_LOST}};
        QCOMPARE(bench.recorder.posted, expected);
    }

    void silentInstrument_notTakenForLost() {
        TWorkerBench bench;
        sim::TFaults faults;
        faults.silent = true;
        bench.simulator.SetFaults(faults);
        QVERIFY(bench.RunToEnd(bench.Make(OP_IDENTIFY)));
        const std::vector<testing::Posted> expected{
            {ST_PORT_OPEN, 0}, {ST_BAD_REPLY, 0}, {ST_NO_LINK, 0}};
        QCOMPARE(bench.recorder.posted, expected);
    }

    // Firmware.

    void firmwareAnswerAfterNoise_oneResend() {
        TWorkerBench bench;
        bench.simulator.SetPaced(true);
        sim::TFaults faults;
        faults.damage = sim::TDamage::GarbageInFront;
        faults.damageFrom = 2;
        faults.damageBytes = 3000;  // 260 ms of noise before the answer
        bench.simulator.SetFaults(faults);
        auto* worker = bench.Make(OP_FIRMWARE);
        worker->DataLength = LayImage(bench.link, 4, 100);
        QVERIFY(bench.RunToEnd(worker));
        QCOMPARE(bench.recorder.posted.back(), (testing::Posted{ST_FW_PROGRESS, 100}));
        QCOMPARE(bench.simulator.FirmwareBlocksReceived(), 4 + 1);
    }

    void firmwareHangUp_endsWithoutResends() {
        TWorkerBench bench;
        sim::TFaults faults;
        faults.hangUpAfterRequests = 3;
        faults.hangUpMidReply = true;  // the third block gets no answer
        bench.simulator.SetFaults(faults);
        auto* worker = bench.Make(OP_FIRMWARE);
        worker->DataLength = LayImage(bench.link, 6, 100);
        worker->Timing.chunkPause = std::chrono::milliseconds(1);
        QVERIFY(bench.RunToEnd(worker));
        QCOMPARE(bench.recorder.posted.back(), (testing::Posted{ST_NO_LINK, LINK_LOST}));
        QCOMPARE(bench.recorder.Count(ST_FW_PROGRESS), 2);
    }
};

QTEST_GUILESS_MAIN(TestNoisyLine)
#include "tst_noisyline.moc"
