// Writing the track files: names, memo lines, failures, and the GPX file as
// other programs read it.
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>

#include "TrackEntries.h"
#include "device/AppError.h"
#include "track/TrackExport.h"

using namespace track;
using namespace tracktest;

namespace {

class TLinesMemo : public TMemoSink {
  public:
    QStringList lines{QStringLiteral("statistics shown before")};
    void Clear() override { lines.clear(); }
    void AddLine(const QString& line) override { lines << line; }
};

QStringList Totals(int gps, int eng) {
    return {QStringLiteral("Всего GPS %1").arg(gps), QStringLiteral("Всего ENG %1").arg(eng)};
}
const QString Done = QStringLiteral("___ Файлы созданы ____");

device::TrackSnapshot Lists(int gpsCount, int engCount) {
    device::TrackSnapshot lists;
    const device::TrackTime t = Time(2024, 6, 7, 9, 5, 3);
    for (int i = 0; i < gpsCount; ++i)
        lists.gps.push_back(Gps(t + i, 100 + i, 55.75f + 0.001f * i, 37.61f - 0.001f * i));
    for (int i = 0; i < engCount; ++i)
        lists.eng.push_back(Eng(t + gpsCount + i, i, 1000 + i, 60000 + i));
    return lists;
}

QByteArray Contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void Put(const QString& path, const QByteArray& data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// Runs WriteTrackFiles and returns the error text, empty when none was raised.
QString WriteError(int flight, const device::TrackSnapshot& lists, TMemoSink& memo,
                   const QString& folder) {
    try {
        WriteTrackFiles(flight, lists, memo, folder);
    } catch (const device::TAppError& e) {
        return e.Text();
    }
    return {};
}

// A track across the globe, with values that would tempt exponent notation.
device::TrackSnapshot GeneratedTrack(int count) {
    device::TrackSnapshot lists;
    const device::TrackTime t = Time(2024, 7, 1, 12, 0, 0);
    for (int i = 0; i < count; ++i) {
        float lat = -80.0f + 0.5317f * static_cast<float>(i);
        float lon = -179.9f + 1.19f * static_cast<float>(i);
        if (i == 7) lat = 1e-5f;
        if (i == 8) lon = -3e-7f;
        lists.gps.push_back(Gps(t + i, -100 + 7 * i, std::fmod(lat, 89.0f), lon));
    }
    return lists;
}

QString Tool(const char* name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }

}  // namespace

class TestTrackFiles : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // --- names, contents, memo

    void writeTrackFiles_lists_filesNamedAfterFlight_data() {
        QTest::addColumn<int>("flight");
        QTest::addColumn<int>("gps");
        QTest::addColumn<int>("eng");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("flight 12")
            << 12 << 2 << 1 << QStringList{"Track12.enx", "Track12.gpx", "Track12.igc"};
        QTest::newRow("flight 0") << 0 << 2 << 1
                                  << QStringList{"Track0.enx", "Track0.gpx", "Track0.igc"};
        QTest::newRow("GPS only") << 3 << 2 << 0 << QStringList{"Track3.gpx", "Track3.igc"};
        QTest::newRow("sensors only") << 4 << 0 << 3 << QStringList{"Track4.enx"};
        QTest::newRow("both empty") << 5 << 0 << 0 << QStringList{};
    }
    void writeTrackFiles_lists_filesNamedAfterFlight() {
        QFETCH(int, flight);
        QFETCH(int, gps);
        QFETCH(int, eng);
        QFETCH(QStringList, files);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const device::TrackSnapshot lists = Lists(gps, eng);
        TLinesMemo memo;

        WriteTrackFiles(flight, lists, memo, dir.path());

        QCOMPARE(memo.lines, Totals(gps, eng) << Done);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 files);
        for (const QString& name : files) {
            const QByteArray expected =
                name.endsWith(".gpx")   ? QByteArray::fromStdString(GpxText(lists.gps))
                : name.endsWith(".igc") ? IgcText(FlightFixes(lists.gps))
                                        : QByteArray::fromStdString(EnxText(lists.eng));
            QCOMPARE(Contents(dir.filePath(name)), expected);
        }
    }

    void writeTrackFiles_noFolder_currentDirectory() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        TLinesMemo memo;
        const QString error = WriteError(8, Lists(1, 1), memo, {});
        QDir::setCurrent(before);
        QCOMPARE(error, QString());
        QVERIFY(QFile::exists(dir.filePath("Track8.gpx")));
        QVERIFY(QFile::exists(dir.filePath("Track8.enx")));
    }

    void writeTrackFiles_emptyLists_earlierFilesKept() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Put(dir.filePath("Track5.gpx"), "earlier gpx");
        Put(dir.filePath("Track5.enx"), "earlier enx");
        TLinesMemo memo;

        WriteTrackFiles(5, Lists(0, 0), memo, dir.path());

        QCOMPARE(memo.lines, Totals(0, 0) << Done);
        QCOMPARE(Contents(dir.filePath("Track5.gpx")), QByteArray("earlier gpx"));
        QCOMPARE(Contents(dir.filePath("Track5.enx")), QByteArray("earlier enx"));
    }

    void writeTrackFiles_secondCall_filesReplacedWithFullerLists() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        TLinesMemo memo;
        WriteTrackFiles(6, Lists(1, 1), memo, dir.path());
        const device::TrackSnapshot fuller = Lists(3, 2);
        WriteTrackFiles(6, fuller, memo, dir.path());
        QCOMPARE(Contents(dir.filePath("Track6.gpx")),
                 QByteArray::fromStdString(GpxText(fuller.gps)));
        QCOMPARE(Contents(dir.filePath("Track6.enx")),
                 QByteArray::fromStdString(EnxText(fuller.eng)));
        QCOMPARE(memo.lines, Totals(3, 2) << Done);
    }

    // --- failures

    void writeTrackFiles_gpxUnwritable_errorAndEnxNotTried_data() {
        QTest::addColumn<QString>("setup");
        QTest::newRow("folder missing") << "missing";
        QTest::newRow("folder is a regular file") << "file";
        QTest::newRow("GPX name taken by a folder") << "taken";
    }
    void writeTrackFiles_gpxUnwritable_errorAndEnxNotTried() {
        QFETCH(QString, setup);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString folder = dir.path();
        if (setup == "missing") folder = dir.filePath("no/such/folder");
        if (setup == "file") {
            folder = dir.filePath("plain");
            Put(folder, "not a folder");
        }
        if (setup == "taken") {
            QVERIFY(QDir(dir.path()).mkdir("Track3.gpx"));
            Put(dir.filePath("Track3.enx"), "earlier enx");
        }
        TLinesMemo memo;

        const QString error = WriteError(3, Lists(2, 2), memo, folder);

        QVERIFY2(error.contains("Track3.gpx"), qPrintable(error));
        QCOMPARE(memo.lines, Totals(2, 2));
        if (setup == "taken") {
            QVERIFY(QFileInfo(dir.filePath("Track3.gpx")).isDir());
            QCOMPARE(Contents(dir.filePath("Track3.enx")), QByteArray("earlier enx"));
        } else {
            QVERIFY(!QFile::exists(QDir(folder).filePath("Track3.enx")));
        }
    }

    // The files of one download form a set: a new GPX file never stands
    // beside the ENX file of another download.
    void writeTrackFiles_enxUnwritable_earlierPairKeptAndErrorNamesEnx() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Put(dir.filePath("Track9.gpx"), "earlier gpx");
        QVERIFY(QDir(dir.path()).mkdir("Track9.enx"));
        TLinesMemo memo;

        const QString error = WriteError(9, Lists(2, 2), memo, dir.path());

        QVERIFY2(error.contains("Track9.enx") && !error.contains("Track9.gpx"), qPrintable(error));
        QCOMPARE(memo.lines, Totals(2, 2));
        QCOMPARE(Contents(dir.filePath("Track9.gpx")), QByteArray("earlier gpx"));
        QVERIFY(!QFile::exists(dir.filePath("Track9.igc")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Track9.gpx"});
    }

    // The disk fills while the file is written: root ignores permissions, a
    // file size limit does not. The smaller track fits in a write buffer, so
    // its failure only shows when the buffer is flushed.
    void writeTrackFiles_writeFailsMidway_earlierFileIntact_data() {
        QTest::addColumn<int>("points");
        QTest::newRow("one buffer") << 40;
        QTest::newRow("many buffers") << 1000;
    }
    void writeTrackFiles_writeFailsMidway_earlierFileIntact() {
        QFETCH(int, points);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Put(dir.filePath("Track7.gpx"), "earlier gpx");
        TLinesMemo memo;
        rlimit before{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = before;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);

        const QString error = WriteError(7, Lists(points, 0), memo, dir.path());

        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY2(error.contains("Track7.gpx") &&
                     error.contains(QString::fromLocal8Bit(std::strerror(EFBIG))),
                 qPrintable(error));
        QCOMPARE(Contents(dir.filePath("Track7.gpx")), QByteArray("earlier gpx"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
                 QStringList{"Track7.gpx"});
    }

    // --- the GPX file in other programs

    void gpxFile_generatedTrack_validAgainstGpxSchema() {
        const QString xmllint = Tool("xmllint");
        if (xmllint.isEmpty()) QFAIL("xmllint not found; run scripts/install-deps");
        const QString schema = QStringLiteral(TOLMARIK_GPX_SCHEMA);
        QVERIFY2(QFile::exists(schema), qPrintable("schema missing: " + schema));
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        TLinesMemo memo;
        WriteTrackFiles(21, GeneratedTrack(300), memo, dir.path());

        QProcess p;
        p.start(xmllint, {"--noout", "--schema", schema, dir.filePath("Track21.gpx")});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    }

    void gpxFile_generatedTrack_readBackByGpsbabel() {
        const QString gpsbabel = Tool("gpsbabel");
        if (gpsbabel.isEmpty()) QFAIL("gpsbabel not found; run scripts/install-deps");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const device::TrackSnapshot lists = GeneratedTrack(300);
        TLinesMemo memo;
        WriteTrackFiles(22, lists, memo, dir.path());

        QProcess p;
        p.start(gpsbabel, {"-t", "-i", "gpx", "-f", dir.filePath("Track22.gpx"), "-o", "unicsv",
                           "-F", dir.filePath("out.csv")});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());

        const QList<QByteArray> rows = Contents(dir.filePath("out.csv")).trimmed().split('\n');
        QCOMPARE(rows.size(), 1 + 300);
        const QList<QByteArray> header = rows[0].trimmed().split(',');
        const QList<QByteArray> first = rows[1].trimmed().split(',');
        QCOMPARE(first.size(), header.size());
        auto field = [&](const char* name) { return first[header.indexOf(name)]; };
        QCOMPARE(field("Latitude").toDouble(), -80.0);
        QCOMPARE(field("Longitude").toDouble(), std::round(-179.9f * 1e6) / 1e6);
        QCOMPARE(field("Altitude").toDouble(), -100.0);
        QCOMPARE(field("Date"), QByteArray("2024/07/01"));
        QCOMPARE(field("Time"), QByteArray("12:00:00"));
    }
};

QTEST_GUILESS_MAIN(TestTrackFiles)
#include "tst_trackfiles.moc"
