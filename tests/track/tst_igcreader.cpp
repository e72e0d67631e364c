// IGC files as real instruments and programs write them, GPX files that hold
// one flight twice, and the reader that tells the two kinds apart.
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "TrackEntries.h"
#include "device/AppError.h"
#include "device/FileStore.h"
#include "track/GpxReader.h"
#include "track/IgcReader.h"
#include "track/TrackFileReader.h"

using namespace track;

namespace {

// Two fixes a second apart at 10:00 UTC on 2024-06-07, CR LF lines.
const QByteArray kPlain =
    "AXTK102\r\n"
    "HFDTE070624\r\n"
    "HFPLTPILOTINCHARGE:Ivan Petrov\r\n"
    "HFGTYGLIDERTYPE:Rush 5\r\n"
    "B1000004530000N00612000EA0050000520\r\n"
    "B1000014530060N00612060EA0050100521\r\n";

device::TrackTime At(int h, int m, int s, int day = 7) {
    return tracktest::Time(2024, 6, day, h, m, s);
}

}  // namespace

class TestIgcReader : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void quirks_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<qint64>("firstTime");
        QTest::addColumn<qint64>("lastTime");
        QTest::addColumn<double>("lastAltitude");  // NaN: none

        QTest::newRow("plain file")
            << kPlain << 2 << qint64(At(10, 0, 0)) << qint64(At(10, 0, 1)) << 501.0;
        QByteArray longDate = kPlain;
        longDate.replace("HFDTE070624", "HFDTEDATE:070624,01");
        QTest::newRow("date as HFDTEDATE:ddmmyy,nn")
            << longDate << 2 << qint64(At(10, 0, 0)) << qint64(At(10, 0, 1)) << 501.0;
        QByteArray lf = kPlain;
        lf.replace("\r\n", "\n");
        QTest::newRow("LF-only lines")
            << lf << 2 << qint64(At(10, 0, 0)) << qint64(At(10, 0, 1)) << 501.0;
        QTest::newRow("lower-case headers")
            << QByteArray(
                   "AXTK102\nhfdte070624\nhfpltpilot:x\nB1000004530000N00612000EA0050000520\n")
            << 1 << qint64(At(10, 0, 0)) << qint64(At(10, 0, 0)) << 500.0;
        QTest::newRow("I-record extensions after the position")
            << QByteArray(
                   "AXTK102\r\nHFDTE070624\r\nI023638FXA3941SIU\r\n"
                   "B1000004530000N00612000EA005000052002507\r\n"
                   "B1000014530060N00612060EA005010052103008\r\n")
            << 2 << qint64(At(10, 0, 0)) << qint64(At(10, 0, 1)) << 501.0;
        QTest::newRow("V fix: the flight's pressure altitude")
            << QByteArray(
                   "AXTK102\nHFDTE070624\nB1000004530000N00612000EA0050000520\n"
                   "B1000014530060N00612060EV0050100000\n")
            << 2 << qint64(At(10, 0, 0)) << qint64(At(10, 0, 1)) << 501.0;
        QTest::newRow("V fix without any altitude")
            << QByteArray("AXTK102\nHFDTE070624\nB1000004530060N00612060EV0000000000\n") << 1
            << qint64(At(10, 0, 0)) << qint64(At(10, 0, 0)) << std::nan("");
        QTest::newRow("repeated fix left out")
            << QByteArray(
                   "AXTK102\nHFDTE070624\nB1000004530000N00612000EA0050000520\n"
                   "B1000004530000N00612000EA0050000520\nB1000014530060N00612060EA0050100521\n")
            << 2 << qint64(At(10, 0, 0)) << qint64(At(10, 0, 1)) << 501.0;
        QTest::newRow("flight across midnight UTC")
            << QByteArray(
                   "AXTK102\nHFDTE070624\nB2359594530000N00612000EA0050000520\n"
                   "B0000004530060N00612060EA0050100521\n")
            << 2 << qint64(At(23, 59, 59)) << qint64(At(0, 0, 0, 8)) << 501.0;
        QTest::newRow("short step back takes its place in time")
            << QByteArray(
                   "AXTK102\nHFDTE070624\nB1000054530000N00612000EA0050000520\n"
                   "B1000034530000N00612000EA0050000999\nB1000064530060N00612060EA0050100521\n")
            << 3 << qint64(At(10, 0, 3)) << qint64(At(10, 0, 6)) << 501.0;
        QTest::newRow("trailing garbage and G record")
            << kPlain +
                   "GREJNGJERJKNJKRE31895478537H43982FJN9248F942389T433T\r\n\x1a\x1a\0\0garbage"
            << 2 << qint64(At(10, 0, 0)) << qint64(At(10, 0, 1)) << 501.0;
        QTest::newRow("broken B records left out")
            << QByteArray(
                   "AXTK102\nHFDTE070624\nB1000004530000N00612000EA00500\n"
                   "B1000014599060N00612060EA0050100521\nB1000024530060N00612060EA0050100522\n")
            << 1 << qint64(At(10, 0, 2)) << qint64(At(10, 0, 2)) << 501.0;
        QTest::newRow("south and west, negative altitude")
            << QByteArray("AXTK102\nHFDTE070624\nB1000003352000S07030000WA00000-0012\n") << 1
            << qint64(At(10, 0, 0)) << qint64(At(10, 0, 0)) << -12.0;
    }

    void quirks() {
        QFETCH(QByteArray, text);
        QFETCH(int, count);
        QFETCH(qint64, firstTime);
        QFETCH(qint64, lastTime);
        QFETCH(double, lastAltitude);
        const TIgcFlight flight = ParseIgc(text, QStringLiteral("f.igc"));
        QCOMPARE(int(flight.fixes.size()), count);
        QVERIFY(flight.fixes.front().hasTime);
        QCOMPARE(flight.fixes.front().time, firstTime);
        QCOMPARE(flight.fixes.back().time, lastTime);
        if (std::isnan(lastAltitude))
            QVERIFY(std::isnan(flight.fixes.back().altitude));
        else
            QCOMPARE(flight.fixes.back().altitude, lastAltitude);
    }

    void positionsAndHeader() {
        const TIgcFlight flight = ParseIgc(kPlain, QStringLiteral("f.igc"));
        QCOMPARE(flight.fixes[1].latitude, 45 + 30.060 / 60);
        QCOMPARE(flight.fixes[1].longitude, 6 + 12.060 / 60);
        QCOMPARE(flight.pilot, QStringLiteral("Ivan Petrov"));
        QCOMPARE(flight.gliderType, QStringLiteral("Rush 5"));
        // Names nobody entered are no names.
        for (const QByteArray placeholder : {"NKN", " None", " not set", "UNKNOWN", "Default"}) {
            const TIgcFlight unnamed =
                ParseIgc("AXTK1\nHFDTE070624\nHFPLTPILOT:" + placeholder +
                             "\nHFGTYGLIDERTYPE:" + placeholder + "\nHFGIDGLIDERID:" + placeholder +
                             "\nB1000004530000N00612000EA0050000520\n",
                         "u");
            QVERIFY2(unnamed.pilot.isEmpty() && unnamed.gliderType.isEmpty() &&
                         unnamed.gliderId.isEmpty(),
                     placeholder.constData());
        }
        const TIgcFlight south =
            ParseIgc("AXTK1\nHFDTE070624\nB1000003352000S07030000WA00000-0012\n", "s");
        QCOMPARE(south.fixes[0].latitude, -(33 + 52.0 / 60));
        QCOMPARE(south.fixes[0].longitude, -(70 + 30.0 / 60));
    }

    void unreadable_namedWithTheReason_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no records at all") << QByteArray("hello\nworld\n") << "нет записей IGC";
        QTest::newRow("header but no fix")
            << QByteArray("AXTK102\nHFDTE070624\n") << "нет ни одной точки";
        QTest::newRow("fixes without a date")
            << QByteArray("AXTK102\nB1000004530000N00612000EA0050000520\n") << "нет даты";
        QTest::newRow("impossible date")
            << QByteArray("AXTK102\nHFDTE310224\nB1000004530000N00612000EA0050000520\n")
            << "нет даты";
    }

    void unreadable_namedWithTheReason() {
        QFETCH(QByteArray, text);
        QFETCH(QString, reason);
        try {
            ParseIgc(text, QStringLiteral("broken.igc"));
            QFAIL("read");
        } catch (const device::TAppError& error) {
            QVERIFY2(error.Text().contains(QStringLiteral("broken.igc")), qPrintable(error.Text()));
            QVERIFY2(error.Text().contains(reason), qPrintable(error.Text()));
        }
    }

    void trackFile_toldByContentNotName() {
        QTemporaryDir dir;
        const QString igcNamedGpx = dir.filePath("really-igc.gpx");
        device::WriteFileSafely(igcNamedGpx, kPlain);
        const TTrackFile igc = ReadTrackFileDetails(igcNamedGpx);
        QCOMPARE(igc.format, TTrackFormat::Igc);
        QCOMPARE(igc.pilot, QStringLiteral("Ivan Petrov"));
        const QString gpx = dir.filePath("track.IGC");
        device::WriteFileSafely(gpx,
                                "\xEF\xBB\xBF<?xml version=\"1.0\"?><gpx><trk><trkseg>"
                                "<trkpt lat=\"1\" lon=\"2\"/></trkseg></trk></gpx>");
        QCOMPARE(ReadTrackFileDetails(gpx).format, TTrackFormat::Gpx);
        QCOMPARE(int(ReadTrackFile(gpx).size()), 1);
        const QString other = dir.filePath("notes.txt");
        device::WriteFileSafely(other, "\x01\x02 nothing");
        QVERIFY_THROWS_EXCEPTION(device::TAppError, ReadTrackFile(other));
        QVERIFY(IsTrackFileName(QStringLiteral("/a/B.IgC")));
        QVERIFY(!IsTrackFileName(QStringLiteral("/a/b.kml")));
    }

    void gpx_sameFlightInTwoTracks_readOnce_data() {
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<int>("count");  // fixes of the first flight
        QTest::addColumn<int>("flights");
        QTest::newRow("GNSS track of the same times: read once")
            << QByteArray(
                   "<trk><name>GNSSALTTRK</name><trkseg>"
                   "<trkpt lat=\"45.0\" "
                   "lon=\"6.0\"><ele>530</ele><time>2024-06-07T10:00:00Z</time></trkpt>"
                   "<trkpt lat=\"45.001\" "
                   "lon=\"6.001\"><ele>540</ele><time>2024-06-07T10:00:10Z</time></trkpt>"
                   "</trkseg></trk>")
            << 2 << 1;
        QTest::newRow("a later flight is a flight of its own")
            << QByteArray(
                   "<trk><trkseg>"
                   "<trkpt lat=\"45.0\" lon=\"6.0\"><time>2024-06-07T12:00:00Z</time></trkpt>"
                   "<trkpt lat=\"45.001\" lon=\"6.001\"><time>2024-06-07T12:00:10Z</time></trkpt>"
                   "</trkseg></trk>")
            << 2 << 2;
        QTest::newRow("untimed copy of the same points: read once")
            << QByteArray(
                   "<trk><trkseg><trkpt lat=\"45.0\" lon=\"6.0\"/><trkpt lat=\"45.001\" "
                   "lon=\"6.001\"/>"
                   "</trkseg></trk>")
            << 2 << 1;
        QTest::newRow("untimed other points are a flight of their own")
            << QByteArray(
                   "<trk><trkseg><trkpt lat=\"46.0\" lon=\"6.0\"/><trkpt lat=\"45.001\" "
                   "lon=\"6.001\"/>"
                   "</trkseg></trk>")
            << 2 << 2;
    }

    void gpx_sameFlightInTwoTracks_readOnce() {
        QFETCH(QByteArray, second);
        QFETCH(int, count);
        QFETCH(int, flights);
        const QByteArray document =
            "<gpx version=\"1.1\"><trk><name>PRESALTTRK</name><trkseg>"
            "<trkpt lat=\"45.0\" "
            "lon=\"6.0\"><ele>500</ele><time>2024-06-07T10:00:00Z</time></trkpt>"
            "<trkpt lat=\"45.001\" "
            "lon=\"6.001\"><ele>510</ele><time>2024-06-07T10:00:10Z</time></trkpt>"
            "</trkseg></trk>" +
            second + "</gpx>";
        const std::vector<TCheckedTrack> read = ParseGpx(document, QStringLiteral("two.gpx"));
        QCOMPARE(int(read.size()), flights);
        QCOMPARE(int(read[0].fixes.size()), count);
        QCOMPARE(read[0].fixes[1].altitude, 510.0);  // the first track's
    }
};

QTEST_GUILESS_MAIN(TestIgcReader)
#include "tst_igcreader.moc"
