// The scorer on generated flights (triangles, out-and-returns, long straight
// lines, zig-zags): time and peak memory per flight, beside the independent
// scorer igc-xc-score on the same IGC files when it is installed in
// build/oracle (npm install igc-xc-score; tests and benchmarks only).
//
//   bench_scoring [SIZE...]            (default 10000 20000 40000)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <string>

#include "scoring/Optimizer.h"
#include "tests/scoring/FlightMaker.h"

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

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {10000, 20000, 40000};
    const QString oracle = QStringLiteral(TOLMARIK_ORACLE);
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    const bool withOracle = !node.isEmpty() && QFile::exists(oracle);
    QTemporaryDir folder;

    std::printf("%-22s %8s %-16s %9s %6s %8s %7s | %9s %8s %7s %7s\n", "flight", "fixes", "type",
                "score", "proven", "time s", "MB", "oracle", "time s", "optimal", "ratio");
    for (const testflights::TMadeFlight& flight : testflights::GeneratedFlights(sizes)) {
        ResetPeak();
        const double before = PeakMegabytes();
        QElapsedTimer timer;
        timer.start();
        const scoring::TScoreResult result =
            scoring::ScoreFixes(flight.fixes, 0, flight.fixes.size() - 1, scoring::XContestRules());
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
        std::printf("%-22s %8zu %-16s %9.2f %6s %8.3f %7.1f | %9.2f %8.2f %7s %7.1f\n",
                    qPrintable(flight.name), flight.fixes.size(), qPrintable(result.kindId),
                    result.score, result.proven ? "yes" : "no", seconds, megabytes, oracleScore,
                    oracleSeconds, withOracle ? (oracleOptimal ? "yes" : "no") : "-",
                    withOracle && seconds > 0 ? oracleSeconds / seconds : 0.0);
        std::fflush(stdout);
    }
    return 0;
}
