// The worker's status sequences against the simulated instrument.
#include <QTest>

#include "device/Frames.h"
#include "tests/support/WaitFor.h"
#include "tests/support/WorkerBench.h"

using namespace device;
using testing::Posted;
using testing::TWorkerBench;
Q_DECLARE_METATYPE(sim::TFaults)

namespace {
sim::TIdentity Identity(std::uint16_t model, std::uint16_t version = 258) {
    sim::TIdentity id;
    id.model = model;
    id.firmwareVersion = version;
    id.settings[4] = 3;
    id.settings[147] = 0xA7;
    id.companion = 0x1234;
    return id;
}
}  // namespace

class TestDeviceIO : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void identify_atProgramTiming_reportsModelAndLeavesReply() {
        TWorkerBench bench(false);
        bench.simulator.SetPaced(true);
        bench.simulator.SetIdentity(Identity(101, 0x0102));
        QVERIFY(bench.RunToEnd(bench.Make(OP_IDENTIFY, false)));
        const std::vector<Posted> expected{{ST_PORT_OPEN, 0}, {ST_IDENTIFIED, 101}};
        QCOMPARE(bench.recorder.posted, expected);
        const auto& rx = bench.link.RxBuffer;
        QCOMPARE(int(rx[6]), 0x02);
        QCOMPARE(int(rx[7]), 0x01);
        QCOMPARE(int(rx[8 + 4]), 3);
        QCOMPARE(int(rx[8 + 147]), 0xA7);
        QCOMPARE(int(LE16(&rx[156])), 0x1234);
        QVERIFY(!bench.link.comport.Connected());
        QVERIFY(!bench.link.PortClaimed());
        // The request went out exactly as built on a fresh buffer.
        const auto requests = bench.simulator.Requests();
        QCOMPARE(requests.size(), std::size_t(1));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(requests[0].data()), 10),
                 QByteArray::fromHex("7E0A52010000000000E3"));
    }

    void identify_modelNumbers_data() {
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("shortFrame");
        QTest::addColumn<int>("reported");
        QTest::newRow("100") << 100 << false << 100;
        QTest::newRow("default model") << 1 << false << 1;
        QTest::newRow("not in table") << 50 << false << 0;
        QTest::newRow("zero") << 0 << false << 0;
        QTest::newRow("high byte 01") << 0x0164 << false << 0;
        QTest::newRow("short frame") << 100 << true << 0;
    }
    void identify_modelNumbers() {
        QFETCH(int, model);
        QFETCH(bool, shortFrame);
        QFETCH(int, reported);
        TWorkerBench bench;
        auto id = Identity(std::uint16_t(model));
        id.shortFrame = shortFrame;
        bench.simulator.SetIdentity(id);
        QVERIFY(bench.RunToEnd(bench.Make(OP_IDENTIFY)));
        const std::vector<Posted> expected{{ST_PORT_OPEN, 0}, {ST_IDENTIFIED, reported}};
        QCOMPARE(bench.recorder.posted, expected);
    }

    void identify_faultyReplies_data() {
        QTest::addColumn<sim::TFaults>("faults");
        QTest::addColumn<std::vector<int>>("codes");
        const std::vector<int> badReply{ST_PORT_OPEN, ST_BAD_REPLY, ST_NO_LINK};
        const std::vector<int> badHeader{ST_PORT_OPEN, ST_BAD_HEADER, ST_NO_LINK};
        struct Row {
            const char* legend;
            sim::TFaults faults;
            std::vector<int> codes;
        };
        const auto with = [](auto set) {
            sim::TFaults f;
            set(f);
            return f;
        };
        const Row rows[] = {
            {"silent", with([](auto& f) { f.silent = true; }), badReply},
            {"header 0x55", with([](auto& f) { f.badHeader = true; }), badHeader},
            {"wrong check byte", with([](auto& f) { f.wrongCheckByte = true; }), badReply},
            {"one byte extra", with([](auto& f) { f.extraByte = true; }), badReply},
            {"one byte missing", with([](auto& f) { f.dropLastByte = true; }), badReply},
            {"garbage before", with([](auto& f) { f.garbageBefore = 3; }), badHeader},
        };
        for (const Row& row : rows) QTest::newRow(row.legend) << row.faults << row.codes;
    }
    void identify_faultyReplies() {
        QFETCH(sim::TFaults, faults);
        QFETCH(std::vector<int>, codes);
        TWorkerBench bench;
        bench.simulator.SetFaults(faults);
        QVERIFY(bench.RunToEnd(bench.Make(OP_IDENTIFY)));
        QCOMPARE(bench.recorder.Codes(), codes);
        QVERIFY(!bench.link.comport.Connected());
    }

    void identify_silentAtProgramTiming_failsAfterFirstWait() {
        TWorkerBench bench(false);
        sim::TFaults faults;
        faults.silent = true;
        bench.simulator.SetFaults(faults);
        QVERIFY(bench.RunToEnd(bench.Make(OP_IDENTIFY, false)));
        QCOMPARE(bench.recorder.Codes(),
                 (std::vector<int>{ST_PORT_OPEN, ST_BAD_REPLY, ST_NO_LINK}));
    }

    void identify_lengthFieldSplitAcrossTicks_accepted_data() {
        QTest::addColumn<int>("headBytes");
        QTest::newRow("header byte only") << 1;
        QTest::newRow("half the length field") << 3;
    }
    void identify_lengthFieldSplitAcrossTicks_accepted() {
        QFETCH(int, headBytes);
        TWorkerBench bench(false);  // 100 ms ticks
        bench.simulator.SetIdentity(Identity(103));
        sim::TFaults faults;
        faults.pauseAfterBytes = headBytes;
        faults.pauseMs = 250;  // at least two polling ticks see only the head
        bench.simulator.SetFaults(faults);
        QVERIFY(bench.RunToEnd(bench.Make(OP_IDENTIFY, false)));
        const std::vector<Posted> expected{{ST_PORT_OPEN, 0}, {ST_IDENTIFIED, 103}};
        QCOMPARE(bench.recorder.posted, expected);
    }

    void identify_slowPiecesAcrossTicks_accepted() {
        TWorkerBench bench(false);
        bench.simulator.SetIdentity(Identity(104));
        sim::TFaults faults;
        faults.splitChunk = 40;
        faults.splitDelayMs = 120;  // more than one polling tick per piece
        bench.simulator.SetFaults(faults);
        QVERIFY(bench.RunToEnd(bench.Make(OP_IDENTIFY, false)));
        const std::vector<Posted> expected{{ST_PORT_OPEN, 0}, {ST_IDENTIFIED, 104}};
        QCOMPARE(bench.recorder.posted, expected);
    }

    void missingPort_onlyPortFailed() {
        TWorkerBench bench;
        bench.link.comport.SetPortName(QStringLiteral("/dev/tolmarik-no-such-port"));
        QVERIFY(bench.RunToEnd(bench.Make(OP_IDENTIFY)));
        QCOMPARE(bench.recorder.Codes(), std::vector<int>{ST_PORT_FAILED});
        QVERIFY(!bench.link.PortClaimed());
    }

    void readPage_noAnswer_badReplyOnly() {
        TWorkerBench bench;
        sim::TFaults faults;
        faults.silent = true;
        bench.simulator.SetFaults(faults);
        auto* worker = bench.Make(OP_READ_PAGE);
        worker->PageAddress = 64 * 256;
        QVERIFY(bench.RunToEnd(worker));
        QCOMPARE(bench.recorder.Codes(), (std::vector<int>{ST_PORT_OPEN, ST_BAD_REPLY}));
    }

    void readPage_answer_dataInReply() {
        TWorkerBench bench;
        std::vector<std::uint8_t> memory(64 * 256 + 256, 0);
        for (int i = 0; i < 256; ++i) memory[64 * 256 + i] = std::uint8_t(i);
        bench.simulator.SetMemory(memory);
        auto* worker = bench.Make(OP_READ_PAGE);
        worker->PageAddress = 64 * 256;
        QVERIFY(bench.RunToEnd(worker));
        QCOMPARE(bench.recorder.Codes(), (std::vector<int>{ST_PORT_OPEN, ST_PAGE_READ}));
        for (int i = 0; i < 256; ++i) QCOMPARE(int(bench.link.RxBuffer[4 + i]), i);
    }

    void readStats_flightIndexSentAndReplyKept() {
        TWorkerBench bench;
        sim::TFlightStats previous;
        previous.flightNumber = 41;
        previous.startSector = 77;
        bench.simulator.SetStats(1, previous);
        auto* worker = bench.Make(OP_READ_STATS);
        worker->FlightIndex = 1;
        QVERIFY(bench.RunToEnd(worker));
        QCOMPARE(bench.recorder.Codes(), (std::vector<int>{ST_PORT_OPEN, ST_STATS_READ}));
        QCOMPARE(int(LE16(&bench.link.RxBuffer[8])), 41);
        QCOMPARE(int(LE16(&bench.link.RxBuffer[10])), 77);
        QCOMPARE(int(bench.simulator.Requests().at(0).at(4)), 1);
    }

    void sendFrame_settingsWrite_writtenAndStored() {
        TWorkerBench bench;
        std::array<std::uint8_t, DeviceConfigSize> config{};
        config[4] = 5;
        config[100] = 0x42;
        auto* worker = bench.Make(OP_SEND_FRAME);
        worker->DataLength = BuildWriteConfigRequest(bench.link.TxBuffer.data(), config.data());
        QVERIFY(bench.RunToEnd(worker));
        QCOMPARE(bench.recorder.Codes(), (std::vector<int>{ST_PORT_OPEN, ST_WRITTEN}));
        const auto written = bench.simulator.WrittenConfig();
        QCOMPARE(written.size(), std::size_t(DeviceConfigSize));
        QVERIFY(std::equal(written.begin(), written.end(), config.begin()));
    }

    // An operation that ended on a whole reply with nothing after it lets the
    // next one on the same port skip the wait for a quiet line: the steps of
    // a flight list or a download follow each other without it.
    void operationEnd_quietOnlyAfterAWholeReply_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<sim::TFaults>("faults");
        QTest::addColumn<bool>("quiet");
        sim::TFaults silent;
        silent.silent = true;
        sim::TFaults wrongCheckByte;
        wrongCheckByte.wrongCheckByte = true;
        sim::TFaults extraByte;
        extraByte.extraByte = true;
        QTest::newRow("identification answered") << int(OP_IDENTIFY) << sim::TFaults{} << true;
        QTest::newRow("statistics answered") << int(OP_READ_STATS) << sim::TFaults{} << true;
        QTest::newRow("silent instrument") << int(OP_IDENTIFY) << silent << false;
        QTest::newRow("wrong check byte") << int(OP_IDENTIFY) << wrongCheckByte << false;
        QTest::newRow("a byte after the frame") << int(OP_IDENTIFY) << extraByte << false;
        QTest::newRow("no request sent") << 6 << sim::TFaults{} << false;
    }
    void operationEnd_quietOnlyAfterAWholeReply() {
        QFETCH(int, operation);
        QFETCH(sim::TFaults, faults);
        QFETCH(bool, quiet);
        TWorkerBench bench;
        bench.simulator.SetFaults(faults);
        QVERIFY(bench.RunToEnd(bench.Make(std::uint8_t(operation))));
        QCOMPARE(bench.link.quietEnd.has_value(), quiet);
        if (quiet) QCOMPARE(bench.link.quietEnd->port, bench.simulator.PortPath());
    }

    void openingWait_neededUnlessJustEndedQuietThere_data() {
        QTest::addColumn<bool>("endedQuiet");
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("msAgo");
        QTest::addColumn<bool>("needed");
        const QString here = QStringLiteral("/dev/ttyUSB0");
        QTest::newRow("first operation") << false << here << 0 << true;
        QTest::newRow("just ended quiet on this port") << true << here << 100 << false;
        QTest::newRow("ended quiet on another port")
            << true << QStringLiteral("/dev/ttyUSB1") << 100 << true;
        QTest::newRow("ended quiet a second ago") << true << here << 1000 << true;
        QTest::newRow("ended at a time still to come") << true << here << -100 << true;
    }
    void openingWait_neededUnlessJustEndedQuietThere() {
        QFETCH(bool, endedQuiet);
        QFETCH(QString, port);
        QFETCH(int, msAgo);
        QFETCH(bool, needed);
        const auto now = std::chrono::steady_clock::now();
        std::optional<serial::TNonVisComp::TQuietEnd> ended;
        if (endedQuiet)
            ended = serial::TNonVisComp::TQuietEnd{QStringLiteral("/dev/ttyUSB0"),
                                                   now - std::chrono::milliseconds(msAgo)};
        QCOMPARE(OpeningWaitNeeded(ended, port, now), needed);
    }

    void operationSix_portOpenOnly() {
        TWorkerBench bench;
        QVERIFY(bench.RunToEnd(bench.Make(6)));
        QCOMPARE(bench.recorder.Codes(), std::vector<int>{ST_PORT_OPEN});
        QCOMPARE(bench.simulator.RequestCount(), 0);
    }

    void trackWithoutStartSector_portOpenOnly() {
        TWorkerBench bench;
        QVERIFY(bench.RunToEnd(bench.Make(OP_TRACK)));
        QCOMPARE(bench.recorder.Codes(), std::vector<int>{ST_PORT_OPEN});
        QVERIFY(!bench.link.comport.Connected());
    }

    void hangUpMidReply_workerEndsAndPortCloses() {
        TWorkerBench bench;
        sim::TFaults faults;
        faults.hangUpAfterRequests = 1;
        faults.hangUpMidReply = true;
        bench.simulator.SetFaults(faults);
        QVERIFY(bench.RunToEnd(bench.Make(OP_IDENTIFY)));
        QCOMPARE(bench.recorder.Codes(),
                 (std::vector<int>{ST_PORT_OPEN, ST_BAD_REPLY, ST_NO_LINK}));
        QVERIFY(!bench.link.comport.Connected());
        QVERIFY(!bench.link.PortClaimed());
    }

    void secondWorkerWhileOneRuns_refusedWithPortFailed() {
        TWorkerBench bench;
        sim::TFaults faults;
        faults.lateMs = 400;
        bench.simulator.SetFaults(faults);
        testing::TRecorder second;
        auto* first = bench.Make(OP_IDENTIFY, false);
        bool firstEnded = false;
        first->OnTerminate = [&] { firstEnded = true; };
        first->Start();
        TRY_VERIFY(bench.link.PortClaimed());
        auto* intruder = TDeviceIO::Create(bench.link, second.handle.Target());
        bool intruderEnded = false;
        intruder->OnTerminate = [&] { intruderEnded = true; };
        intruder->Start();
        TRY_VERIFY(intruderEnded);
        QCOMPARE(second.Codes(), std::vector<int>{ST_PORT_FAILED});
        TRY_VERIFY_WITH_TIMEOUT(firstEnded, 10000);
        const std::vector<Posted> expected{{ST_PORT_OPEN, 0}, {ST_IDENTIFIED, 101}};
        QCOMPARE(bench.recorder.posted, expected);
        QCOMPARE(bench.simulator.RequestCount(), 1);
    }

    void windowClosedWhileWorkerRuns_postsDroppedSafely() {
        TWorkerBench bench;
        sim::TFaults faults;
        faults.lateMs = 200;
        bench.simulator.SetFaults(faults);
        auto* window = new testing::TRecorder;
        auto* worker = TDeviceIO::Create(bench.link, window->handle.Target());
        bool ended = false;
        worker->OnTerminate = [&] { ended = true; };
        worker->Start();
        TRY_VERIFY(bench.link.PortClaimed());
        delete window;
        TRY_VERIFY_WITH_TIMEOUT(ended, 10000);
        QVERIFY(!bench.link.comport.Connected());
    }
};

QTEST_GUILESS_MAIN(TestDeviceIO)
#include "tst_deviceio.moc"
