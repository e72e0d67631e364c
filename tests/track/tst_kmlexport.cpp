// The KML file of a flight: gpsbabel reads every fix back with its time and
// altitude, and text from files stays text.
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "TrackEntries.h"
#include "device/FileStore.h"
#include "track/GpxReader.h"
#include "track/KmlExport.h"

using namespace track;

namespace {

// Ten minutes: a minute on the ground, a climb and a glide, a minute on the ground.
std::vector<TFlightFix> Flight() {
    std::vector<TFlightFix> fixes;
    const device::TrackTime start = tracktest::Time(2024, 6, 7, 23, 55, 0);  // across midnight
    for (int i = 0; i < 600; i += 5) {
        TFlightFix fix;
        const bool flying = i >= 60 && i < 540;
        fix.latitude = -33.86 + (flying ? (i - 60) * 0.00011 : i < 60 ? 0 : 480 * 0.00011);
        fix.longitude = 151.2094 - (flying ? (i - 60) * 0.00007 : i < 60 ? 0 : 480 * 0.00007);
        fix.altitude = flying ? 300 + 200 * std::sin((i - 60) / 480.0 * 3.14159) : 300.25;
        fix.hasTime = true;
        fix.time = start + i;
        fixes.push_back(fix);
    }
    return fixes;
}

}  // namespace

class TestKmlExport : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void gpsbabel_readsEveryFixBack() {
        const QString gpsbabel = QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));
        if (gpsbabel.isEmpty()) QSKIP("gpsbabel is not installed (scripts/install-deps adds it)");
        QTemporaryDir dir;
        const QString kml = dir.filePath(QStringLiteral("flight.kml"));
        const QString gpx = dir.filePath(QStringLiteral("back.gpx"));
        const std::vector<TFlightFix> fixes = Flight();
        WriteKmlFile(kml, {QStringLiteral("Полёт <1> & \"друзья\""), FlightFacts(fixes), fixes});
        QProcess p;
        p.start(gpsbabel, {QStringLiteral("-i"), QStringLiteral("kml"), QStringLiteral("-f"), kml,
                           QStringLiteral("-o"), QStringLiteral("gpx"), QStringLiteral("-F"), gpx});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        // The timed track and the line of the same points are one flight.
        const std::vector<TFlightFix> back = ReadGpxFile(gpx).front().fixes;
        QCOMPARE(back.size(), fixes.size());
        for (std::size_t i = 0; i < fixes.size(); ++i) {
            QVERIFY(back[i].hasTime);
            QCOMPARE(back[i].time, fixes[i].time);
            QVERIFY(std::fabs(back[i].latitude - fixes[i].latitude) < 1e-6);
            QVERIFY(std::fabs(back[i].longitude - fixes[i].longitude) < 1e-6);
            QVERIFY(std::fabs(back[i].altitude - fixes[i].altitude) < 0.01);
        }
    }

    void document_namesFactsAndMarks() {
        const std::vector<TFlightFix> fixes = Flight();
        const QString text =
            QString::fromUtf8(KmlText({QStringLiteral("<b>x</b>"), FlightFacts(fixes), fixes}));
        QVERIFY(text.contains(QStringLiteral("<name>&lt;b&gt;x&lt;/b&gt;</name>")));
        QVERIFY(!text.contains(QStringLiteral("<b>")));
        QVERIFY(text.contains(QStringLiteral("xmlns=\"http://www.opengis.net/kml/2.2\"")));
        QCOMPARE(text.count(QStringLiteral("<gx:coord>")), int(fixes.size()));
        QCOMPARE(text.count(QStringLiteral("<altitudeMode>absolute</altitudeMode>")), 4);
        // Take-off and landing where the ground time ends and starts again.
        QVERIFY(text.contains(QStringLiteral("<name>Взлёт</name>")));
        QVERIFY(text.contains(QStringLiteral("<when>2024-06-07T23:56:00Z</when>")));
        QVERIFY(text.contains(QStringLiteral("Продолжительность: 0:")));
        QVERIFY(text.contains(QStringLiteral("Дата: 2024-06-07")));
    }

    void afterADownload_besideItsTrackFile() {
        QTemporaryDir dir;
        const QString written =
            WriteKmlBeside(dir.filePath(QStringLiteral("Track7.igc")), Flight());
        QCOMPARE(written, dir.filePath(QStringLiteral("Track7.kml")));
        const QByteArray text = device::ReadRegularFile(written, 1 << 24);
        QVERIFY(text.contains("<name>Track7</name>"));
        QCOMPARE(text, KmlText({QStringLiteral("Track7"), FlightFacts(Flight()), Flight()}));
    }

    void fixesWithoutTimeOrAltitude_onTheLineOnly() {
        std::vector<TFlightFix> fixes(3);
        fixes[0].latitude = 10;
        fixes[1].latitude = 11;
        fixes[1].hasTime = true;
        fixes[1].time = tracktest::Time(2024, 1, 1, 0, 0, 0);
        fixes[2].latitude = 12;
        const QString text = QString::fromUtf8(KmlText({QStringLiteral("x"), {}, fixes}));
        QCOMPARE(text.count(QStringLiteral("<gx:coord>")), 1);
        QVERIFY(text.contains(QStringLiteral("0.0000000,12.0000000,0.00")));
        QVERIFY(!KmlText({QStringLiteral("empty"), {}, {}}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestKmlExport)
#include "tst_kmlexport.moc"
