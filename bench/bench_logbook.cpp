// The logbook's speed: importing 1,000 IGC files of an hour each (one fix a
// second), opening the logbook window on 10,000 flights and sorting a column,
// and recording a downloaded flight of an hour.
//
//   bench_logbook import   # target: at most 20 s
//   bench_logbook window   # target: at most 300 ms to open, and to sort
//   bench_logbook record   # target: at most 100 ms
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <ctime>

#include "device/FileStore.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookJobs.h"
#include "logbook/LogbookModel.h"
#include "logbook/LogbookWindow.h"
#include "tests/logbook/LogbookFlights.h"

namespace {

constexpr int ImportFiles = 1000;
constexpr int WindowFlights = 10000;

device::TrackTime Day(int n) {
    return tracktest::Time(2020, 1, 1, 9, 0, 0) + device::TrackTime(n) * 86400;
}

int Import(const QTemporaryDir& dir) {
    const QString in = dir.filePath(QStringLiteral("tracks"));
    QDir().mkpath(in);
    for (int i = 0; i < ImportFiles; ++i)
        device::WriteFileSafely(
            in + QStringLiteral("/%1.igc").arg(i, 4, 10, QLatin1Char('0')),
            logbooktest::Igc(logbooktest::Download(Day(i), 45.0f + (i % 50) * 0.01f, 6.0f, 3600)));
    logbook::TLogbook book(dir.filePath(QStringLiteral("logbook.sqlite")));
    QElapsedTimer timer;
    timer.start();
    // The processor time of every thread: on a machine shared with other
    // work the wall time says more about the others.
    const std::clock_t cpu = std::clock();
    const logbook::TImportReport report = book.Import({in}, {});
    const double seconds = timer.elapsed() / 1000.0;
    std::printf(
        "import of %d IGC files of 3600 fixes: %.2f s, processor %.2f s on %d threads (%d added, "
        "%d failed)\n",
        ImportFiles, seconds, double(std::clock() - cpu) / CLOCKS_PER_SEC,
        QThread::idealThreadCount(), report.added, report.failed);
    return report.added == ImportFiles && seconds <= 20 ? 0 : 1;
}

// Fills a logbook with one real flight copied WindowFlights times, a day apart.
void Fill(const QString& path) {
    logbook::TLogbook book(path);
    book.RecordDownload(
        {0, logbooktest::Checked(logbooktest::Download(Day(0), 45.0f, 6.0f, 3600)), {}, {}, {}, {}},
        {{}, QStringLiteral("Rush"), {}, {}, {}});
    QSqlQuery q(book.Store().Database());
    q.exec(QStringLiteral("BEGIN"));
    q.exec(
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
            " INSERT INTO flights (identity, takeoff_utc, landing_utc, utc_offset_minutes, "
            "duration_s,"
            " takeoff_lat, takeoff_lon, takeoff_alt, landing_lat, landing_lon, landing_alt, "
            "max_alt, min_alt,"
            " climb_1s, sink_1s, climb_10s, sink_10s, track_m, straight_m, fixes, model, pilot, "
            "glider,"
            " site, source, recorded_at)"
            " SELECT identity || i, takeoff_utc - i * 86400, landing_utc - i * 86400, "
            "utc_offset_minutes,"
            " duration_s - i % 600, takeoff_lat, takeoff_lon, takeoff_alt, landing_lat, "
            "landing_lon, landing_alt,"
            " max_alt - i % 700, min_alt, climb_1s, sink_1s, climb_10s, sink_10s, track_m + i, "
            "straight_m,"
            " fixes, model, pilot, 'Glider ' || (i % 7), 'Site ' || (i % 40), source, recorded_at"
            " FROM flights, n WHERE flights.id = 1")
            .arg(WindowFlights - 1));
    q.exec(QStringLiteral("COMMIT"));
}

int Window(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("big.sqlite"));
    Fill(path);
    int worst = 0;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        auto book = std::make_unique<logbook::TLogbook>(path);
        const qint64 opened = timer.elapsed();
        auto* window = new logbook::TLogbookWindow(std::move(book), {});
        const qint64 built = timer.elapsed();
        window->resize(1200, 800);
        window->show();
        QCoreApplication::processEvents();
        const qint64 open = timer.elapsed();
        const int rows = window->Table()->model()->rowCount();
        timer.restart();
        window->Table()->sortByColumn(logbook::TLogbookModel::ColDuration, Qt::AscendingOrder);
        QCoreApplication::processEvents();
        const qint64 sort = timer.elapsed();
        timer.restart();
        window->Table()->sortByColumn(logbook::TLogbookModel::ColSite, Qt::DescendingOrder);
        QCoreApplication::processEvents();
        const qint64 sortText = timer.elapsed();
        // What the filter field asks for (after its pause), the search of
        // "logbook find" over every flight.
        timer.restart();
        const std::size_t found =
            logbook::TLogbook(path)
                .Matching(logbook::TFlightFilter{QStringLiteral("rush"), {}, {}})
                .size();
        const qint64 filter = timer.elapsed();
        std::printf(
            "window on %d flights (%d rows fetched): open %lld ms (logbook %lld, window %lld), "
            "sort by "
            "time %lld ms, by site %lld ms, filter %lld ms (%zu found)\n",
            WindowFlights, rows, static_cast<long long>(open), static_cast<long long>(opened),
            static_cast<long long>(built - opened), static_cast<long long>(sort),
            static_cast<long long>(sortText), static_cast<long long>(filter), found);
        worst = std::max({worst, int(open), int(sort), int(sortText), int(filter)});
        delete window;
    }
    return worst <= 300 ? 0 : 1;
}

int Record(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("big.sqlite"));
    Fill(path);
    qint64 worst = 0;
    for (int i = 1; i <= 5; ++i) {
        const auto gps = logbooktest::Download(Day(20000 + i), 45.0f, 6.0f, 3600);
        // Checked by the download's export job, before the logbook hears of it.
        const auto checked = logbooktest::Checked(gps);
        QElapsedTimer timer;
        timer.start();
        const logbook::TRecordOutcome outcome =
            logbook::RecordDownloadNow(path, {0, checked, {}, {}, {}, {}}, {});
        const qint64 ms = timer.elapsed();
        worst = std::max(worst, ms);
        timer.restart();
        logbook::TFlightEntry entry;
        logbook::MeasureFlight(track::CheckedDownload(gps), entry);
        const qint64 measure = timer.elapsed();
        timer.restart();
        { logbook::TLogbook opened(path); }
        const qint64 open = timer.elapsed();
        std::printf(
            "record a downloaded hour (3600 fixes) into %d flights: %lld ms (%s; of a kind: "
            "measuring "
            "%lld ms, opening the logbook %lld ms)\n",
            WindowFlights, static_cast<long long>(ms),
            outcome.result == logbook::TRecordResult::Added ? "added" : "failed",
            static_cast<long long>(measure), static_cast<long long>(open));
    }
    return worst <= 100 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString what = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QTemporaryDir dir;
    if (what == QLatin1String("import")) return Import(dir);
    if (what == QLatin1String("window")) return Window(dir);
    if (what == QLatin1String("record")) return Record(dir);
    std::fprintf(stderr, "usage: bench_logbook import|window|record\n");
    return 2;
}
