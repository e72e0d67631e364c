// The scorer on generated flights (triangles, out-and-returns, long straight
// lines, zig-zags, one lap of a circle): time and peak memory per flight,
// beside the independent scorer igc-xc-score on the same IGC files when it is
// installed in build/oracle (tests and benchmarks only).
//
//   bench_scoring [SIZE...] [NAME...]  (default 10000 20000 40000; NAME: only
//                                      the flights whose name starts so)
//   bench_scoring real                 the oracle package's real flights under
//                                      XContest and FFVL, with the median ratio
//   bench_scoring hour [N]             the logbook import's flight (an hour of
//                                      slow circles, read back from its IGC
//                                      text) scored N times: processor time per
//                                      flight, the share the logbook's import
//                                      speed depends on
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "scoring/Optimizer.h"
#include "tests/logbook/LogbookFlights.h"
#include "tests/scoring/FlightMaker.h"
#include "track/TrackFileReader.h"

namespace {

// The peak resident memory since the last reset, in MB.
double PeakMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    return 0;
}

void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

struct TOracleRun {
    double score = 0, seconds = 0;
    bool optimal = false;
};

TOracleRun RunOracle(const QString& node, const QString& oracle, const QString& igc,
                     const QString& json, const QString& rules) {
    TOracleRun run;
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(node, {oracle, igc, QStringLiteral("out=") + json, QStringLiteral("quiet=true"),
                         QStringLiteral("hp=true"), QStringLiteral("maxtime=60"),
                         QStringLiteral("scoring=") + rules});
    process.waitForFinished(-1);
    run.seconds = timer.nsecsElapsed() / 1e9;
    QFile out(json);
    if (out.open(QIODevice::ReadOnly)) {
        const QJsonObject properties =
            QJsonDocument::fromJson(out.readAll())[QStringLiteral("properties")].toObject();
        run.score = properties[QStringLiteral("score")].toDouble();
        run.optimal = properties[QStringLiteral("optimal")].toBool();
    }
    out.remove();
    return run;
}

// Every real flight of the oracle's package under both leagues' rules.
int RealFlights(const QString& node, const QString& oracle, bool withOracle) {
    const QString folder = QFileInfo(oracle).dir().filePath(QStringLiteral("../test"));
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("*.igc")}, QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        std::fprintf(stderr, "bench_scoring: no flights in %s\n", qPrintable(folder));
        return 1;
    }
    QTemporaryDir scratch;
    std::printf("%-34s %-8s %7s %-16s %9s %6s %8s %7s | %9s %8s %7s\n", "flight", "rules", "fixes",
                "type", "score", "proven", "time s", "MB", "oracle", "time s", "ratio");
    std::vector<double> ours, ratios;
    double worst = 0;
    for (const auto& [rules, oracleRules] :
         {std::pair{&scoring::XContestRules(), QStringLiteral("XContest")},
          std::pair{&scoring::FfvlRules(), QStringLiteral("FFVL")}}) {
        for (const QString& name : files) {
            const QString path = QDir(folder).filePath(name);
            const std::vector<track::TFlightFix> fixes = track::ReadTrackFile(path);
            ResetPeak();
            const double before = PeakMegabytes();
            QElapsedTimer timer;
            timer.start();
            const scoring::TScoreResult result = scoring::ScoreFlight(fixes, *rules);
            const double seconds = timer.nsecsElapsed() / 1e9;
            const double megabytes = PeakMegabytes() - before;
            ours.push_back(seconds);
            worst = std::max(worst, seconds);
            TOracleRun other;
            if (withOracle) {
                other = RunOracle(node, oracle, path, scratch.filePath(QStringLiteral("out.json")),
                                  oracleRules);
                if (seconds > 0) ratios.push_back(other.seconds / seconds);
            }
            std::printf("%-34s %-8s %7zu %-16s %9.2f %6s %8.3f %7.1f | %9.2f %8.2f %7.1f\n",
                        qPrintable(name), qPrintable(rules->id), fixes.size(),
                        qPrintable(result.kindId), result.score, result.proven ? "yes" : "no",
                        seconds, megabytes, other.score, other.seconds,
                        seconds > 0 ? other.seconds / seconds : 0.0);
            std::fflush(stdout);
        }
    }
    auto median = [](std::vector<double> values) {
        if (values.empty()) return 0.0;
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    std::printf("\nflights %zu, slowest %.3f s, median %.3f s; median oracle/ours ratio %.1f\n",
                ours.size(), worst, median(ours), median(ratios));
    return 0;
}

}  // namespace

// The import benchmark's flights, each scored as the logbook scores it.
int HourFlights(int count) {
    std::vector<std::vector<track::TFlightFix>> flights;
    for (int i = 0; i < count; ++i) {
        const auto start = tracktest::Time(2020, 1, 1, 9, 0, 0) + device::TrackTime(i) * 86400;
        flights.push_back(track::ParseTrackFile(logbooktest::Igc(logbooktest::Download(
                                                    start, 45.0f + (i % 50) * 0.01f, 6.0f, 3600)),
                                                QStringLiteral("hour.igc"))
                              .flights.front()
                              .fixes);
    }
    double total = 0;
    const std::clock_t cpu = std::clock();
    for (const auto& fixes : flights)
        total += scoring::ScoreFlight(fixes, scoring::XContestRules()).score;
    const double seconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
    std::printf("%d flights of an hour: %.1f ms of processor a flight, scores summing to %.2f\n",
                count, 1000 * seconds / count, total);
    return 0;
}

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QString oracle = QStringLiteral(TOLMARIK_ORACLE);
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    const bool withOracle = !node.isEmpty() && QFile::exists(oracle);
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == QLatin1String("real"))
        return RealFlights(node, oracle, withOracle);
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == QLatin1String("hour"))
        return HourFlights(argc > 2 ? std::max(1, std::atoi(argv[2])) : 50);
    std::vector<int> sizes;
    QStringList names;
    for (int i = 1; i < argc; ++i) {
        bool number = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&number);
        if (number)
            sizes.push_back(size);
        else
            names << QString::fromLocal8Bit(argv[i]);
    }
    if (sizes.empty()) sizes = {10000, 20000, 40000};
    QTemporaryDir folder;

    std::printf("%-22s %8s %-16s %9s %9s %6s %8s %7s | %9s %8s %7s %7s\n", "flight", "fixes",
                "type", "score", "bound", "proven", "time s", "MB", "oracle", "time s", "optimal",
                "ratio");
    for (const testflights::TMadeFlight& flight : testflights::GeneratedFlights(sizes)) {
        if (!names.isEmpty() && std::none_of(names.begin(), names.end(), [&](const QString& name) {
                return flight.name.startsWith(name);
            }))
            continue;
        ResetPeak();
        const double before = PeakMegabytes();
        QElapsedTimer timer;
        timer.start();
        // As the command line answers: within its default time limit.
        scoring::TScoreOptions options;
        options.timeLimitSeconds = 5;
        const scoring::TScoreResult result = scoring::ScoreFixes(
            flight.fixes, 0, flight.fixes.size() - 1, scoring::XContestRules(), options);
        const double seconds = timer.nsecsElapsed() / 1e9;
        const double megabytes = PeakMegabytes() - before;

        double oracleScore = 0, oracleSeconds = 0;
        bool oracleOptimal = false;
        if (withOracle) {
            const QString igc = folder.filePath(flight.name + QStringLiteral(".igc"));
            const QString json = folder.filePath(flight.name + QStringLiteral(".json"));
            QFile file(igc);
            if (file.open(QIODevice::WriteOnly)) file.write(testflights::IgcText(flight.fixes));
            file.close();
            QProcess process;
            timer.restart();
            process.start(node, {oracle, igc, QStringLiteral("out=") + json,
                                 QStringLiteral("quiet=true"), QStringLiteral("hp=true"),
                                 QStringLiteral("maxtime=60"), QStringLiteral("scoring=XContest")});
            process.waitForFinished(-1);
            oracleSeconds = timer.nsecsElapsed() / 1e9;
            QFile out(json);
            if (out.open(QIODevice::ReadOnly)) {
                const QJsonObject properties =
                    QJsonDocument::fromJson(out.readAll())[QStringLiteral("properties")].toObject();
                oracleScore = properties[QStringLiteral("score")].toDouble();
                oracleOptimal = properties[QStringLiteral("optimal")].toBool();
            }
        }
        std::printf("%-22s %8zu %-16s %9.2f %9.2f %6s %8.3f %7.1f | %9.2f %8.2f %7s %7.1f\n",
                    qPrintable(flight.name), flight.fixes.size(), qPrintable(result.kindId),
                    result.score, result.bound, result.proven ? "yes" : "no", seconds, megabytes,
                    oracleScore, oracleSeconds, withOracle ? (oracleOptimal ? "yes" : "no") : "-",
                    withOracle && seconds > 0 ? oracleSeconds / seconds : 0.0);
        std::fflush(stdout);
    }
    return 0;
}
