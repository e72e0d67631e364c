// Export of a large download: 100 000 GPS points and 20 000 sensor samples.
// Times the GPX and ENX texts and the file writing, reports the peak
// resident size, and compares with gpsbabel turning the same points from a
// CSV file into GPX. Also times the IGC text and the picture of the flight.
#include <sys/resource.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "track/ExportJob.h"
#include "track/FlightPlot.h"
#include "track/TrackExport.h"

namespace {

constexpr int GpsCount = 100000;
constexpr int EngCount = 20000;
constexpr int Rounds = 5;

class TNullMemo : public track::TMemoSink {
  public:
    void Clear() override {}
    void AddLine(const QString&) override {}
};

void PutFloat(std::uint8_t* at, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

// A few hours of flight wandering around a start point, one record a second.
device::TrackSnapshot MakeTrack() {
    device::TrackSnapshot lists;
    device::TrackTime t = 0;
    device::MakeTrackTime(2024, 7, 1, 6, 0, 0, t);
    lists.gps.reserve(GpsCount);
    lists.eng.reserve(EngCount);
    for (int i = 0; i < GpsCount; ++i) {
        device::GpsListEntry e;
        e.time = t + i;
        e.record[0] = device::TrackGpsKind;
        const int altitude = 800 + static_cast<int>(600 * std::sin(i / 900.0));
        e.record[2] = static_cast<std::uint8_t>(altitude);
        e.record[3] = static_cast<std::uint8_t>(altitude >> 8);
        PutFloat(&e.record[4], 46.5f + 0.2f * static_cast<float>(std::sin(i / 5000.0)));
        PutFloat(&e.record[8], 11.3f + 0.3f * static_cast<float>(std::cos(i / 7000.0)));
        lists.gps.push_back(e);
    }
    for (int i = 0; i < EngCount; ++i) {
        device::EngListEntry e;
        e.time = t + GpsCount + i;
        const unsigned v2 = 900 + i % 200, v3 = static_cast<unsigned>(i * 7) & 0xFFFF;
        e.record = {device::TrackEngKind,          static_cast<std::uint8_t>(i),
                    static_cast<std::uint8_t>(v2), static_cast<std::uint8_t>(v2 >> 8),
                    static_cast<std::uint8_t>(v3), static_cast<std::uint8_t>(v3 >> 8)};
        lists.eng.push_back(e);
    }
    return lists;
}

long PeakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

template <typename F>
double BestMs(F&& run) {
    double best = 1e300;
    for (int r = 0; r < Rounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

// The same points as gpsbabel's unicsv reads them.
bool WriteCsv(const QString& path, const std::vector<device::GpsListEntry>& gps) {
    std::string text = "lat,lon,ele,date,time\n";
    for (const device::GpsListEntry& e : gps) {
        const std::string stamp = device::TimeText(e.time);  // yyyy-mm-ddThh:mm:ssZ
        text += track::CoordinateText(e.Latitude()) + ',' + track::CoordinateText(e.Longitude()) +
                ',' + std::to_string(e.Altitude()) + ',' + stamp.substr(0, 4) + '/' +
                stamp.substr(5, 2) + '/' + stamp.substr(8, 2) + ',' + stamp.substr(11, 8) + '\n';
    }
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text.data(), static_cast<qint64>(text.size())) ==
                                               static_cast<qint64>(text.size());
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");  // the picture needs fonts, not a display
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;

    const device::TrackSnapshot lists = MakeTrack();
    const long rssInput = PeakRssKiB();

    std::size_t gpxBytes = 0, enxBytes = 0;
    const double gpxMs = BestMs([&] { gpxBytes = track::GpxText(lists.gps).size(); });
    const double enxMs = BestMs([&] { enxBytes = track::EnxText(lists.eng).size(); });
    std::size_t igcBytes = 0;
    const double igcMs = BestMs(
        [&] { igcBytes = std::size_t(track::IgcText(track::FlightFixes(lists.gps)).size()); });
    const std::vector<track::TFlightFix> fixes = track::FlightFixes(lists.gps);
    const double plotMs = BestMs([&] { track::RenderFlightPlot(fixes); });
    TNullMemo memo;
    const double writeMs = BestMs([&] { track::WriteTrackFiles(1, lists, memo, dir.path()); });
    std::size_t checkedFixes = 0;
    const double checkMs =
        BestMs([&] { checkedFixes = track::CheckedDownload(lists.gps).fixes.size(); });
    track::TExportRequest request;
    request.flightNumber = 2;
    request.lists = lists;
    request.folder = dir.path();
    const double jobMs = BestMs([&] { track::RunExport(request); });
    const long rssPeak = PeakRssKiB();

    std::printf("points: %d GPS, %d sensor; best of %d rounds\n", GpsCount, EngCount, Rounds);
    std::printf("GpxText:          %8.1f ms  (%zu bytes)\n", gpxMs, gpxBytes);
    std::printf("EnxText:          %8.1f ms  (%zu bytes)\n", enxMs, enxBytes);
    std::printf("IgcText:          %8.1f ms  (%zu bytes, fixes taken from the list)\n", igcMs,
                igcBytes);
    std::printf("RenderFlightPlot: %8.1f ms  (%dx%d)\n", plotMs,
                track::DefaultFlightPlotSize.width(), track::DefaultFlightPlotSize.height());
    std::printf("WriteTrackFiles:  %8.1f ms  (the three texts and files)\n", writeMs);
    std::printf("CheckedDownload:  %8.1f ms  (%zu fixes kept; once per download)\n", checkMs,
                checkedFixes);
    std::printf("RunExport:        %8.1f ms  (the check, then the files from it; no picture)\n",
                jobMs);
    std::printf("peak RSS:         %8ld KiB  (input lists alone: %ld KiB)\n", rssPeak, rssInput);

    const QString gpsbabel = QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));
    const QString csv = dir.filePath(QStringLiteral("points.csv"));
    if (gpsbabel.isEmpty() || !WriteCsv(csv, lists.gps)) {
        std::printf("gpsbabel:         not run (missing, or CSV not written)\n");
        return 0;
    }
    const QStringList args = {QStringLiteral("-i"), QStringLiteral("unicsv"),
                              QStringLiteral("-f"), csv,
                              QStringLiteral("-o"), QStringLiteral("gpx"),
                              QStringLiteral("-F"), dir.filePath(QStringLiteral("out.gpx"))};
    bool ok = true;
    const double babelMs = BestMs([&] {
        QProcess p;
        p.start(gpsbabel, args);
        ok = ok && p.waitForFinished(-1) && p.exitCode() == 0;
    });
    if (!ok) {
        std::printf("gpsbabel:         failed\n");
        return 1;
    }
    std::printf("gpsbabel unicsv->gpx: %8.1f ms  (%lld bytes)\n", babelMs,
                static_cast<long long>(QFile(dir.filePath(QStringLiteral("out.gpx"))).size()));
    std::printf("ratio gpsbabel / WriteTrackFiles: %.1f\n", babelMs / writeMs);
    return 0;
}
