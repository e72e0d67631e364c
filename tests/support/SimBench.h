#pragma once
// The bench every suite that talks to the simulated instrument stands on: a
// fresh simulator for each test (its settings, faults and records start
// anew), the link the program talks through, and a folder for the files the
// test makes. The link is the bench's own or, for the windows, the program's
// one link; either is read every 5 ms so that long exchanges stay short, and
// waits for no adapter's pauses, since the simulator's terminal has no
// adapter; the programs a suite starts (the console) are told so through
// the environment. On the program's link the windows' workers wait as Timing() says.
// The program's link and the windows get their own settings back afterwards.
#include <QTemporaryDir>
#include <memory>

#include "app/SetupAPI.h"
#include "device/DeviceIO.h"
#include "flow/WindowTiming.h"
#include "serial/UnitNVC.h"
#include "sim/FlightGenerator.h"
#include "sim/Simulator.h"
#include "tests/support/WaitFor.h"

namespace testsupport {

class TSimBench {
    std::unique_ptr<serial::TNonVisComp> ownLink_;

  public:
    serial::TNonVisComp& link;

    explicit TSimBench(int pollingMs = 5)
        : ownLink_(std::make_unique<serial::TNonVisComp>()), link(*ownLink_) {
        SetUpLink(pollingMs);
    }
    explicit TSimBench(serial::TNonVisComp& programLink)
        : link(programLink),
          programPolling_(programLink.comport.PollingDelay()),
          programGap_(programLink.adapterQuietGap),
          programTiming_(flow::WindowTiming()) {
        SetUpLink(5);
        flow::WindowTiming() = Timing();
    }
    ~TSimBench() {
        if (ownLink_) return;
        link.comport.SetPollingDelay(programPolling_);
        link.adapterQuietGap = programGap_;
        flow::WindowTiming() = programTiming_;
    }
    TSimBench(const TSimBench&) = delete;
    TSimBench& operator=(const TSimBench&) = delete;

    // The workers' waits for this bench: polls short enough for the failure
    // paths, long enough that a reply on a busy machine is not taken for
    // silence.
    static device::TWorkerTiming Timing() {
        device::TWorkerTiming timing;
        timing.pollStep = std::chrono::milliseconds(2);
        return timing;
    }

    // A new simulator on a new terminal, unpaced unless asked, and a new
    // folder; the link is pointed at it. Call from init(). Nothing of the
    // last test's instrument can reach the new terminal, so the link forgets
    // how the last operation ended.
    bool Plug(bool paced = false) {
        ForgetTheLastOperation();
        dir_ = std::make_unique<QTemporaryDir>();
        simulator_ = std::make_unique<sim::TSimulator>();
        simulator_->SetPaced(paced);
        if (!dir_->isValid() || !simulator_->Start()) return false;
        link.comport.SetPortName(simulator_->PortPath());
        return true;
    }
    // The simulator started again on a new terminal, its record of requests
    // anew and its settings, memory and faults kept; the link is pointed at
    // it and, as in Plug(), forgets how the last operation ended.
    bool Restart() {
        ForgetTheLastOperation();
        if (!simulator_->Start()) return false;
        link.comport.SetPortName(simulator_->PortPath());
        return true;
    }
    // Waits until no worker holds the port, then drops the simulator and
    // the folder. Call from cleanup(); false when the port stayed claimed.
    bool Unplug(int timeoutMs = 20000) {
        const bool freed = WaitFor([this] { return !link.PortClaimed(); }, timeoutMs);
        simulator_.reset();
        dir_.reset();
        return freed;
    }

    sim::TSimulator& Sim() { return *simulator_; }
    QString Folder() const { return dir_->path(); }
    QString File(const QString& name) const { return dir_->filePath(name); }

    // The generated flights in the instrument's memory, with the statistics
    // of the last two.
    void Load(const sim::TGeneratedMemory& flights) {
        simulator_->SetMemory(flights.memory);
        simulator_->SetStats(0, flights.stats[0]);
        simulator_->SetStats(1, flights.stats[1]);
    }

  private:
    void ForgetTheLastOperation() {
        link.lateAnswerWait.reset();
        link.quietEnd.reset();
    }
    void SetUpLink(int pollingMs) {
        link.comport.SetPollingDelay(std::uint16_t(pollingMs));
        link.adapterQuietGap = std::chrono::milliseconds(0);
        qputenv(app::AdapterGapVariable, "0");
    }

    std::uint16_t programPolling_ = 0;
    std::chrono::milliseconds programGap_{0};
    device::TWorkerTiming programTiming_;
    std::unique_ptr<sim::TSimulator> simulator_;
    std::unique_ptr<QTemporaryDir> dir_;
};

}  // namespace testsupport
