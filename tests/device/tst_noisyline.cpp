// The worker on a line that damages replies or goes away, at the line's own
// pace (115200 8N1): a damaged reply costs a retry and nothing of it is
// taken, a vanished instrument ends the operation without spending the
// retries. The counts asserted are those a busy machine cannot change: a
// stalled thread may cost a try more, never one less.
//
// Most cases run the line and the program's waits sped up together (kSpedUp):
// every wait keeps its ratio to the replies it waits for, in a quarter of the
// time. A row at the speed of 1 runs at the program's own timing.
#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QTest>

#include "device/Frames.h"
#include "device/TrackLists.h"
#include "sim/TrackMemory.h"
#include "tests/support/WaitFor.h"
#include "tests/support/WorkerBench.h"

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

// The program's waits: 1.5 s for the first byte, 2.5 s for the whole reply.
constexpr int kProgramPollStepUs = 5000;
constexpr int kLateMs = 2250;  // past the first-byte wait, within the quiet wait after it
constexpr int kSpedUp = 4;
// Polls of 2 ms: a first-byte wait of 600 ms, long past any reply of the
// unpaced line even on a stalled machine. The program's 1.5 s would only
// lengthen the quiet wait after a failed operation.
constexpr int kPatientPollStepUs = 2000;

// The line `speedUp` times faster than 115200 8N1, and the program's waits
// that much shorter.
void SpeedUp(TWorkerBench& bench, int speedUp) {
    bench.simulator.SetPaced(true);
    bench.simulator.SetLineSpeedUp(speedUp);
}

Outcome Download(TWorkerBench& bench, bool bySector, int speedUp = 1) {
    auto* worker = bench.Make(OP_TRACK);
    worker->Timing.pollStep = std::chrono::microseconds(kProgramPollStepUs / speedUp);
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

    void damagedReply_retried_sameLists_data() {
        QTest::addColumn<bool>("bySector");
        QTest::addColumn<sim::TDamage>("damage");
        QTest::addColumn<int>("atRequest");
        QTest::addColumn<int>("everyReplyLateMs");
        // A late reply fails its try unless a busy machine stretched the
        // try's wait past it; then it is taken, rightly, as its own.
        QTest::addColumn<int>("leastFailures");
        QTest::addColumn<int>("speedUp");
        // Request 2 is the second of the flight's two sectors; request 8 a page
        // in the middle of its one sector.
        using D = sim::TDamage;
        QTest::newRow("sector: first byte changed")
            << true << D::FirstByteChanged << 2 << 0 << 1 << kSpedUp;
        QTest::newRow("sector: garbage in front")
            << true << D::GarbageInFront << 2 << 0 << 1 << kSpedUp;
        QTest::newRow("sector: cut short") << true << D::CutShort << 2 << 0 << 1 << kSpedUp;
        QTest::newRow("sector: wrong check byte")
            << true << D::WrongCheckByte << 2 << 0 << 1 << kSpedUp;
        QTest::newRow("sector: the previous sector again")
            << true << D::PreviousReply << 2 << 0 << 1 << kSpedUp;
        QTest::newRow("page: first byte changed")
            << false << D::FirstByteChanged << 8 << 0 << 1 << kSpedUp;
        QTest::newRow("page: garbage in front")
            << false << D::GarbageInFront << 8 << 0 << 1 << kSpedUp;
        QTest::newRow("page: cut short") << false << D::CutShort << 8 << 0 << 1 << kSpedUp;
        QTest::newRow("page: wrong check byte")
            << false << D::WrongCheckByte << 8 << 0 << 1 << kSpedUp;
        QTest::newRow("sector: late past the wait") << true << D::Late << 2 << 0 << 0 << kSpedUp;
        QTest::newRow("page: late past the wait") << false << D::Late << 8 << 0 << 0 << kSpedUp;
        // The retry's answer then trails the late one by more than the quiet
        // wait before a retry: it must not pass for the next page.
        QTest::newRow("page: late, the next answer trailing, at the program's own timing")
            << false << D::Late << 8 << 60 << 0 << 1;
    }
    void damagedReply_retried_sameLists() {
        QFETCH(bool, bySector);
        QFETCH(sim::TDamage, damage);
        QFETCH(int, atRequest);
        QFETCH(int, everyReplyLateMs);
        QFETCH(int, leastFailures);
        QFETCH(int, speedUp);
        const QByteArray clean = CleanLists(bySector);
        QVERIFY(!clean.isEmpty());
        TWorkerBench bench;
        bench.simulator.SetMemory(LineRateFlight(bySector));
        SpeedUp(bench, speedUp);
        sim::TFaults faults;
        faults.damage = damage;
        faults.damageFrom = atRequest;
        faults.damageBytes = 300 * speedUp;  // 26 ms of noise, several receive ticks
        faults.damageMs = kLateMs / speedUp;
        faults.lateMs = everyReplyLateMs / speedUp;
        bench.simulator.SetFaults(faults);
        const Outcome o = Download(bench, bySector, speedUp);
        QVERIFY(o.failedTries >= leastFailures);
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
        QVERIFY(o.failedTries >= damaged);
        QCOMPARE(o.posted.back(), (testing::Posted{ST_TRACK_END, 0}));
    }

    // Replies to another request: the instrument answers with the reply to
    // the request before (one reply behind). `lead` runs first so that the
    // request before is of its kind. Only the replies whose kind or length
    // cannot answer the request are told apart; a page of 261 bytes at an
    // identification, or an identification at a statistics request, can be
    // either, as far as the protocol goes.

    void staleReply_oneShotOperations_failWithNoLink_data() {
        QTest::addColumn<int>("lead");
        QTest::addColumn<bool>("shortIdentity");
        QTest::addColumn<int>("operation");
        QTest::addColumn<std::vector<int>>("codes");
        QTest::addColumn<int>("success");
        const std::vector<int> noLink{ST_PORT_OPEN, ST_BAD_REPLY, ST_NO_LINK};
        const std::vector<int> pageFailed{ST_PORT_OPEN, ST_BAD_REPLY};
        QTest::newRow("identify after statistics: 48 bytes, no settings block")
            << int(OP_READ_STATS) << false << int(OP_IDENTIFY) << noLink << int(ST_IDENTIFIED);
        QTest::newRow("statistics after a short identification: the short frame")
            << int(OP_IDENTIFY) << true << int(OP_READ_STATS) << noLink << int(ST_STATS_READ);
        QTest::newRow("settings write after identify: the identification")
            << int(OP_IDENTIFY) << false << int(OP_SEND_FRAME) << noLink << int(ST_WRITTEN);
        QTest::newRow("settings write after a short identification: another command")
            << int(OP_IDENTIFY) << true << int(OP_SEND_FRAME) << noLink << int(ST_WRITTEN);
        QTest::newRow("page after statistics: the statistics")
            << int(OP_READ_STATS) << false << int(OP_READ_PAGE) << pageFailed << int(ST_PAGE_READ);
        QTest::newRow("page after identify: the identification")
            << int(OP_IDENTIFY) << false << int(OP_READ_PAGE) << pageFailed << int(ST_PAGE_READ);
    }
    void staleReply_oneShotOperations_failWithNoLink() {
        QFETCH(int, lead);
        QFETCH(bool, shortIdentity);
        QFETCH(int, operation);
        QFETCH(std::vector<int>, codes);
        QFETCH(int, success);
        TWorkerBench bench;
        sim::TIdentity identity;
        identity.shortFrame = shortIdentity;
        bench.simulator.SetIdentity(identity);
        sim::TFaults faults;
        faults.damage = sim::TDamage::PreviousReply;
        faults.damageFrom = 2;
        bench.simulator.SetFaults(faults);
        // The stale answers follow the requests: a try that a busy machine
        // made fail and repeat would shift which request meets which answer.
        // The operations around the one under test are patient.
        const auto patient = [&bench](int op) {
            auto* worker = MakeSingle(bench, std::uint8_t(op));
            worker->Timing.pollStep = std::chrono::microseconds(kPatientPollStepUs);
            return worker;
        };
        QVERIFY(bench.RunToEnd(patient(lead)));
        bench.recorder.posted.clear();
        QVERIFY(bench.RunToEnd(MakeSingle(bench, std::uint8_t(operation))));
        QCOMPARE(bench.recorder.Codes(), codes);
        // Without the stale answer the same request succeeds. A late tail of
        // the refused reply may still cost a retry on a busy machine, so the
        // retries are not counted.
        bench.recorder.posted.clear();
        QVERIFY(bench.RunToEnd(patient(operation)));
        QCOMPARE(bench.recorder.Count(success), 1);
        QCOMPARE(bench.recorder.Count(ST_NO_LINK), 0);
    }

    // In a download the sector header tells: a reply naming another sector
    // of the flight is refused, and so is one of another kind or length. An
    // erased header right after an erased page is asked for once more, since
    // it may be that page again. A record page says nothing of where it lies.
    void staleReply_download_refusedSameLists_data() {
        QTest::addColumn<bool>("bySector");
        QTest::addColumn<int>("atRequest");  // the statistics read first is request 1
        // Two sectors of one flight, then erased memory: sector mode asks for
        // sectors 2, 3, 4 (requests 2..4), page mode for 33 pages (2..34).
        QTest::newRow("sector: the statistics for the first sector") << true << 2;
        QTest::newRow("sector: the first sector for the second") << true << 3;
        QTest::newRow("sector: the last sector for the erased one") << true << 4;
        QTest::newRow("page: the statistics for the first header") << false << 2;
        QTest::newRow("page: the last erased page for the next header") << false << 18;
        QTest::newRow("page: an erased page for the erased header") << false << 34;
    }
    void staleReply_download_refusedSameLists() {
        QFETCH(bool, bySector);
        QFETCH(int, atRequest);
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
        QCOMPARE(stale.posted.back(), (testing::Posted{ST_TRACK_END, 0}));
        QVERIFY(stale.lists == clean.lists);
    }

    void everyReplyOneBehind_sectorDownloadAsksTwiceForEach() {
        TWorkerBench clean;
        clean.simulator.SetMemory(TwoSectorFlight());
        const Outcome expected = Download(clean, true);
        TWorkerBench bench;
        bench.simulator.SetMemory(TwoSectorFlight());
        sim::TFaults faults;
        faults.previousReplies = true;
        bench.simulator.SetFaults(faults);
        QVERIFY(bench.RunToEnd(bench.Make(OP_READ_STATS)));
        bench.recorder.posted.clear();
        const Outcome o = Download(bench, true);
        QCOMPARE(o.posted.back(), (testing::Posted{ST_TRACK_END, 0}));
        QVERIFY(o.lists == expected.lists);
        // Each sector is first answered with the reply before, which names
        // another sector (or is the statistics).
        const int lead = 1;  // the statistics read
        QVERIFY(o.requests - lead >= 2 * expected.requests);
    }

    // A late answer of an earlier operation reaches the next one's request
    // unless the line is let fall quiet first: an identification reply is a
    // sound statistics reply by its length, and the other way round.
    void lateAnswerOfTheOperationBefore_notTakenByTheNext_data() {
        QTest::addColumn<int>("lead");
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("success");
        QTest::newRow("identification, then statistics")
            << int(OP_IDENTIFY) << int(OP_READ_STATS) << int(ST_STATS_READ);
        QTest::newRow("statistics, then identification")
            << int(OP_READ_STATS) << int(OP_IDENTIFY) << int(ST_IDENTIFIED);
        QTest::newRow("a page, then identification")
            << int(OP_READ_PAGE) << int(OP_IDENTIFY) << int(ST_IDENTIFIED);
    }
    void lateAnswerOfTheOperationBefore_notTakenByTheNext() {
        QFETCH(int, lead);
        QFETCH(int, operation);
        QFETCH(int, success);
        TWorkerBench bench;
        SpeedUp(bench, kSpedUp);
        sim::TFlightStats stats;
        stats.flightNumber = 0x2A2A;
        bench.simulator.SetStats(0, stats);
        sim::TFaults faults;
        faults.damage = sim::TDamage::Late;
        faults.damageFrom = 1;
        faults.damageMs = 2500 / kSpedUp;  // long past the lead's wait of 300 polls
        bench.simulator.SetFaults(faults);
        auto* leader = MakeSingle(bench, std::uint8_t(lead));
        leader->Timing.pollStep = std::chrono::microseconds(1000 / kSpedUp);
        QVERIFY(bench.RunToEnd(leader));
        if (bench.recorder.Count(ST_BAD_REPLY) == 0)
            QSKIP("the machine stretched the lead's wait past its late answer");
        bench.recorder.posted.clear();
        // Its waits (and the quiet wait after a failed operation) are 3 s at
        // the line's own speed.
        auto* next = MakeSingle(bench, std::uint8_t(operation));
        next->Timing.pollStep = std::chrono::microseconds(10000 / kSpedUp);
        QVERIFY(bench.RunToEnd(next));
        QCOMPARE(bench.recorder.Codes(), (std::vector<int>{ST_PORT_OPEN, success}));
        if (success == ST_STATS_READ)
            QCOMPARE(int(LE16(bench.link.RxBuffer.data() + 8)), 0x2A2A);
        else
            QCOMPARE(bench.recorder.posted.back().value, qintptr(101));
    }

    // A program killed during a sector download leaves the rest of its reply
    // on the line; the next program opens the port while it still comes.
    void tailOfAKilledProgramsAnswer_drainedWhenThePortOpens() {
        TWorkerBench bench(false);  // the program's own receive polling
        bench.simulator.SetMemory(TwoSectorFlight());
        bench.simulator.SetPaced(true);  // 356 ms for the sector
        const QByteArray path = QFile::encodeName(bench.simulator.PortPath());
        const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY);
        QVERIFY(fd >= 0);
        std::array<std::uint8_t, LongRequestLength> request{};
        BuildAddressRequest(request.data(), CMD_READ_SECTOR, kStartSector * 4096);
        QCOMPARE(::write(fd, request.data(), request.size()), ssize_t(request.size()));
        std::uint8_t head[64];
        std::size_t got = 0;
        while (got < sizeof head) {
            const ssize_t n = ::read(fd, head + got, sizeof head - got);
            QVERIFY(n > 0);
            got += std::size_t(n);
        }
        ::close(fd);
        auto* identify = bench.Make(OP_IDENTIFY);
        identify->Timing.pollStep = std::chrono::microseconds(kPatientPollStepUs);
        QVERIFY(bench.RunToEnd(identify));
        const std::vector<testing::Posted> expected{{ST_PORT_OPEN, 0}, {ST_IDENTIFIED, 101}};
        QCOMPARE(bench.recorder.posted, expected);
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
        TRY_VERIFY_WITH_TIMEOUT(ended, 10000);
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
