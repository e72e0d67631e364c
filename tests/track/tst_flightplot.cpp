// Reading GPX files written by other programs, refusing what is no GPX file,
// and the picture of a flight drawn from them.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <thread>

#include "TrackEntries.h"
#include "device/AppError.h"
#include "track/FlightPlot.h"
#include "track/GpxReader.h"
#include "track/TrackExport.h"
#include "track/TrackFileReader.h"

using namespace track;

namespace {

QString Data(const char* name) { return QStringLiteral(TOLMARIK_TEST_DATA "/") + name; }

// The error text of reading `path`, empty when it was read.
QString ReadError(const QString& path) {
    try {
        ReadGpxFile(path);
    } catch (const device::TAppError& e) {
        return e.Text();
    }
    return {};
}

std::vector<TFlightFix> Parsed(const QByteArray& document) {
    std::vector<TCheckedTrack> flights = ParseGpx(document, QStringLiteral("test.gpx"));
    return flights.empty() ? std::vector<TFlightFix>() : std::move(flights.front().fixes);
}

// Pixels of roughly `colour` in `area` of the image.
int CountColour(const QImage& image, const QRect& area, QColor colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <
                40)
                ++count;
        }
    return count;
}

const QColor TrackBlue(0x1F, 0x4E, 0xA8);
const QColor TakeOffGreen(0x1B, 0x8A, 0x2E);
const QColor PeakRed(0xC0, 0x1E, 0x1E);

}  // namespace

class TestFlightPlot : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void gpsbabelFile_everyPointWithItsValues() {
        const std::vector<TFlightFix> fixes = ReadTrackFile(Data("gpsbabel-flight.gpx"));
        QCOMPARE(int(fixes.size()), 40);
        QCOMPARE(fixes[0].latitude, 43.9);
        QCOMPARE(fixes[0].longitude, -71.494);
        QCOMPARE(fixes[0].altitude, 620.0);
        QVERIFY(fixes[0].hasTime);
        QCOMPARE(fixes[0].time, tracktest::Time(2024, 6, 7, 9, 5, 3));
        QCOMPARE(fixes[39].time, tracktest::Time(2024, 6, 7, 9, 18, 3));
    }

    void prefixedNamesAndExtensions_pointsOfEveryTrackAndSegment() {
        const std::vector<TCheckedTrack> flights =
            ReadTrackFileDetails(Data("prefixed-extensions.gpx")).flights;
        // The waypoint and the point with a broken latitude are not read; the
        // point without the flight's altitude is read and left out by the
        // checks; the untimed second track is a flight of its own.
        QCOMPARE(int(flights.size()), 2);
        QCOMPARE(int(flights[0].recorded.size()), 3);
        QVERIFY(std::isnan(flights[0].recorded[1].altitude));
        QCOMPARE(flights[0].leftOut, 1);
        const std::vector<TFlightFix>& fixes = flights[0].fixes;
        QCOMPARE(int(fixes.size()), 2);
        QCOMPARE(fixes[0].latitude, -33.865);
        QCOMPARE(fixes[0].altitude, 35.4);
        QCOMPARE(fixes[0].time, tracktest::Time(2024, 2, 29, 23, 0, 0));  // +11:00 taken off
        QCOMPARE(fixes[1].latitude, -33.863);  // blanks around the number
        QCOMPARE(fixes[1].altitude, -4.0);
        QCOMPARE(int(flights[1].fixes.size()), 1);
        QVERIFY(!flights[1].fixes[0].hasTime);
    }

    void routeOnly_routePointsTaken() {
        const auto fixes = Parsed(
            "<gpx xmlns='http://www.topografix.com/GPX/1/0' version='1.0'><rte>"
            "<rtept lat='1' lon='2'><ele>4</ele></rtept><rtept lat='3' lon='4'><ele>5</ele></rtept>"
            "</rte></gpx>");
        QCOMPARE(int(fixes.size()), 2);
        QCOMPARE(fixes[1].altitude, 5.0);
    }

    void notGpx_clearMessage_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("plain text") << QByteArray("lat,lon\n1,2\n");
        QTest::newRow("another XML document") << QByteArray("<kml><Placemark/></kml>");
        QTest::newRow("GPX cut short") << QByteArray("<gpx><trk><trkseg><trkpt lat='1' lon='2'>");
    }
    void notGpx_clearMessage() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("flight.gpx"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        QCOMPARE(ReadError(path), QStringLiteral("Файл \"%1\" не является файлом GPX")
                                      .arg(QDir::toNativeSeparators(path)));
    }

    void notRegularFile_refusedWithoutOpening_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("pipe") << QStringLiteral("fifo");
        QTest::newRow("folder") << QStringLiteral("dir");
#ifndef Q_OS_WIN
        QTest::newRow("device") << QStringLiteral("/dev/zero");
#endif
    }
    void notRegularFile_refusedWithoutOpening() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = kind;
        if (kind == QLatin1String("fifo")) {
#ifdef Q_OS_WIN
            QSKIP("Windows has no FIFOs among its files");
#else
            // Nobody writes into it: opening it for reading would wait forever.
            path = dir.filePath(QStringLiteral("flight.gpx"));
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
        } else if (kind == QLatin1String("dir")) {
            path = dir.path();
        }
        // Refused at once (a pipe nobody writes into would hang an open),
        // naming the file.
        const QString error = ReadError(path);
        QVERIFY2(error.startsWith(QStringLiteral("Не удалось открыть файл \"%1\": это ")
                                      .arg(QDir::toNativeSeparators(path))),
                 qPrintable(error));
    }

    void missingFile_systemReason() {
        const QString path = QStringLiteral("/nonexistent/flight.gpx");
        const QString error = ReadError(path);
        QVERIFY2(error.startsWith(QStringLiteral("Не удалось открыть файл \"%1\": ")
                                      .arg(QDir::toNativeSeparators(path))),
                 qPrintable(error));
    }

    void plot_drawsTrackMarkersAndPeakInTheirPanels() {
        const std::vector<TFlightFix> fixes = ReadTrackFile(Data("gpsbabel-flight.gpx"));
        const QImage image = RenderFlightPlot(fixes);
        QCOMPARE(image.size(), DefaultFlightPlotSize);
        const int w = image.width(), h = image.height();
        const QRect left(0, 0, w * 45 / 100, h), right(w / 2, 0, w - w / 2, h);
        QVERIFY(CountColour(image, left, TrackBlue) > 200);    // the ground track
        QVERIFY(CountColour(image, left, TakeOffGreen) > 20);  // take-off marker and label
        QVERIFY(CountColour(image, right, TrackBlue) > 200);   // the barogram
        QVERIFY(CountColour(image, right, PeakRed) > 20);      // the greatest altitude
        QCOMPARE(CountColour(image, right, TakeOffGreen), 0);
    }

    void plot_degenerateInput_rendersWithoutFailing_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("altitude");
        QTest::addColumn<bool>("time");
        QTest::newRow("no point") << 0 << true << true;
        QTest::newRow("one point") << 1 << true << true;
        QTest::newRow("one place, many times") << 50 << true << true;
        QTest::newRow("no altitudes") << 10 << false << true;
        QTest::newRow("no times") << 10 << true << false;
    }
    void plot_degenerateInput_rendersWithoutFailing() {
        QFETCH(int, count);
        QFETCH(bool, altitude);
        QFETCH(bool, time);
        std::vector<TFlightFix> fixes;
        for (int i = 0; i < count; ++i) {
            TFlightFix f;
            f.latitude = 55.75;
            f.longitude = 37.61;
            if (altitude) f.altitude = 150;
            f.hasTime = time;
            f.time = tracktest::Time(2024, 6, 7, 9, 5, 3) + i;
            fixes.push_back(f);
        }
        const QImage image = RenderFlightPlot(fixes, QSize(640, 400));
        QCOMPARE(image.size(), QSize(640, 400));
        const QRect left(0, 0, 280, 400);
        QCOMPARE(CountColour(image, left, TakeOffGreen) > 0, count > 0);
    }

    void plot_timeGoingBack_barogramOverPointNumbers() {
        // A sector without a date restarts the time; the picture must not
        // spread the flight over the months in between.
        std::vector<device::GpsListEntry> gps;
        for (int i = 0; i < 20; ++i)
            gps.push_back(tracktest::Gps(tracktest::Time(2024, 6, 7, 9, 5, 3) + i, 100 + i,
                                         55.75f + 0.001f * float(i), 37.61f));
        for (int i = 0; i < 20; ++i)
            gps.push_back(tracktest::Gps(device::FallbackTrackTime() + i, 120 - i,
                                         55.77f - 0.001f * float(i), 37.62f));
        std::vector<TFlightFix> untimed = FlightFixes(gps);
        for (TFlightFix& f : untimed) f.hasTime = false;
        const QRect barogram(DefaultFlightPlotSize.width() / 2, DefaultFlightPlotSize.height() / 8,
                             DefaultFlightPlotSize.width() / 2,
                             DefaultFlightPlotSize.height() * 7 / 8);
        const QImage restarted = RenderFlightPlot(FlightFixes(gps)).copy(barogram);
        QCOMPARE(restarted, RenderFlightPlot(untimed).copy(barogram));
        QVERIFY(CountColour(restarted, restarted.rect(), TrackBlue) > 200);
    }

    // A cut-off track is labelled at its end, not as landed: only the ground
    // track panel's end label differs.
    void plot_cutTrack_endLabelledOtherwise() {
        const std::vector<TFlightFix> fixes = ReadTrackFile(Data("gpsbabel-flight.gpx"));
        const QImage landed = RenderFlightPlot(fixes, QSize(800, 500), TTrackEnd::Landing);
        const QImage cut = RenderFlightPlot(fixes, QSize(800, 500), TTrackEnd::Cut);
        QVERIFY(landed != cut);
        const QRect barogram(440, 0, 360, 500);
        QCOMPARE(cut.copy(barogram), landed.copy(barogram));
    }

    void plot_onWorkerThread_sameImage() {
        const std::vector<TFlightFix> fixes = ReadTrackFile(Data("gpsbabel-flight.gpx"));
        QImage onWorker;
        std::thread worker([&] { onWorker = RenderFlightPlot(fixes, QSize(800, 500)); });
        worker.join();
        QCOMPARE(onWorker, RenderFlightPlot(fixes, QSize(800, 500)));
    }
};

QTEST_MAIN(TestFlightPlot)
#include "tst_flightplot.moc"
