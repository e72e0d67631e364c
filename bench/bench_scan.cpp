// The flight scan of a full memory from the simulated instrument paced at
// 115200 8N1, at the program's own timing (100 ms receive polling, 5 ms
// waits): wall time of the first look (every sector header read) and of the
// second (the last flight's statistics only), against the wire time.
//
//   bench_scan [FLIGHTS [POLLING_MS]]
//
// FLIGHTS flights of different lengths (default 12) fill the 301 sectors
// the scan reads, with two erased sectors between each two. POLLING_MS is
// the receive polling (default 100, the window program's; the console
// reads every 5 ms).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

#include "device/StatusReceiver.h"
#include "flow/FlightScan.h"
#include "serial/UnitNVC.h"
#include "sim/FlightGenerator.h"
#include "sim/Simulator.h"

namespace {
struct TReports : flow::TScanReports {
    bool cached = false;
    flow::TReport outcome;
    void Progress(int, int) override {}
    void Finished(const flow::TReport& report, bool fromCache) override {
        outcome = report;
        cached = fromCache;
        QCoreApplication::exit(0);
    }
};

double Look(flow::TFlightScan& scan, TReports& reports, int requestsBefore,
            const sim::TSimulator& simulator) {
    QElapsedTimer timer;
    timer.start();
    scan.Start({101, 258});
    QCoreApplication::exec();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const int requests = simulator.RequestCount() - requestsBefore;
    // The statistics request and reply, then 9-byte requests and 261-byte pages.
    const int pages = requests - 1;
    const double wire = (9 + 48 + pages * (9 + 261)) * 10.0 / 115200;
    std::printf(
        "%-6s %3d header pages, %zu flights listed: wall %.2f s, wire %.2f s, ratio %.3f%s\n",
        reports.cached ? "second" : "first", pages, scan.Flights().size(), seconds, wire,
        wire / seconds, reports.outcome.Good() ? "" : " (failed)");
    std::fflush(stdout);
    return seconds;
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int flights = argc > 1 ? std::max(1, std::atoi(argv[1])) : 12;
    const int pollingMs = argc > 2 ? std::max(5, std::atoi(argv[2])) : 100;
    sim::TFlightPlan plan;
    for (int k = 0; k < flights; ++k) plan.minutesEach.push_back(60 + 37 * (k % 5));
    plan.gapSectors = 2;
    const sim::TGeneratedMemory memory = sim::GenerateFlights(plan);
    std::printf("%d flights in sectors 1..%zu, simulator paced at 115200 8N1, polling %d ms\n",
                flights, memory.memory.size() / 4096 - 1, pollingMs);

    sim::TSimulator simulator;
    simulator.SetPaced(true);
    simulator.SetMemory(memory.memory);
    simulator.SetStats(0, memory.stats[0]);
    simulator.SetStats(1, memory.stats[1]);
    if (!simulator.Start()) {
        std::fprintf(stderr, "simulator did not start\n");
        return 1;
    }
    serial::TNonVisComp link;
    link.comport.SetPollingDelay(pollingMs);
    link.comport.SetPortName(simulator.PortPath());
    TReports reports;
    flow::TFlightScan scan(link, reports);
    const double first = Look(scan, reports, simulator.RequestCount(), simulator);
    Look(scan, reports, simulator.RequestCount(), simulator);
    return first <= 35.0 ? 0 : 1;
}
