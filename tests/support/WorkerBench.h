#pragma once
// Runs workers against the simulator and records what they post.
#include <QEventLoop>
#include <QObject>
#include <QTest>
#include <QTimer>
#include <vector>

#include "device/DeviceIO.h"
#include "device/Messages.h"
#include "serial/UnitNVC.h"
#include "sim/Simulator.h"
#include "tests/support/WaitFor.h"

namespace testing {

struct Posted {
    int code;
    qintptr value;
    bool operator==(const Posted& o) const { return code == o.code && value == o.value; }
};

inline char* toString(const Posted& p) {
    return QTest::toString(QStringLiteral("(%1,%2)").arg(p.code).arg(p.value));
}

// Stands in for a window: records every WM_THREAD_MSG.
class TRecorder : public QObject {
  public:
    std::vector<Posted> posted;
    device::TWindowHandle handle{this};

    std::vector<int> Codes() const {
        std::vector<int> codes;
        for (const auto& p : posted) codes.push_back(p.code);
        return codes;
    }
    int Count(int code) const {
        return int(std::count_if(posted.begin(), posted.end(),
                                 [code](auto& p) { return p.code == code; }));
    }

  protected:
    bool event(QEvent* e) override {
        if (e->type() != device::WM_THREAD_MSG) return QObject::event(e);
        const auto* m = static_cast<device::TMessageEvent*>(e);
        posted.push_back({int(m->WParam), m->LParam});
        return true;
    }
};

// Starts the worker and waits until its end step has run.
inline bool RunToEnd(device::TDeviceIO* worker, int timeoutMs = 60000) {
    bool ended = false;
    worker->OnTerminate = [&] { ended = true; };
    worker->Start();
    return testsupport::WaitFor([&] { return ended; }, timeoutMs);
}

// One simulator, one accumulator module, and a way to run a worker to its end:
// the bench of the suites that drive a worker directly (SimBench.h is the
// one of the suites that drive a workflow).
class TWorkerBench {
  public:
    serial::TNonVisComp link;
    sim::TSimulator simulator;
    TRecorder recorder;

    explicit TWorkerBench(bool fastPolling = true) {
        simulator.SetPaced(false);
        QVERIFY(simulator.Start());
        link.comport.SetPortName(simulator.PortPath());
        // Faster receive polling keeps long downloads short; the timing of the
        // real program is exercised by the tests that leave it at 100 ms.
        if (fastPolling) link.comport.SetPollingDelay(5);
    }

    // With fastFailures, short waits and no adapter's pauses on the line;
    // without, the program's own.
    device::TDeviceIO* Make(std::uint8_t operation, bool fastFailures = true) {
        link.adapterQuietGap =
            fastFailures ? std::chrono::milliseconds(0) : serial::AdapterQuietGap;
        auto* worker = device::TDeviceIO::Create(link, recorder.handle.Target());
        worker->Operation = operation;
        if (fastFailures) {
            worker->Timing.pollStep = std::chrono::microseconds(1000);
            worker->Timing.sectorRetryPause = std::chrono::milliseconds(1);
            worker->Timing.pageRetryPause = std::chrono::milliseconds(1);
        }
        return worker;
    }

    bool RunToEnd(device::TDeviceIO* worker, int timeoutMs = 60000) {
        return testing::RunToEnd(worker, timeoutMs);
    }
};

}  // namespace testing
