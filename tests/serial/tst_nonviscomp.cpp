// The receive accumulator: append, overflow, clear.
#include <QTest>
#include <atomic>
#include <memory>
#include <thread>

#include "serial/UnitNVC.h"

using namespace serial;

namespace {
void Append(TNonVisComp& nvc, std::initializer_list<std::uint8_t> bytes) {
    const std::vector<std::uint8_t> v(bytes);
    nvc.comportReceiveData(&nvc.comport, v.data(), std::uint32_t(v.size()));
}
}  // namespace

class TestNonVisComp : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void created_isTheInstanceAndEmpty() {
        TNonVisComp nvc;
        QCOMPARE(&TNonVisComp::Instance(), &nvc);
        QCOMPARE(nvc.ReceiveCount(), 0);
    }

    void twoChunks_appendedInOrder() {
        TNonVisComp nvc;
        Append(nvc, {1, 2, 3});
        Append(nvc, {4, 5, 6, 7});
        QCOMPARE(nvc.ReceiveCount(), 7);
        for (int i = 0; i < 7; ++i) QCOMPARE(int(nvc.RxBuffer[i]), i + 1);
        QCOMPARE(int(nvc.RxBuffer[7]), 0);
    }

    void clear_zeroesBufferAndCount() {
        TNonVisComp nvc;
        Append(nvc, {9, 9, 9});
        nvc.ClearReceive();
        QCOMPARE(nvc.ReceiveCount(), 0);
        QVERIFY(
            std::all_of(nvc.RxBuffer.begin(), nvc.RxBuffer.end(), [](auto b) { return b == 0; }));
    }

    void full_chunkDroppedAndCountKept() {
        TNonVisComp nvc;
        std::vector<std::uint8_t> big(5121, 0xAA);
        nvc.comportReceiveData(&nvc.comport, big.data(), 5121);
        QCOMPARE(nvc.ReceiveCount(), 5121);
        Append(nvc, {1});
        QCOMPARE(nvc.ReceiveCount(), 5121);
    }

    void overlongChunk_neverWritesPastEnd_countShowsOverrun() {
        TNonVisComp nvc;
        std::vector<std::uint8_t> first(5000, 0x11);
        nvc.comportReceiveData(&nvc.comport, first.data(), 5000);
        std::vector<std::uint8_t> second(500, 0x22);
        nvc.comportReceiveData(&nvc.comport, second.data(), 500);
        // The part that fits is kept; the count tells a reader that more came
        // than any frame of that length could hold.
        QCOMPARE(nvc.ReceiveCount(), 5500);
        QCOMPARE(int(nvc.RxBuffer[5120]), 0x22);
        Append(nvc, {3});
        QCOMPARE(nvc.ReceiveCount(), 5500);
    }

    void clearDuringAppends_countMatchesBytesStored() {
        TNonVisComp nvc;
        std::atomic<bool> stop{false};
        std::thread appender([&] {
            const std::uint8_t chunk[7] = {1, 1, 1, 1, 1, 1, 1};
            while (!stop) {
                nvc.comportReceiveData(&nvc.comport, chunk, 7);
                if (nvc.ReceiveCount() > 4000) std::this_thread::yield();
            }
        });
        for (int i = 0; i < 2000; ++i) {
            nvc.ClearReceive();
            const int count = nvc.ReceiveCount();
            // The count is published after the bytes it covers and a clear is
            // never half done: every byte below the count is one of ours.
            const int covered = std::min(count, int(nvc.RxBuffer.size()));
            const int stored =
                int(std::count(nvc.RxBuffer.begin(), nvc.RxBuffer.begin() + covered, 1));
            QCOMPARE(stored, covered);
            QCOMPARE(count % 7, 0);
        }
        stop = true;
        appender.join();
    }

    // The end of the program while an operation holds the port: the module
    // goes only once the operation has seen the flag and let go, and it is
    // woken by that release, not by polling.
    void destroyedWhileClaimed_waitsForTheRelease() {
        auto nvc = std::make_unique<TNonVisComp>();
        std::atomic<bool> released{false};
        int owner = 0;
        QVERIFY(nvc->TryClaimPort(&owner));
        TNonVisComp* module = nvc.get();
        std::thread operation([&] {
            while (!module->ShuttingDown()) std::this_thread::yield();
            released = true;
            module->ReleasePort(&owner);
        });
        nvc.reset();
        QVERIFY(released);
        operation.join();
    }
};

QTEST_GUILESS_MAIN(TestNonVisComp)
#include "tst_nonviscomp.moc"
