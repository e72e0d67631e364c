// Firmware blocks to the simulated instrument: answers, retries, progress.
#include <QTest>

#include "tests/support/WaitFor.h"
#include "tests/support/WorkerBench.h"

using namespace device;
using testing::TWorkerBench;

namespace {
// An image of `blocks` blocks of `payload` bytes each, laid into TxBuffer.
std::vector<std::uint8_t> LayImage(serial::TNonVisComp& link, int blocks, int payload) {
    std::vector<std::uint8_t> image;
    for (int b = 0; b < blocks; ++b) {
        image.push_back(std::uint8_t(payload >> 8));
        image.push_back(std::uint8_t(payload));
        for (int i = 0; i < payload; ++i) image.push_back(std::uint8_t(b * 31 + i));
    }
    std::copy(image.begin(), image.end(), link.TxBuffer.begin());
    return image;
}

std::vector<qintptr> Progress(const testing::TRecorder& r) {
    std::vector<qintptr> values;
    for (const auto& p : r.posted)
        if (p.code == ST_FW_PROGRESS) values.push_back(p.value);
    return values;
}

// A transfer that must succeed waits for each answer as long as the program
// does: with the short wait of the failure tests, a starved simulator thread
// answers late, the block goes out twice and the instrument keeps both.
enum class TAnswerWait { Short, Program };

TDeviceIO* FirmwareWorker(TWorkerBench& bench, int length, TAnswerWait wait = TAnswerWait::Short) {
    auto* worker = bench.Make(OP_FIRMWARE, wait == TAnswerWait::Short);
    worker->DataLength = length;
    worker->Timing.chunkPause = std::chrono::milliseconds(1);
    return worker;
}
}  // namespace

class TestFirmwareTransfer : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void emptyImage_hundredAtOnceNothingSent() {
        TWorkerBench bench;
        QVERIFY(bench.RunToEnd(FirmwareWorker(bench, 0)));
        const std::vector<testing::Posted> expected{{ST_PORT_OPEN, 0}, {ST_FW_PROGRESS, 100}};
        QCOMPARE(bench.recorder.posted, expected);
        QCOMPARE(bench.simulator.FirmwareBlocksReceived(), 0);
    }

    void oneBlock_progressZeroThenHundred() {
        TWorkerBench bench;
        const auto image = LayImage(bench.link, 1, 118);  // 120 bytes: two full pieces
        QVERIFY(bench.RunToEnd(FirmwareWorker(bench, int(image.size()), TAnswerWait::Program)));
        QCOMPARE(Progress(bench.recorder), (std::vector<qintptr>{0, 100}));
        QCOMPARE(bench.simulator.FirmwareReceived(), image);
    }

    void manyBlocks_imageArrivesByteExactWithEvenProgress() {
        TWorkerBench bench;
        const auto image = LayImage(bench.link, 37, 250);
        QVERIFY(bench.RunToEnd(FirmwareWorker(bench, int(image.size()), TAnswerWait::Program)));
        QCOMPARE(bench.simulator.FirmwareReceived(), image);
        const auto progress = Progress(bench.recorder);
        QCOMPARE(progress.back(), qintptr(100));
        for (std::size_t i = 0; i + 1 < progress.size(); ++i) {
            QVERIFY(progress[i] % 2 == 0);
            QVERIFY(progress[i] < progress[i + 1]);
        }
        QCOMPARE(progress.front(), qintptr(0));
        QCOMPARE(bench.simulator.FirmwareBlocksReceived(), 37);
    }

    void retryAnswers_blockSentAgainUpToThreeTimes_data() {
        QTest::addColumn<int>("retries");
        QTest::addColumn<int>("finalCode");
        QTest::addColumn<int>("blocksSent");
        QTest::newRow("two retries, then accepted") << 2 << int(ST_FW_PROGRESS) << 2 + 2;
        QTest::newRow("three retries: link lost") << 3 << int(ST_NO_LINK) << 3;
    }
    void retryAnswers_blockSentAgainUpToThreeTimes() {
        QFETCH(int, retries);
        QFETCH(int, finalCode);
        QFETCH(int, blocksSent);
        TWorkerBench bench;
        sim::TFirmwareBehaviour behaviour;
        behaviour.retryAnswers = retries;
        bench.simulator.SetFirmwareBehaviour(behaviour);
        const auto image = LayImage(bench.link, 2, 10);
        QVERIFY(bench.RunToEnd(FirmwareWorker(bench, int(image.size()))));
        QCOMPARE(bench.recorder.Codes().back(), finalCode);
        QCOMPARE(bench.simulator.FirmwareBlocksReceived(), blocksSent);
    }

    void wrongDevice_stopsAtOnce() {
        TWorkerBench bench;
        sim::TFirmwareBehaviour behaviour;
        behaviour.rejectAtBlock = 1;
        bench.simulator.SetFirmwareBehaviour(behaviour);
        const auto image = LayImage(bench.link, 5, 10);
        QVERIFY(bench.RunToEnd(FirmwareWorker(bench, int(image.size()))));
        QCOMPARE(bench.recorder.Codes(),
                 (std::vector<int>{ST_PORT_OPEN, ST_FW_PROGRESS, ST_FW_REJECTED}));
        QCOMPARE(bench.simulator.FirmwareBlocksReceived(), 2);
    }

    void silentInstrument_linkLostAfterThreeSends() {
        TWorkerBench bench;
        sim::TFirmwareBehaviour behaviour;
        behaviour.silent = true;
        bench.simulator.SetFirmwareBehaviour(behaviour);
        const auto image = LayImage(bench.link, 2, 10);
        auto* worker = FirmwareWorker(bench, int(image.size()));
        worker->Timing.pollStep = std::chrono::microseconds(300);
        QVERIFY(bench.RunToEnd(worker));
        QCOMPARE(bench.recorder.Codes(), (std::vector<int>{ST_PORT_OPEN, ST_NO_LINK}));
        TRY_COMPARE(bench.simulator.FirmwareBlocksReceived(), 3);
    }

    void brokenChain_nothingSent() {
        TWorkerBench bench;
        const auto image = LayImage(bench.link, 2, 10);
        QVERIFY(bench.RunToEnd(FirmwareWorker(bench, int(image.size()) - 1)));
        QCOMPARE(bench.recorder.Codes(), (std::vector<int>{ST_PORT_OPEN, ST_NO_LINK}));
        QCOMPARE(bench.simulator.FirmwareBlocksReceived(), 0);
    }
};

QTEST_GUILESS_MAIN(TestFirmwareTransfer)
#include "tst_firmwaretransfer.moc"
