// Track download from the simulated instrument paced at 115200 8N1, at the
// program's own timing (100 ms receive polling, 5 ms waits): wall time against
// the time the bytes need on the wire.
//
//   bench_download [sectors|pages|both] [MINUTES [LATE_AT [HANG_UP_AT]]]
//
// MINUTES sets the flight's length (default 1800: more than 301 sectors);
// LATE_AT N makes the reply to request N 2 s late, past the 1.5 s wait;
// HANG_UP_AT N sends half of reply N and hangs up, as a pulled cable does.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "device/DeviceIO.h"
#include "device/StatusReceiver.h"
#include "device/TrackLists.h"
#include "serial/UnitNVC.h"
#include "sim/FlightGenerator.h"
#include "sim/Simulator.h"

namespace {
struct TCounter {
    int pages = 0;
    int ends = 0;
    int failures = 0;
    device::TStatusReceiver receiver;

    TCounter() {
        receiver.OnStatus = [this](int code, qintptr value) {
            if (code == device::ST_TRACK_PAGE) pages = int(value);
            if (code == device::ST_TRACK_END) ++ends;
            if (code == device::ST_BAD_REPLY || code == device::ST_NO_LINK) ++failures;
        };
    }
};

void RunMode(bool bySector, std::uint16_t startSector, serial::TNonVisComp& link) {
    TCounter counter;
    auto* worker = device::TDeviceIO::Create(link, counter.receiver.Target());
    worker->Operation = device::OP_TRACK;
    worker->StartSector = startSector;
    worker->BySector = bySector;
    qint64 endedAt = 0;
    QElapsedTimer sinceLastPage;
    sinceLastPage.start();
    counter.receiver.OnStatus = [&counter, &sinceLastPage, inner = counter.receiver.OnStatus](
                                    int code, qintptr value) {
        inner(code, value);
        if (code == device::ST_TRACK_PAGE) sinceLastPage.restart();
    };
    worker->OnTerminate = [&] {
        endedAt = sinceLastPage.elapsed();
        QCoreApplication::exit(0);
    };
    QElapsedTimer timer;
    timer.start();
    worker->Start();
    QCoreApplication::exec();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const int requestBytes = 9;
    const int replyBytes = bySector ? 4101 : 261;
    const double wire = counter.pages * double(requestBytes + replyBytes) * 10 / 115200;
    std::printf("%-8s %5d %s, %6zu GPS + %5zu sensor records, %d failed tries\n",
                bySector ? "sectors" : "pages", counter.pages, bySector ? "sectors" : "pages  ",
                device::TrackLists().GpsCount(), device::TrackLists().EngCount(), counter.failures);
    std::printf(
        "         wall %.2f s, wire time %.2f s, ratio wire/wall %.3f; end %lld ms after "
        "the last page\n",
        seconds, wire, wire / seconds, static_cast<long long>(endedAt));
    std::fflush(stdout);
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("both");

    sim::TFlightPlan plan;
    plan.flights = 1;
    plan.minutes = argc > 2 ? std::atoi(argv[2]) : 1800;
    const sim::TGeneratedMemory generated = sim::GenerateFlights(plan);
    sim::TSimulator simulator;
    simulator.SetPaced(true);
    simulator.SetMemory(generated.memory);
    sim::TFaults faults;
    if (argc > 3 && std::atoi(argv[3]) > 0) {
        faults.damage = sim::TDamage::Late;
        faults.damageFrom = std::atoi(argv[3]);
        faults.damageMs = 2000;
    }
    if (argc > 4) {
        faults.hangUpAfterRequests = std::atoi(argv[4]);
        faults.hangUpMidReply = true;
    }
    simulator.SetFaults(faults);
    serial::TNonVisComp link;
    const std::uint16_t start = generated.flights.front().firstSector;
    std::printf("flight of %d sectors from sector %u, simulator paced at 115200 8N1\n",
                generated.flights.front().sectors, start);
    // Each mode on a fresh terminal, so that the fault counts its requests.
    for (const bool bySector : {true, false}) {
        if (mode == QLatin1String(bySector ? "pages" : "sectors")) continue;
        if (!simulator.Start()) {
            std::fprintf(stderr, "simulator did not start\n");
            return 1;
        }
        link.comport.SetPortName(simulator.PortPath());
        RunMode(bySector, start, link);
    }
    return 0;
}
