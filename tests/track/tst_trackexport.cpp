// The texts of the track files: coordinates, the GPX document and ENX lines.
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>

#include "TrackEntries.h"
#include "track/TrackExport.h"

using namespace track;
using namespace tracktest;

namespace {

const std::string Head =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\" creator=\"Nomtrack\" version=\"1.1\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\r\n"
    "\t<trk>\r\n"
    "\t\t<name>Track 4</name>\r\n"
    "\t\t<desc>Track 4</desc>\r\n";
const std::string Tail =
    "\t</trk>\r\n"
    "</gpx>\r\n";
const std::string EmptySegment = Head + "\t\t<trkseg/>\r\n" + Tail;

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// A C locale whose decimal separator is ','. When none is installed, one is
// compiled into `dir` from the system's locale sources.
bool SetCommaLocale(const QTemporaryDir& dir) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "ru_RU.UTF-8", "fr_FR.UTF-8"}) {
        if (std::setlocale(LC_ALL, name)) return true;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("localedef")).isEmpty()) return false;
    QProcess::execute(QStringLiteral("localedef"),
                      {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                       QStringLiteral("UTF-8"), dir.filePath(QStringLiteral("de_DE.UTF-8"))});
    qputenv("LOCPATH", QFile::encodeName(dir.path()));
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

}  // namespace

class TestTrackExport : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void cleanup() {
        std::setlocale(LC_ALL, "C");
        qunsetenv("LOCPATH");
        QLocale::setDefault(QLocale::c());
    }

    // --- coordinate text

    void coordinateText_value_fifteenDigitsFixed_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("stored 55.751234") << 55.751234f << "55.7512321472168";
        QTest::newRow("negative") << -33.86882f << "-33.8688201904297";
        QTest::newRow("three integer digits") << 151.209296f << "151.209289550781";
        QTest::newRow("zero") << 0.0f << "0";
        QTest::newRow("negative zero") << -0.0f << "0";
        QTest::newRow("whole") << 45.0f << "45";
        QTest::newRow("trailing zeros dropped") << -0.5f << "-0.5";
        QTest::newRow("tenth") << 0.1f << "0.100000001490116";
        QTest::newRow("below 0.0001, no exponent") << 1e-5f << "0.00000999999974737875";
        QTest::newRow("tiny negative") << -3e-7f << "-0.000000300000010611257";
        QTest::newRow("more than 15 integer digits") << 1e20f << "100000002004088000000";
        QTest::newRow("rounded integer") << 123456789.0f << "123456792";
        QTest::newRow("smallest subnormal")
            << std::numeric_limits<float>::denorm_min()
            << "0.00000000000000000000000000000000000000000000140129846432482";
    }
    void coordinateText_value_fifteenDigitsFixed() {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(CoordinateText(value)), text);
    }

    void coordinateText_commaLocale_pointSeparator() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        if (!SetCommaLocale(dir)) QSKIP("no locale with a decimal comma on this machine");
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        QCOMPARE(QByteArray(probe), QByteArray("1,5"));  // the locale is in force

        QCOMPARE(QString::fromStdString(CoordinateText(55.751234f)),
                 QStringLiteral("55.7512321472168"));
        const std::string gpx = GpxText({Gps(Time(2024, 1, 1, 0, 0, 0), 0, -0.5f, 1e-5f)});
        QVERIFY(gpx.find("lat=\"-0.5\" lon=\"0.00000999999974737875\"") != std::string::npos);
    }

    // --- GPX document

    void gpxText_points_exactDocument_data() {
        QTest::addColumn<std::vector<device::GpsListEntry>>("points");
        QTest::addColumn<std::string>("document");
        const device::TrackTime t = Time(2024, 6, 7, 9, 5, 3);
        QTest::newRow("none") << std::vector<device::GpsListEntry>{} << EmptySegment;
        QTest::newRow("all NaN") << std::vector{Gps(t, 5, NaN, 37.0f), Gps(t, 5, 55.0f, NaN)}
                                 << EmptySegment;
        QTest::newRow("one") << std::vector{Gps(t, 212, 55.751234f, 37.617298f)}
                             << Head +
                                    "\t\t<trkseg>\r\n"
                                    "\t\t\t<trkpt lat=\"55.7512321472168\" "
                                    "lon=\"37.6172981262207\">\r\n"
                                    "\t\t\t\t<ele>212</ele>\r\n"
                                    "\t\t\t\t<time>2024-06-07T09:05:03Z</time>\r\n"
                                    "\t\t\t</trkpt>\r\n"
                                    "\t\t</trkseg>\r\n" +
                                    Tail;
        QTest::newRow("two, zero latitude, negative and zero altitude")
            << std::vector{Gps(t, -15, 0.0f, 151.209296f), Gps(t + 1, 0, -33.86882f, -0.5f)}
            << Head +
                   "\t\t<trkseg>\r\n"
                   "\t\t\t<trkpt lat=\"0\" lon=\"151.209289550781\">\r\n"
                   "\t\t\t\t<ele>-15</ele>\r\n"
                   "\t\t\t\t<time>2024-06-07T09:05:03Z</time>\r\n"
                   "\t\t\t</trkpt>\r\n"
                   "\t\t\t<trkpt lat=\"-33.8688201904297\" lon=\"-0.5\">\r\n"
                   "\t\t\t\t<ele>0</ele>\r\n"
                   "\t\t\t\t<time>2024-06-07T09:05:04Z</time>\r\n"
                   "\t\t\t</trkpt>\r\n"
                   "\t\t</trkseg>\r\n" +
                   Tail;
    }
    void gpxText_points_exactDocument() {
        QFETCH(std::vector<device::GpsListEntry>, points);
        QFETCH(std::string, document);
        QCOMPARE(QByteArray::fromStdString(GpxText(points)), QByteArray::fromStdString(document));
    }

    void gpxText_unusableCoordinate_pointLeftOut_data() {
        QTest::addColumn<float>("lat");
        QTest::addColumn<float>("lon");
        QTest::newRow("NaN latitude") << NaN << 10.0f;
        QTest::newRow("NaN longitude") << 10.0f << NaN;
        QTest::newRow("infinite latitude") << Inf << 10.0f;
        QTest::newRow("negative infinite longitude") << 10.0f << -Inf;
        QTest::newRow("latitude beyond the pole") << 90.5f << 10.0f;
        QTest::newRow("longitude below -180") << 10.0f << -180.5f;
        QTest::newRow("longitude huge") << 10.0f << 3e30f;
    }
    void gpxText_unusableCoordinate_pointLeftOut() {
        QFETCH(float, lat);
        QFETCH(float, lon);
        const device::TrackTime t = Time(2024, 1, 1, 0, 0, 0);
        const std::string gpx = GpxText({Gps(t, 1, lat, lon), Gps(t + 1, 2, 1.5f, 2.5f)});
        QCOMPARE(Count(gpx, "<trkpt "), 1);
        QVERIFY(gpx.find("<trkpt lat=\"1.5\" lon=\"2.5\">") != std::string::npos);
        QVERIFY(gpx.find("<ele>1</ele>") == std::string::npos);
    }

    void gpxText_boundaryCoordinates_keptInRange() {
        const device::TrackTime t = Time(2024, 1, 1, 0, 0, 0);
        const std::string gpx = GpxText({Gps(t, 0, 90.0f, -180.0f), Gps(t, 0, -90.0f, 180.0f)});
        QVERIFY(gpx.find("<trkpt lat=\"90\" lon=\"-180\">") != std::string::npos);
        // 180 east is the same meridian as 180 west, which is the form GPX allows.
        QVERIFY(gpx.find("<trkpt lat=\"-90\" lon=\"-180\">") != std::string::npos);
    }

    // --- ENX text

    void enxText_entries_oneCrLfLineEach_data() {
        QTest::addColumn<std::vector<device::EngListEntry>>("entries");
        QTest::addColumn<std::string>("text");
        QTest::newRow("none") << std::vector<device::EngListEntry>{} << std::string();
        QTest::newRow("example") << std::vector{Eng(Time(2024, 1, 1, 0, 0, 7), 3, 1013, 65535)}
                                 << std::string("2024-01-01T00:00:07Z;3;1013;65535\r\n");
        QTest::newRow("two, extremes")
            << std::vector{Eng(Time(2023, 12, 31, 23, 59, 59), 255, 0, 1),
                           Eng(Time(2024, 1, 1, 0, 0, 0), 0, 65535, 0)}
            << std::string("2023-12-31T23:59:59Z;255;0;1\r\n2024-01-01T00:00:00Z;0;65535;0\r\n");
    }
    void enxText_entries_oneCrLfLineEach() {
        QFETCH(std::vector<device::EngListEntry>, entries);
        QFETCH(std::string, text);
        QCOMPARE(QByteArray::fromStdString(EnxText(entries)), QByteArray::fromStdString(text));
    }
};

QTEST_GUILESS_MAIN(TestTrackExport)
#include "tst_trackexport.moc"
