// The worker on a line that damages replies or goes away, at the line's own
// pace (115200 8N1): one damaged reply costs one retry, a vanished
// instrument ends the operation without spending the retries.
#include <QTest>

#include "WorkerHarness.h"
#include "device/Frames.h"
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
    int requests = 0;  // of the whole session, the download's own included
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
    o.requests = bench.simulator.RequestCount();
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

// A worker that reads or writes once, set up for `operation`.
TDeviceIO* MakeSingle(TWorkerBench& bench, std::uint8_t operation) {
    auto* worker = bench.Make(operation);
    if (operation == OP_SEND_FRAME) {
        const std::array<std::uint8_t, DeviceConfigSize> config{};
        worker->DataLength = BuildWriteConfigRequest(bench.link.TxBuffer.data(), config.data());
    }
    return worker;
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

    // Replies to another request: the instrument answers with the reply to
    // the request before (one reply behind, or a retry that crossed a late
    // answer). `lead` runs first so that the request before is of its kind.

    void staleReply_oneShotOperations_failWithNoLink_data() {
        QTest::addColumn<int>("lead");
        QTest::addColumn<bool>("shortIdentity");
        QTest::addColumn<int>("operation");
        QTest::addColumn<std::vector<int>>("codes");
        const std::vector<int> noLink{ST_PORT_OPEN, ST_BAD_REPLY, ST_NO_LINK};
        const std::vector<int> pageFailed{ST_PORT_OPEN, ST_BAD_REPLY};
        QTest::newRow("identify after statistics: the statistics")
            << int(OP_READ_STATS) << false << int(OP_IDENTIFY) << noLink;
        QTest::newRow("identify after a settings write: the write's answer")
            << int(OP_SEND_FRAME) << false << int(OP_IDENTIFY) << noLink;
        QTest::newRow("identify after a page: the page")
            << int(OP_READ_PAGE) << false << int(OP_IDENTIFY) << noLink;
        QTest::newRow("statistics after identify: the identification")
            << int(OP_IDENTIFY) << false << int(OP_READ_STATS) << noLink;
        QTest::newRow("statistics after a short identification: the short frame")
            << int(OP_IDENTIFY) << true << int(OP_READ_STATS) << noLink;
        QTest::newRow("statistics after a page: the page")
            << int(OP_READ_PAGE) << false << int(OP_READ_STATS) << noLink;
        QTest::newRow("settings write after identify: the identification")
            << int(OP_IDENTIFY) << false << int(OP_SEND_FRAME) << noLink;
        QTest::newRow("settings write after a short identification: the short frame")
            << int(OP_IDENTIFY) << true << int(OP_SEND_FRAME) << noLink;
        QTest::newRow("page after statistics: the statistics")
            << int(OP_READ_STATS) << false << int(OP_READ_PAGE) << pageFailed;
        QTest::newRow("page after identify: the identification")
            << int(OP_IDENTIFY) << false << int(OP_READ_PAGE) << pageFailed;
    }
    void staleReply_oneShotOperations_failWithNoLink() {
        QFETCH(int, lead);
        QFETCH(bool, shortIdentity);
        QFETCH(int, operation);
        QFETCH(std::vector<int>, codes);
        TWorkerBench bench;
        sim::TIdentity identity;
        identity.shortFrame = shortIdentity;
        bench.simulator.SetIdentity(identity);
        sim::TFaults faults;
        faults.damage = sim::TDamage::PreviousReply;
        faults.damageFrom = 2;
        bench.simulator.SetFaults(faults);
        QVERIFY(bench.RunToEnd(MakeSingle(bench, std::uint8_t(lead))));
        bench.recorder.posted.clear();
        QVERIFY(bench.RunToEnd(MakeSingle(bench, std::uint8_t(operation))));
        QCOMPARE(bench.recorder.Codes(), codes);
        // Without the stale answer the same request succeeds.
        bench.recorder.posted.clear();
        QVERIFY(bench.RunToEnd(MakeSingle(bench, std::uint8_t(operation))));
        QCOMPARE(bench.recorder.Count(ST_BAD_REPLY), 0);
        QCOMPARE(bench.recorder.Count(ST_NO_LINK), 0);
    }

    void staleReply_download_oneRetrySameLists_data() {
        QTest::addColumn<bool>("bySector");
        QTest::addColumn<int>("atRequest");  // the statistics read first is request 1
        QTest::addColumn<int>("extraRequests");
        // Two sectors of one flight, then erased memory: sector mode asks for
        // sectors 2, 3, 4 (requests 2..4), page mode for 33 pages (2..34).
        QTest::newRow("sector: the statistics for the first sector") << true << 2 << 1;
        QTest::newRow("sector: the first sector for the second") << true << 3 << 1;
        QTest::newRow("sector: the last sector for the erased one") << true << 4 << 1;
        QTest::newRow("page: the statistics for the first header") << false << 2 << 1;
        QTest::newRow("page: the header for the first record page") << false << 3 << 1;
        QTest::newRow("page: a record page for the next") << false << 9 << 1;
        QTest::newRow("page: the last erased page for the next header") << false << 18 << 1;
        QTest::newRow("page: a record page of the second sector") << false << 21 << 1;
        // An erased header after an erased page is asked for twice anyway.
        QTest::newRow("page: an erased page for the erased header") << false << 34 << 0;
    }
    void staleReply_download_oneRetrySameLists() {
        QFETCH(bool, bySector);
        QFETCH(int, atRequest);
        QFETCH(int, extraRequests);
        const auto download = [bySector](const sim::TFaults& faults, Outcome& o) {
            TWorkerBench bench;
            bench.simulator.SetMemory(TwoSectorFlight());
            bench.simulator.SetFaults(faults);
            auto* stats = bench.Make(OP_READ_STATS);
            QVERIFY(bench.RunToEnd(stats));
            bench.recorder.posted.clear();
            o = Download(bench, bySector);
        };
        Outcome clean;
        download(sim::TFaults{}, clean);
        sim::TFaults faults;
        faults.damage = sim::TDamage::PreviousReply;
        faults.damageFrom = atRequest;
        Outcome stale;
        download(faults, stale);
        QVERIFY(!clean.lists.isEmpty());
        QCOMPARE(stale.requests, clean.requests + extraRequests);
        QCOMPARE(stale.posted.back(), (testing::Posted{ST_TRACK_END, 0}));
        QVERIFY(stale.lists == clean.lists);
    }

    void everyReplyOneBehind_downloadCostsOneRetryEach_data() {
        QTest::addColumn<bool>("bySector");
        QTest::newRow("sector mode") << true;
        QTest::newRow("page mode") << false;
    }
    void everyReplyOneBehind_downloadCostsOneRetryEach() {
        QFETCH(bool, bySector);
        TWorkerBench clean;
        clean.simulator.SetMemory(TwoSectorFlight());
        const Outcome expected = Download(clean, bySector);
        TWorkerBench bench;
        bench.simulator.SetMemory(TwoSectorFlight());
        sim::TFaults faults;
        faults.previousReplies = true;
        bench.simulator.SetFaults(faults);
        QVERIFY(bench.RunToEnd(bench.Make(OP_READ_STATS)));
        bench.recorder.posted.clear();
        const Outcome o = Download(bench, bySector);
        QCOMPARE(o.posted.back(), (testing::Posted{ST_TRACK_END, 0}));
        QVERIFY(o.lists == expected.lists);
        // Each request is answered once with the reply before and once with
        // its own, but an erased record page after an erased one, which is
        // the same page either way.
        const int lead = 1;  // the statistics read
        QVERIFY(o.requests - lead > expected.requests);
        QVERIFY(o.requests - lead <= 2 * expected.requests);
        if (bySector) QCOMPARE(o.requests - lead, 2 * expected.requests);
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

    void firmwareLateAnswerOfAResentBlock_notTakenForTheNext() {
        TWorkerBench bench;
        sim::TFaults faults;
        faults.damage = sim::TDamage::Late;
        faults.damageFrom = 2;
        faults.damageMs = 1500;  // past the second block's wait of 1000 polls of 1 ms
        faults.lateMs = 30;      // the resend's answer trails the late one
        bench.simulator.SetFaults(faults);
        sim::TFirmwareBehaviour firmware;
        firmware.rejectAtBlock = 3;  // the fourth block taken is refused
        bench.simulator.SetFirmwareBehaviour(firmware);
        auto* worker = bench.Make(OP_FIRMWARE);
        worker->DataLength = LayImage(bench.link, 6, 100);
        worker->Timing.chunkPause = std::chrono::milliseconds(1);
        QVERIFY(bench.RunToEnd(worker));
        // Blocks 1, 2, 2 again, 3: the resend's own answer arrives after the
        // late one and must not pass for block 3's.
        QCOMPARE(bench.recorder.posted.back(), (testing::Posted{ST_FW_REJECTED, 0}));
        QCOMPARE(bench.simulator.FirmwareBlocksReceived(), 4);
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
