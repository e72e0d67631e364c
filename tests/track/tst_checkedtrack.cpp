// The fixes every reader of a flight takes: real-shaped faults of IGC and GPX
// files (V fixes, spikes, a 0,0 glitch, a jump, out-of-order points, several
// tracks, midnight) and what is left of them.
#include <QTest>
#include <cmath>

#include "TrackEntries.h"
#include "device/AppError.h"
#include "track/CheckedTrack.h"
#include "track/FlightPhases.h"
#include "track/GpxReader.h"
#include "track/IgcReader.h"

using namespace track;

Q_DECLARE_METATYPE(track::TAltitudeSource)

namespace {

struct TB {
    int second = 0;  // of the day
    double lat = 45.5, lon = 6.2;
    char validity = 'A';
    int pressure = 0, gnss = 0;
};

QByteArray Angle(double value, int degreeDigits, char positive, char negative) {
    const double a = std::fabs(value);
    const int degrees = int(a);
    const int thousandths = int(std::lround((a - degrees) * 60000));
    return QByteArray::number(degrees).rightJustified(degreeDigits, '0') +
           QByteArray::number(thousandths).rightJustified(5, '0') +
           (value < 0 ? negative : positive);
}

QByteArray Alt(int metres) {
    return metres < 0 ? '-' + QByteArray::number(-metres).rightJustified(4, '0')
                      : QByteArray::number(metres).rightJustified(5, '0');
}

QByteArray Igc(const std::vector<TB>& records) {
    QByteArray text = "AXTK102\r\nHFDTE070624\r\n";
    for (const TB& b : records) {
        const int s = ((b.second % 86400) + 86400) % 86400;
        text += 'B' + QByteArray::number(s / 3600).rightJustified(2, '0') +
                QByteArray::number(s / 60 % 60).rightJustified(2, '0') +
                QByteArray::number(s % 60).rightJustified(2, '0') + Angle(b.lat, 2, 'N', 'S') +
                Angle(b.lon, 3, 'E', 'W') + b.validity + Alt(b.pressure) + Alt(b.gnss) + "\r\n";
    }
    return text;
}

// A climb of 1 m/s heading north at 10 m/s from 10:00, one fix a second.
std::vector<TB> Climb(int seconds, int pressureFrom = 900, int gnssOffset = 130) {
    std::vector<TB> records;
    for (int i = 0; i < seconds; ++i) {
        TB b;
        b.second = 36000 + i;
        b.lat = 45.5 + i * 10 / 111195.0;
        b.pressure = pressureFrom + i;
        b.gnss = b.pressure + gnssOffset;
        records.push_back(b);
    }
    return records;
}

double Highest(const std::vector<TFlightFix>& fixes) { return HighestAltitude(fixes); }

double Fastest10s(const std::vector<TFlightFix>& fixes) {
    TFlightSpan all;
    all.landing = fixes.size() - 1;
    return ClimbExtremes(fixes, all).climb10s;
}

QByteArray Gpx(const QList<QList<QByteArray>>& tracks) {
    QByteArray doc = "<?xml version=\"1.0\"?><gpx version=\"1.1\" creator=\"t\">";
    for (const QList<QByteArray>& points : tracks) {
        doc += "<trk><trkseg>";
        for (const QByteArray& p : points) doc += p;
        doc += "</trkseg></trk>";
    }
    return doc + "</gpx>";
}

QByteArray Point(double lat, double lon, const QByteArray& time) {
    QByteArray p = "<trkpt lat=\"" + QByteArray::number(lat, 'f', 6) + "\" lon=\"" +
                   QByteArray::number(lon, 'f', 6) + "\"><ele>500</ele>";
    if (!time.isEmpty()) p += "<time>" + time + "</time>";
    return p + "</trkpt>";
}

// One point a second from `start` ("2024-06-07T10:00:"), `count` of them.
QList<QByteArray> Minute(const QByteArray& day, int hour, int count, double lat = 45.5) {
    QList<QByteArray> points;
    for (int i = 0; i < count; ++i)
        points << Point(lat + i * 0.0001, 6.2,
                        day + 'T' + QByteArray::number(hour).rightJustified(2, '0') +
                            ":00:" + QByteArray::number(i).rightJustified(2, '0') + 'Z');
    return points;
}

}  // namespace

class TestCheckedTrack : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void igcFaults_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<TAltitudeSource>("source");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("leftOut");
        QTest::addColumn<double>("highest");
        QTest::addColumn<double>("maxClimb10s");  // at most

        QTest::newRow("pressure and GNSS: the pressure series throughout")
            << Igc(Climb(100)) << TAltitudeSource::Pressure << 100 << 0 << 999.0 << 1.01;
        {
            // Every tenth fix "V" with its pressure altitude and no GNSS one:
            // mixing them gave 130 m/s.
            std::vector<TB> r = Climb(100);
            for (std::size_t i = 5; i < r.size(); i += 10) {
                r[i].validity = 'V';
                r[i].gnss = 0;
            }
            QTest::newRow("V fixes among A fixes: one series, no false climb")
                << Igc(r) << TAltitudeSource::Pressure << 100 << 0 << 999.0 << 1.01;
        }
        {
            // A phone without a barometer: a V fix has no altitude to give.
            std::vector<TB> r = Climb(100, 0, 1000);
            for (TB& b : r) b.gnss = 1000 + (b.second - 36000), b.pressure = 0;
            r[50].validity = 'V';
            r[50].gnss = 4000;
            QTest::newRow("GNSS only: a V fix left out")
                << Igc(r) << TAltitudeSource::Gnss << 99 << 1 << 1099.0 << 1.01;
        }
        {
            std::vector<TB> r = Climb(100);
            r[40].pressure += 2600;
            QTest::newRow("one-fix altitude spike of +2600 m left out")
                << Igc(r) << TAltitudeSource::Pressure << 99 << 1 << 999.0 << 1.01;
        }
        {
            std::vector<TB> r = Climb(100);
            r[60].lat = 0, r[60].lon = 0;
            QTest::newRow("a glitch at 0°N 0°E left out")
                << Igc(r) << TAltitudeSource::Pressure << 99 << 1 << 999.0 << 1.01;
        }
        {
            std::vector<TB> r = Climb(100);
            for (int i = 0; i < 3; ++i) r[20 + i].lon += 0.5;  // 39 km away for 3 s
            QTest::newRow("three fixes 39 km away left out")
                << Igc(r) << TAltitudeSource::Pressure << 97 << 3 << 999.0 << 1.01;
        }
        {
            std::vector<TB> r = Climb(100);
            r[0].lat = -33.0;
            QTest::newRow("a first fix on another continent left out")
                << Igc(r) << TAltitudeSource::Pressure << 99 << 1 << 999.0 << 1.01;
        }
        {
            // A receiver that found itself 2 km off and stayed: half the
            // flight is no glitch and nothing is thrown away.
            std::vector<TB> r = Climb(100);
            for (std::size_t i = 50; i < r.size(); ++i) r[i].lon += 0.026;
            QTest::newRow("a lasting jump keeps both halves")
                << Igc(r) << TAltitudeSource::Pressure << 100 << 0 << 999.0 << 1.01;
        }
    }

    void igcFaults() {
        QFETCH(QByteArray, text);
        QFETCH(TAltitudeSource, source);
        QFETCH(int, count);
        QFETCH(int, leftOut);
        QFETCH(double, highest);
        QFETCH(double, maxClimb10s);
        const TIgcFlight flight = ParseIgc(text, QStringLiteral("f.igc"));
        QCOMPARE(flight.altitude, source);
        QCOMPARE(int(flight.fixes.size()), count);
        QCOMPARE(flight.leftOut, leftOut);
        QCOMPARE(Highest(flight.fixes), highest);
        QVERIFY2(Fastest10s(flight.fixes) <= maxClimb10s,
                 qPrintable(QString::number(Fastest10s(flight.fixes))));
        for (std::size_t i = 1; i < flight.fixes.size(); ++i)
            QVERIFY(flight.fixes[i].time > flight.fixes[i - 1].time);
    }

    void igcDays_data() {
        QTest::addColumn<QList<int>>("seconds");  // of the day, as written
        QTest::addColumn<qint64>("first");        // from 2024-06-07 00:00 UTC
        QTest::addColumn<qint64>("last");

        QTest::newRow("across midnight")
            << QList<int>{86398, 86399, 0, 1} << qint64(86398) << qint64(86401);
        // 17:00 then 10:00: the same day out of order, not a 17-hour flight.
        QTest::newRow("seven hours back is the same day")
            << QList<int>{61200, 61201, 36000, 36001} << qint64(36000) << qint64(61201);
        QTest::newRow("a glitch back over midnight stays on its day")
            << QList<int>{86398, 0, 86399, 1, 2} << qint64(86398) << qint64(86402);
        QTest::newRow("a short step back takes its place")
            << QList<int>{36005, 36003, 36006} << qint64(36003) << qint64(36006);
    }

    void igcDays() {
        QFETCH(QList<int>, seconds);
        QFETCH(qint64, first);
        QFETCH(qint64, last);
        std::vector<TB> records;
        for (int s : seconds) records.push_back({s, 45.5, 6.2, 'A', 500, 520});
        const TIgcFlight flight = ParseIgc(Igc(records), QStringLiteral("f.igc"));
        const device::TrackTime day = tracktest::Time(2024, 6, 7, 0, 0, 0);
        QCOMPARE(flight.fixes.front().time - day, first);
        QCOMPARE(flight.fixes.back().time - day, last);
        QCOMPARE(int(flight.fixes.size()), int(seconds.size()));
    }

    void gpxFlights_data() {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QList<int>>("counts");  // fixes of each flight

        QTest::newRow("two tracks three days apart are two flights")
            << Gpx({Minute("2024-06-07", 10, 30), Minute("2024-06-10", 10, 40)})
            << QList<int>{30, 40};
        QList<QByteArray> second = Minute("2024-06-07", 10, 60).mid(30);
        QTest::newRow("a track on within seconds goes on with the flight")
            << Gpx({Minute("2024-06-07", 10, 30), second}) << QList<int>{60};
        QTest::newRow("the same flight as two tracks of one time is read once")
            << Gpx({Minute("2024-06-07", 10, 30), Minute("2024-06-07", 10, 30)}) << QList<int>{30};
        QList<QByteArray> shuffled = Minute("2024-06-07", 10, 40);
        std::reverse(shuffled.begin() + 10, shuffled.begin() + 30);
        QTest::newRow("points out of time order are sorted") << Gpx({shuffled}) << QList<int>{40};
        QTest::newRow("no point, no flight") << Gpx({}) << QList<int>{};
    }

    void gpxFlights() {
        QFETCH(QByteArray, document);
        QFETCH(QList<int>, counts);
        const std::vector<TCheckedTrack> flights = ParseGpx(document, QStringLiteral("f.gpx"));
        QCOMPARE(int(flights.size()), int(counts.size()));
        for (std::size_t i = 0; i < flights.size(); ++i) {
            QCOMPARE(int(flights[i].fixes.size()), counts[int(i)]);
            QCOMPARE(flights[i].altitude, TAltitudeSource::Gnss);
            for (std::size_t k = 1; k < flights[i].fixes.size(); ++k)
                QVERIFY(flights[i].fixes[k].time > flights[i].fixes[k - 1].time);
        }
    }

    void gpxWithoutOrderIsRefused() {
        QList<QByteArray> points = Minute("2024-06-07", 10, 10);
        std::swap(points[2], points[6]);
        points.insert(4, Point(45.5, 6.2, {}));
        QVERIFY_THROWS_EXCEPTION(device::TAppError,
                                 ParseGpx(Gpx({points}), QStringLiteral("f.gpx")));
    }

    void untimedPointsAreKeptInFileOrder() {
        const QList<QByteArray> points{Point(45.5, 6.2, {}), Point(45.6, 6.2, {}), Point(0, 0, {}),
                                       Point(45.7, 6.2, {})};
        const std::vector<TCheckedTrack> flights = ParseGpx(Gpx({points}), QStringLiteral("f"));
        QCOMPARE(int(flights.size()), 1);
        QCOMPARE(int(flights[0].fixes.size()), 3);
        QCOMPARE(flights[0].leftOut, 1);
        QCOMPARE(flights[0].fixes[2].latitude, 45.7);
    }
};

QTEST_GUILESS_MAIN(TestCheckedTrack)
#include "tst_checkedtrack.moc"
