// tolmarik-cli flights and download --flight / --all-new, as a pilot runs
// them one after the other against an instrument with several flights: one
// data folder (logbook and kept scans) for the whole suite.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "flow/ExitCodes.h"
#include "sim/FlightGenerator.h"
#include "tests/support/SimBench.h"

namespace {
struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};
}  // namespace

class TestCliFlights : public QObject {
    Q_OBJECT
    QTemporaryDir data_;
    QTemporaryDir tracks_;
    testsupport::TSimBench bench_;
    sim::TGeneratedMemory memory_;

    Result Cli(QStringList args) {
        QProcess p;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), data_.path());
        p.setProcessEnvironment(environment);
        args.prepend(bench_.Sim().PortPath());
        p.start(QStringLiteral(TOLMARIK_CLI), args);
        if (!p.waitForFinished(240000)) return {};
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    Result Download(const QStringList& choice) {
        return Cli(
            QStringList{QStringLiteral("download"), QStringLiteral("--dir"), tracks_.path()} +
            choice);
    }
    // The rows of the flight list: number, date, start, sector, sectors,
    // duration, in the logbook.
    static std::vector<QStringList> Rows(const QString& out) {
        std::vector<QStringList> rows;
        for (const QString& line : out.split(QLatin1Char('\n')))
            if (line.count(QLatin1Char('\t')) == 6 && !line.startsWith(QStringLiteral("№")))
                rows.push_back(line.split(QLatin1Char('\t')));
        return rows;
    }
    QString Gpx(int flight) const {
        return QDir(tracks_.path()).filePath(QStringLiteral("Track%1.gpx").arg(flight));
    }

  private Q_SLOTS:
    void initTestCase() {
        sim::TFlightPlan plan;
        plan.minutesEach = {20, 45, 10};
        plan.gapSectors = 4;
        plan.firstFlightNumber = 65535;
        memory_ = sim::GenerateFlights(plan);
        QVERIFY(bench_.Plug());
        bench_.Load(memory_);
    }

    void flights_newestFirstNoneInTheLogbook() {
        const Result r = Cli({QStringLiteral("flights")});
        QCOMPARE(r.exitCode, int(flow::EC_OK));
        const std::vector<QStringList> rows = Rows(r.out);
        QCOMPARE(rows.size(), std::size_t(3));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const sim::TGeneratedFlight& f = memory_.flights[memory_.flights.size() - 1 - i];
            QCOMPARE(rows[i][0].toInt(), int(f.flightNumber));
            QCOMPARE(rows[i][1], QStringLiteral("%1-%2-%3")
                                     .arg(f.stats.year)
                                     .arg(f.stats.month, 2, 10, QLatin1Char('0'))
                                     .arg(f.stats.day, 2, 10, QLatin1Char('0')));
            QCOMPARE(rows[i][3].toInt(), int(f.firstSector));
            QCOMPARE(rows[i][4].toInt(), f.sectors);
            QCOMPARE(rows[i][6], QStringLiteral("нет"));
        }
        QVERIFY(r.out.contains(QStringLiteral("Полётов в памяти: 3, новых: 3")));
    }

    // The middle flight, not the last: its own statistics and its files,
    // then the list marks it as in the logbook.
    void downloadFlight_anOlderOne() {
        const sim::TGeneratedFlight& older = memory_.flights[1];
        const Result r =
            Download({QStringLiteral("--flight"), QString::number(older.flightNumber)});
        QCOMPARE(r.exitCode, int(flow::EC_OK));
        QVERIFY2(r.out.contains(QStringLiteral("Полет №%1\n").arg(older.flightNumber)),
                 qPrintable(r.out));
        QVERIFY(r.out.contains(
            QStringLiteral("Продолжительноость %1 минут").arg(older.stats.durationMinutes)));
        QVERIFY(r.out.contains(QStringLiteral("Высота %1 м").arg(older.stats.maxAltitude)));
        QVERIFY(QFile::exists(Gpx(older.flightNumber)));
        QVERIFY(!QFile::exists(Gpx(memory_.flights[0].flightNumber)));
#if TOLMARIK_LOGBOOK_BUILT
        const std::vector<QStringList> rows = Rows(Cli({QStringLiteral("flights")}).out);
        QCOMPARE(rows.size(), std::size_t(3));
        QCOMPARE(rows[1][6], QStringLiteral("да"));
        QCOMPARE(rows[0][6], QStringLiteral("нет"));
#endif
    }

    // All new, twice: the first run fetches the two flights the logbook
    // lacks (the number wrapped from 65535 to 0 between them), the second
    // finds nothing and says so.
    void downloadAllNew_twice() {
#if !TOLMARIK_LOGBOOK_BUILT
        QSKIP("this build has no logbook");
#endif
        const Result first = Download({QStringLiteral("--all-new")});
        QCOMPARE(first.exitCode, int(flow::EC_OK));
        QVERIFY(first.out.contains(QStringLiteral("Скачано полётов: 2")));
        QVERIFY(QFile::exists(Gpx(65535)));
        QVERIFY(QFile::exists(Gpx(1)));
        const Result second = Download({QStringLiteral("--all-new")});
        QCOMPARE(second.exitCode, int(flow::EC_OK));
        QVERIFY2(second.out.contains(QStringLiteral("Новых полётов нет")), qPrintable(second.out));
        QVERIFY(!second.out.contains(QStringLiteral("Полет №")));
    }

    void refusals_data() {
        QTest::addColumn<QStringList>("choice");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("a number not in memory")
            << QStringList{QStringLiteral("--flight"), QStringLiteral("999")}
            << int(flow::EC_FAILED) << QStringLiteral("Полета №999 нет в памяти прибора");
        QTest::newRow("not a number")
            << QStringList{QStringLiteral("--flight"), QStringLiteral("x")} << int(flow::EC_USAGE)
            << QStringLiteral("--flight");
    }
    void refusals() {
        QFETCH(QStringList, choice);
        QFETCH(int, status);
        QFETCH(QString, text);
        const Result r = Download(choice);
        QCOMPARE(r.exitCode, status);
        QVERIFY2(r.err.contains(text), qPrintable(r.err));
    }

    // A logbook that cannot be read: the list says "unknown" rather than
    // "no", all new refuses to guess, and a download keeps its files but
    // ends with the logbook's status.
    void unreadableLogbook_unknownRefusedFilesKept() {
#if !TOLMARIK_LOGBOOK_BUILT
        QSKIP("this build has no logbook");
#endif
        const QString db =
            QDir(data_.path()).filePath(QStringLiteral("Tolmarik/TolmarikProg/logbook.sqlite"));
        const QString aside = db + QStringLiteral(".aside");
        QVERIFY(QFile::rename(db, aside));
        {
            QFile damaged(db);
            QVERIFY(damaged.open(QIODevice::WriteOnly));
            damaged.write(QByteArray(8192, 'x'));
        }
        const Result listed = Cli({QStringLiteral("flights")});
        QCOMPARE(listed.exitCode, int(flow::EC_LOGBOOK));
        const std::vector<QStringList> rows = Rows(listed.out);
        QCOMPARE(rows.size(), std::size_t(3));
        for (const QStringList& row : rows) QCOMPARE(row[6], QStringLiteral("неизвестно"));
        QVERIFY2(listed.err.contains(QStringLiteral("недоступен")), qPrintable(listed.err));

        const Result allNew = Download({QStringLiteral("--all-new")});
        QCOMPARE(allNew.exitCode, int(flow::EC_LOGBOOK));
        QVERIFY(!allNew.out.contains(QStringLiteral("Полет №")));

        const int number = memory_.flights[0].flightNumber;
        QFile::remove(Gpx(number));
        const Result one = Download({QStringLiteral("--flight"), QString::number(number)});
        QCOMPARE(one.exitCode, int(flow::EC_LOGBOOK));
        QVERIFY2(one.err.contains(QStringLiteral("недоступен")), qPrintable(one.err));
        QVERIFY(QFile::exists(Gpx(number)));

        QVERIFY(QFile::remove(db));
        QVERIFY(QFile::rename(aside, db));
    }
};

QTEST_MAIN(TestCliFlights)
#include "tst_cliflights.moc"
