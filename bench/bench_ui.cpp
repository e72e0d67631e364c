// The interface's longest stall during a real download: the program's main
// window (offscreen) reads the instrument, then downloads in sector mode a
// 300-sector flight whose every sector ends in erased bytes, so that every
// sector brings an end report and a new set of files, from the simulated
// instrument paced at 115200 8N1, at the program's own timing. A 5 ms timer
// on the interface thread records the gaps between its ticks, from the
// click on "Скачать" until the files and the picture of the final lists are
// there. Then the export and the picture of 100,000 points, timed alone.
//
//   bench_ui [MINUTES]   (default: the longest flight of at most 300 sectors)
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "app/MAIN.h"
#include "app/SetupUnit.h"
#include "app/TApplication.h"
#include "device/TrackLists.h"
#include "models/DF_000.h"
#include "models/DeviceFactory.h"
#include "serial/UnitNVC.h"
#include "sim/FlightGenerator.h"
#include "sim/Simulator.h"
#include "track/ExportJob.h"
#include "track/FlightPlot.h"
#include "track/FlightPlotView.h"
#include "track/TrackPage.h"

namespace {

constexpr int TickMs = 5;

struct TStallMeter {
    QTimer timer;
    QElapsedTimer clock;
    std::vector<qint64> gaps;                       // microseconds
    std::vector<std::pair<qint64, qint64>> stalls;  // (end, gap) of gaps over 50 ms
    qint64 last = 0;

    TStallMeter() {
        timer.setInterval(TickMs);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const qint64 now = clock.nsecsElapsed() / 1000;
            gaps.push_back(now - last);
            if (now - last > 50000) stalls.emplace_back(now, now - last);
            last = now;
        });
    }
    void Start() {
        gaps.clear();
        stalls.clear();
        clock.start();
        last = 0;
        timer.start();
    }
    void Stop() { timer.stop(); }
    double GapMs(double quantile) {
        if (gaps.empty()) return 0;
        std::vector<qint64> sorted = gaps;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t i = std::min(sorted.size() - 1, std::size_t(quantile * sorted.size()));
        return sorted[i] / 1000.0;
    }
};

// Times every event the interface thread handles, by the thread's own CPU
// time (what the program itself spends, whatever else the machine runs) and
// by the clock.
class TTimedApplication : public app::TApplication {
  public:
    using app::TApplication::TApplication;
    double longestCpuMs = 0;
    double longestWallMs = 0;
    bool timing = false;
    QString longestWhat;  // event type and receiver class of the longest by the clock

    bool notify(QObject* receiver, QEvent* event) override {
        if (!timing || depth_ > 0) return app::TApplication::notify(receiver, event);
        ++depth_;
        const double cpu0 = ThreadCpuMs();
        QElapsedTimer wall;
        wall.start();
        const bool done = app::TApplication::notify(receiver, event);
        const double wallMs = wall.nsecsElapsed() / 1e6;
        if (wallMs > longestWallMs) {
            longestWallMs = wallMs;
            longestWhat = QStringLiteral("%1 to %2")
                              .arg(int(event->type()))
                              .arg(QString::fromLatin1(receiver->metaObject()->className()));
        }
        longestCpuMs = std::max(longestCpuMs, ThreadCpuMs() - cpu0);
        --depth_;
        return done;
    }

  private:
    static double ThreadCpuMs() {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
    }
    int depth_ = 0;
};

bool Wait(const std::function<bool()>& condition, int ms) { return QTest::qWaitFor(condition, ms); }

// The longest flight of the generator that fits in 300 sectors, so that the
// 301st sector read is erased memory and ends the track.
sim::TFlightPlan Plan(int minutes) {
    sim::TFlightPlan plan;
    plan.flights = 1;
    plan.erasedSectorEnds = true;
    plan.minutes = minutes;
    if (minutes > 0) return plan;
    plan.minutes = 1800;
    while (sim::GenerateFlights(plan).flights[0].sectors > 300) plan.minutes -= 5;
    return plan;
}

device::TrackSnapshot Points(int count) {
    sim::TFlightPlan plan;
    plan.flights = 1;
    plan.minutes = count / 48 + 1;  // four points and a sample every 5 s
    const sim::TGeneratedMemory memory = sim::GenerateFlights(plan);
    // Decoded as the worker does, without the link: records after headers.
    device::TrackSnapshot lists;
    device::TrackTime t = device::FallbackTrackTime();
    for (std::size_t sector = 0; sector * 4096 < memory.memory.size(); ++sector) {
        const std::uint8_t* s = memory.memory.data() + sector * 4096;
        for (int p = 256; p + 12 <= 4096 && int(lists.gps.size()) < count;) {
            if (s[p] == device::TrackGpsKind) {
                device::GpsListEntry e;
                e.time = t++;
                std::copy(s + p, s + p + 12, e.record.begin());
                lists.gps.push_back(e);
            } else if (s[p] == device::TrackEngKind) {
                device::EngListEntry e;
                e.time = t++;
                std::copy(s + p, s + p + 6, e.record.begin());
                lists.eng.push_back(e);
            } else {
                break;
            }
            p += s[p];
        }
    }
    return lists;
}

template <typename F>
double Ms(F&& run) {
    QElapsedTimer timer;
    timer.start();
    run();
    return timer.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    TTimedApplication application(argc, argv);
    QTemporaryDir workDir;  // the track files land here
    QDir::setCurrent(workDir.path());

    const sim::TFlightPlan plan = Plan(argc > 1 ? std::atoi(argv[1]) : 0);
    const sim::TGeneratedMemory flights = sim::GenerateFlights(plan);
    const sim::TGeneratedFlight& flight = flights.flights[0];
    std::printf("flight: %d min, %d sectors, %d GPS, %d ENG records\n", plan.minutes,
                flight.sectors, flight.gpsRecords, flight.engRecords);

    serial::TNonVisComp link;
    sim::TSimulator simulator;
    simulator.SetMemory(flights.memory);
    simulator.SetStats(0, flights.stats[0]);
    simulator.SetPaced(true);
    if (!simulator.Start()) return 1;

    app::TMainForm form;
    form.cbbPorts->setEditText(simulator.PortPath());
    form.show();
    form.actDevRead->trigger();
    bool ok =
        Wait([&] { return form.actDevRead->isEnabled() && models::CurrentDeviceForm(); }, 30000);
    ok &= Wait([] { return !serial::TNonVisComp::Instance().PortClaimed(); }, 10000);
    models::TDeviceForm* device = models::CurrentDeviceForm();
    if (!ok || !device) return 1;
    device->pgcConfig->setCurrentWidget(device->tsTrack);
    track::TTrackPage* page = device->TrackPage;
    page->btnStatLast->click();
    ok &= Wait([&] { return !page->WorkerRunning(); }, 30000);
    ok &= Wait([] { return !serial::TNonVisComp::Instance().PortClaimed(); }, 10000);
    if (!ok) return 1;

    TStallMeter meter;
    // The same ticks on an idle interface: what the machine's load alone costs.
    meter.Start();
    QTest::qWait(5000);
    meter.Stop();
    std::printf("idle interface, 5 s: longest gap %.1f ms, 99th percentile %.1f ms\n",
                meter.GapMs(1.0), meter.GapMs(0.99));
    meter.Start();
    application.timing = true;
    QElapsedTimer wall;
    wall.start();
    page->chkReadBySector->setChecked(true);
    page->btnLoad->click();
    ok &= Wait([&] { return !page->WorkerRunning(); }, 15 * 60 * 1000);
    const double downloadS = wall.elapsed() / 1000.0;
    ok &= Wait([&] { return !page->ExportRunning(); }, 60000);
    const double tailMs = wall.elapsed() - downloadS * 1000;
    meter.Stop();
    application.timing = false;
    const device::TrackSnapshot lists = device::TrackLists().Snapshot();
    const bool picture = !page->imgFlight->Image().isNull();
    std::printf("download: %.1f s, then %.0f ms to the final files and picture\n", downloadS,
                tailMs);
    std::printf("lists: %zu GPS, %zu ENG; picture shown: %s\n", lists.gps.size(), lists.eng.size(),
                picture ? "yes" : "no");
    std::printf("interface ticks (%d ms): %zu, longest gap %.1f ms, 99th percentile %.1f ms\n",
                TickMs, meter.gaps.size(), meter.GapMs(1.0), meter.GapMs(0.99));
    std::printf("longest event handled: %.1f ms of the thread's CPU, %.1f ms by the clock\n",
                application.longestCpuMs, application.longestWallMs);
    std::printf("  (event %s)\n", qPrintable(application.longestWhat));
    for (const auto& [end, gap] : meter.stalls)
        std::printf("  stall of %.1f ms ending %.2f s after the click\n", gap / 1000.0, end / 1e6);
    models::CloseDeviceForm();

    // The export and the picture of 100,000 points, off the interface thread.
    const device::TrackSnapshot big = Points(100000);
    QTemporaryDir out;
    track::TExportRequest request;
    request.flightNumber = 1;
    request.lists = big;
    request.folder = out.path();
    track::TExportResult result;
    const double exportMs = Ms([&] { result = track::RunExport(request); });
    const std::vector<track::TFlightFix> fixes = track::FlightFixes(big.gps);
    const QSize pageSize(360, 330);  // the picture's place in a device window
    const double pagePlotMs = Ms([&] { track::RenderFlightPlot(fixes, pageSize); });
    const double bigPlotMs = Ms([&] { track::RenderFlightPlot(fixes); });
    std::printf("100000 points (%zu samples): GPX+ENX+IGC %.0f ms%s\n", big.eng.size(), exportMs,
                result.error.isEmpty() ? "" : " (failed)");
    std::printf("picture of them: %.0f ms in the page, %.0f ms at %dx%d\n", pagePlotMs, bigPlotMs,
                track::DefaultFlightPlotSize.width(), track::DefaultFlightPlotSize.height());
    return ok && picture && lists.gps.size() == std::size_t(flight.gpsRecords) ? 0 : 1;
}
