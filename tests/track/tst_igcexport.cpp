// The IGC file of a download: its text byte for byte, the rounding of
// positions and altitudes, the same fixes as the GPX file, and gpsbabel
// reading it back.
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <limits>

#include "TrackEntries.h"
#include "device/FileStore.h"
#include "track/IgcExport.h"
#include "track/IgcReader.h"
#include "track/TrackExport.h"

using namespace track;
Q_DECLARE_METATYPE(track::TPilotProfile)
using namespace tracktest;

namespace {

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

// A small download: two sectors, the second without a date, so its time
// restarts at 2024-01-01 00:00:00.
std::vector<device::GpsListEntry> SmallDownload() {
    const device::TrackTime t = Time(2024, 6, 7, 9, 5, 3);
    const device::TrackTime restart = device::FallbackTrackTime();
    return {
        Gps(t, 1870, 55.751234f, 37.617599f),  // north, east
        Gps(t + 1, -12, -33.865f, -70.5f),     // south, west, below the sea
        Gps(t + 2, 0, 0.0f, 0.0f),             // the equator at Greenwich
        Gps(t + 3, 100, NaN, 10.0f),           // left out, as in the GPX file
        Gps(restart, 5, 1.5f, -0.25f),         // the time goes back
        Gps(restart + 1, 6, 1.5f, 180.0f),     // the GPX file's -180
    };
}

QByteArray BRecord(float lat, float lon, int altitude = 0) {
    const QByteArray text =
        IgcText(FlightFixes({Gps(Time(2024, 1, 1, 0, 0, 0), altitude, lat, lon)}));
    const qsizetype at = text.indexOf("\r\nB");
    return at < 0 ? QByteArray() : text.mid(at + 2, 35);
}

QList<QByteArray> Lines(const QByteArray& text, char kind) {
    QList<QByteArray> out;
    for (const QByteArray& line : text.split('\n'))
        if (line.startsWith(kind)) out << line;
    return out;
}

}  // namespace

class TestIgcExport : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void smallDownload_byteForByte() {
        const QByteArray text = IgcText(FlightFixes(SmallDownload()), {102, 311});
        const QByteArray expected =
            "AXTK102\r\n"
            "HFDTE070624\r\n"
            "HFPLTPILOTINCHARGE:\r\n"
            "HFGTYGLIDERTYPE:\r\n"
            "HFFTYFRTYPE:Tolmarik,Mevra-C\r\n"
            "HFRFWFIRMWAREVERSION:311\r\n"
            "HFDTM100GPSDATUM:WGS-1984\r\n"
            "B0905035545074N03737056EA0000001870\r\n"
            "B0905043351900S07030000WA00000-0012\r\n"
            "B0905050000000N00000000EA0000000000\r\n"
            "B0000000130000N00015000WA0000000005\r\n"
            "B0000010130000N18000000WA0000000006\r\n";
        QCOMPARE(text, expected);
    }

    void instrumentUnknownOrNotAscii_leftOutOfHeader_data() {
        QTest::addColumn<std::optional<int>>("model");
        QTest::addColumn<QByteArray>("logger");
        QTest::addColumn<QByteArray>("recorder");
        QTest::newRow("unknown") << std::optional<int>() << QByteArray("AXTK000")
                                 << QByteArray("HFFTYFRTYPE:Tolmarik");
        QTest::newRow("default model, Cyrillic name")
            << std::optional<int>(1) << QByteArray("AXTK001") << QByteArray("HFFTYFRTYPE:Tolmarik");
        QTest::newRow("Mevra-F") << std::optional<int>(105) << QByteArray("AXTK105")
                                 << QByteArray("HFFTYFRTYPE:Tolmarik,Mevra-F");
    }
    void instrumentUnknownOrNotAscii_leftOutOfHeader() {
        QFETCH(std::optional<int>, model);
        QFETCH(QByteArray, logger);
        QFETCH(QByteArray, recorder);
        TIgcInstrument instrument;
        if (model) instrument.model = models::DeviceModelId(*model);
        const QList<QByteArray> lines =
            IgcText(FlightFixes(SmallDownload()), instrument).split('\n');
        QCOMPARE(lines[0], logger + '\r');
        QVERIFY(lines.contains(recorder + '\r'));
        QVERIFY(!IgcText({}, instrument).contains("HFRFW"));  // no firmware version given
        for (const QByteArray& line : lines)
            for (char c : line) QVERIFY2(c == '\r' || (c >= 0x20 && c < 0x7F), line.constData());
    }

    void pilotProfile_inTheHeaderAsAscii_data() {
        QTest::addColumn<TPilotProfile>("profile");
        QTest::addColumn<QByteArrayList>("lines");
        QTest::newRow("Latin names as they stand")
            << TPilotProfile{"Anna Smith", "Ozone Rush 6", "D-1234", "12345", "42"}
            << QByteArrayList{"HFPLTPILOTINCHARGE:Anna Smith", "HFGTYGLIDERTYPE:Ozone Rush 6",
                              "HFGIDGLIDERID:D-1234", "HFCIDCOMPETITIONID:42", "HFCIVCIVLID:12345"};
        QTest::newRow("Cyrillic transliterated, capitals kept")
            << TPilotProfile{QStringLiteral("Щукин Жора Юрьевич"),
                             QStringLiteral("АКРО ЦЕЛЬ"),
                             {},
                             {},
                             {}}
            << QByteArrayList{"HFPLTPILOTINCHARGE:Shchukin Zhora Iurevich",
                              "HFGTYGLIDERTYPE:AKRO TSEL"};
        QTest::newRow("accents dropped, other scripts and controls left out")
            << TPilotProfile{QStringLiteral("  Zoë Müller 山\tX\u0007 "), {}, {}, {}, {}}
            << QByteArrayList{"HFPLTPILOTINCHARGE:Zoe Muller  X", "HFGTYGLIDERTYPE:"};
    }
    void pilotProfile_inTheHeaderAsAscii() {
        QFETCH(TPilotProfile, profile);
        QFETCH(QByteArrayList, lines);
        const QByteArray text = IgcText(FlightFixes(SmallDownload()), {102, 311}, profile);
        for (const QByteArray& line : lines)
            QVERIFY2(text.contains("\r\n" + line + "\r\n"), line.constData());
        // Empty ids leave their lines out.
        QCOMPARE(text.contains("HFGIDGLIDERID"), !profile.gliderId.isEmpty());
        QCOMPARE(text.contains("HFCIDCOMPETITIONID"), !profile.competitionId.isEmpty());
        QCOMPARE(text.contains("HFCIV"), !profile.civlId.isEmpty());
        // Read back as written.
        QCOMPARE(ParseIgc(text, QStringLiteral("x.igc")).civlId, profile.civlId);
        for (char c : text) QVERIFY(c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F));
    }

    void pilotProfile_takenFromTheInstalledSource() {
        SetPilotProfileSource([] { return TPilotProfile{"From Store", "Glider", {}, {}, {}}; });
        const TTrackFileOptions options;
        SetPilotProfileSource({});
        QCOMPARE(options.pilot.pilot, QStringLiteral("From Store"));
        QCOMPARE(TTrackFileOptions().pilot, TPilotProfile{});
    }

    void positionRounding_wholeMinutesAndDegreesCarry_data() {
        QTest::addColumn<float>("lat");
        QTest::addColumn<float>("lon");
        QTest::addColumn<QByteArray>("position");
        const float belowFortySix = std::nextafter(46.0f, 0.0f);  // 45°59.99977'
        QTest::newRow("minutes round up into the next degree")
            << belowFortySix << -belowFortySix << QByteArray("4600000N04600000W");
        QTest::newRow("a whisker south and west of zero is zero, north and east")
            << -1e-7f << -1e-7f << QByteArray("0000000N00000000E");
        QTest::newRow("the south pole and just short of the date line")
            << -90.0f << -179.99998f << QByteArray("9000000S17959999W");
    }
    void positionRounding_wholeMinutesAndDegreesCarry() {
        QFETCH(float, lat);
        QFETCH(float, lon);
        QFETCH(QByteArray, position);
        QCOMPARE(BRecord(lat, lon).mid(7, 17), position);
    }

    void altitude_fiveCharactersWithSign_data() {
        QTest::addColumn<int>("metres");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("zero") << 0 << QByteArray("00000");
        QTest::newRow("below the sea") << -5 << QByteArray("-0005");
        QTest::newRow("highest the record holds") << 32767 << QByteArray("32767");
        QTest::newRow("lowest that fits") << -9999 << QByteArray("-9999");
        QTest::newRow("lower, held at the lowest") << -32768 << QByteArray("-9999");
    }
    void altitude_fiveCharactersWithSign() {
        QFETCH(int, metres);
        QFETCH(QByteArray, field);
        const QByteArray b = BRecord(1.0f, 1.0f, metres);
        QCOMPARE(b.size(), 35);
        QCOMPARE(b.mid(24, 6), QByteArray("A00000"));
        QCOMPARE(b.mid(30), field);
    }

    void generatedTrack_sameFixesAsGpxInSameOrder() {
        std::vector<device::GpsListEntry> gps;
        for (int i = 0; i < 300; ++i) {
            float lat = -95.0f + 0.65f * float(i), lon = -200.0f + 1.4f * float(i);
            if (i % 17 == 0) lat = NaN;
            if (i % 23 == 0) lon = std::numeric_limits<float>::infinity();
            gps.push_back(Gps(Time(2024, 7, 1, 12, 0, 0) + i, i, lat, lon));
        }
        const std::string gpx = GpxText(gps);
        const QList<QByteArray> b = Lines(IgcText(FlightFixes(gps)), 'B');
        int points = 0;
        for (std::size_t at = gpx.find("<trkpt "); at != std::string::npos;
             at = gpx.find("<trkpt ", at + 1))
            ++points;
        QVERIFY(points > 100);
        QCOMPARE(int(b.size()), points);
        // The altitude numbers the points: both files keep the same ones.
        const std::size_t firstEle = gpx.find("<ele>") + 5;
        QCOMPARE(b.front().mid(30, 5).toInt(),
                 std::stoi(gpx.substr(firstEle, gpx.find('<', firstEle) - firstEle)));
    }

    void writeTrackFiles_igcBesideGpxUnlessLeftOut() {
        QTemporaryDir dir;
        device::TrackSnapshot lists;
        lists.gps = SmallDownload();
        struct : TMemoSink {
            void Clear() override {}
            void AddLine(const QString&) override {}
        } memo;
        WriteTrackFiles(12, lists, memo, dir.path(), {false, {}});
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("Track12.gpx"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Track12.igc"))));
        WriteTrackFiles(12, lists, memo, dir.path(), {true, {102, 311}});
        QFile igc(dir.filePath(QStringLiteral("Track12.igc")));
        QVERIFY(igc.open(QIODevice::ReadOnly));
        QCOMPARE(igc.readAll(), IgcText(FlightFixes(lists.gps), {102, 311}));
    }

    void gpsbabel_readsEveryFixBackWithTheDayWrap() {
        const QString gpsbabel = QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));
        if (gpsbabel.isEmpty()) QSKIP("gpsbabel is not installed (scripts/install-deps adds it)");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Track12.igc"));
        device::WriteFileSafely(path, IgcText(FlightFixes(SmallDownload()), {102, 311}));
        QProcess p;
        p.start(gpsbabel, {QStringLiteral("-t"), QStringLiteral("-i"), QStringLiteral("igc"),
                           QStringLiteral("-f"), path, QStringLiteral("-o"),
                           QStringLiteral("unicsv"), QStringLiteral("-F"), QStringLiteral("-")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        const QList<QByteArray> rows = p.readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(rows.size(), 1 + 5);  // a header row, then the fixes
        QVERIFY2(rows[2].contains("-33.865000,-70.500000,-12.0,2024/06/07,09:05:04"),
                 rows[2].constData());
        // Where the time goes back the reader counts a new day.
        QVERIFY2(rows[4].contains("1.500000,-0.250000,5.0,2024/06/08,00:00:00"),
                 rows[4].constData());
        QVERIFY2(rows[5].contains("2024/06/08,00:00:01"), rows[5].constData());
    }
};

QTEST_GUILESS_MAIN(TestIgcExport)
#include "tst_igcexport.moc"
