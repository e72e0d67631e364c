// The track files of fixed lists, byte for byte against the files kept in
// tests/data/track-files, written directly and by a download's export job
// (which writes the IGC file from its checked track's recorded fixes). Every
// platform's build must write exactly these bytes: no line ends changed by a
// text mode, no locale in the numbers, no time zone in the times.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <limits>

#include "TrackEntries.h"
#include "track/ExportJob.h"
#include "track/TrackExport.h"

using namespace tracktest;

namespace {

class TQuietMemo : public track::TMemoSink {
  public:
    void Clear() override {}
    void AddLine(const QString&) override {}
};

device::TrackSnapshot Flight() {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const device::TrackTime t = Time(2024, 6, 7, 9, 5, 3);
    const device::TrackTime restart = device::FallbackTrackTime();
    return {{
                Gps(t, 1870, 55.751234f, 37.617599f),  // north, east
                Gps(t + 1, -12, -33.865f, -70.5f),     // south, west, below the sea
                Gps(t + 2, 0, 0.0f, 0.0f),             // the equator at Greenwich
                Gps(t + 3, 100, nan, 10.0f),           // left out of every file
                Gps(t + 4, 32767, 89.999999f, -179.999999f),
                Gps(restart, 5, 1.5f, -0.25f),      // the time goes back
                Gps(restart + 1, 6, 1.5f, 180.0f),  // written as -180
            },
            {
                Eng(t, 0, 0, 0),
                Eng(t + 1, 255, 65535, 1013),
                Eng(restart, 7, 300, 42),
            }};
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing " + path.toUtf8() + '>';
    return file.readAll();
}

}  // namespace

class TestTrackFileBytes : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void files_matchTheKeptOnes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("byExportJob");
        for (const bool job : {false, true}) {
            const char* how = job ? "by the export job" : "directly";
            QTest::addRow("GPX, %s", how) << QStringLiteral("Track12.gpx") << job;
            QTest::addRow("ENX, %s", how) << QStringLiteral("Track12.enx") << job;
            QTest::addRow("IGC, %s", how) << QStringLiteral("Track12.igc") << job;
        }
    }
    void files_matchTheKeptOnes() {
        QFETCH(QString, name);
        QFETCH(bool, byExportJob);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString folder = root.filePath(QStringLiteral("Треки"));
        QVERIFY(QDir().mkpath(folder));
        TQuietMemo memo;
        QStringList written;
        if (byExportJob) {
            track::TExportRequest request;
            request.flightNumber = 12;
            request.lists = Flight();
            request.folder = folder;
            request.options = {true, {102, 311}};
            const track::TExportResult result = track::RunExport(request);
            QCOMPARE(result.error, QString());
            written = result.files;
        } else {
            written = track::WriteTrackFiles(12, Flight(), memo, folder, {true, {102, 311}});
        }
        QCOMPARE(written.size(), 3);
        const QByteArray actual = Contents(folder + QLatin1Char('/') + name);
        const QByteArray expected =
            Contents(QStringLiteral(TOLMARIK_TEST_DATA "/track-files/") + name);
        if (qEnvironmentVariableIsSet("TOLMARIK_KEEP_TRACK_FILES")) {
            // To renew the kept files after a deliberate change of a format.
            QFile copy(qEnvironmentVariable("TOLMARIK_KEEP_TRACK_FILES") + QLatin1Char('/') + name);
            QVERIFY(copy.open(QIODevice::WriteOnly) && copy.write(actual) == actual.size());
        }
        QCOMPARE(actual, expected);
    }

    // What the export job hands on for the statistics, the picture, the score,
    // the KML file and the logbook is the download's one checked track.
    void exportJob_handsOnTheCheckedTrack() {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        track::TExportRequest request;
        request.flightNumber = 12;
        request.lists = Flight();
        request.folder = root.path();
        const track::TExportResult result = track::RunExport(request);
        QVERIFY(result.checked);
        const track::TCheckedTrack again = track::CheckedDownload(request.lists.gps);
        const auto same = [](const std::vector<track::TFlightFix>& a,
                             const std::vector<track::TFlightFix>& b) {
            return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                              [](const track::TFlightFix& x, const track::TFlightFix& y) {
                                  return x.latitude == y.latitude && x.longitude == y.longitude &&
                                         x.altitude == y.altitude && x.time == y.time &&
                                         x.hasTime == y.hasTime;
                              });
        };
        QVERIFY(same(result.checked->fixes, again.fixes));
        QCOMPARE(result.checked->leftOut, again.leftOut);
        // The IGC file's fixes: every one the GPX file holds, none checked away.
        QVERIFY(same(result.checked->recorded, track::FlightFixes(request.lists.gps)));
        QVERIFY(result.checked->recorded.size() > result.checked->fixes.size());
    }
};

QTEST_GUILESS_MAIN(TestTrackFileBytes)
#include "tst_trackfilebytes.moc"
