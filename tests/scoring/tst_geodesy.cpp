#include <QTest>
#include <random>

#include "scoring/Geodesy.h"
#include "tests/scoring/Vincenty.h"

class TstGeodesy : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // The documented bound against Vincenty's method, over random pairs of
    // each length class anywhere between the polar circles and beyond.
    void withinBoundOfVincenty_data() {
        QTest::addColumn<double>("shortest");
        QTest::addColumn<double>("longest");
        QTest::newRow("a few metres: fixes of one thermal") << 1.0 << 100.0;
        QTest::newRow("up to 10 km: a closing distance") << 100.0 << 1e4;
        QTest::newRow("up to 200 km: a leg") << 1e4 << 2e5;
        QTest::newRow("up to 2000 km: a record leg") << 2e5 << 2e6;
    }
    void withinBoundOfVincenty() {
        QFETCH(double, shortest);
        QFETCH(double, longest);
        std::mt19937 random(11);
        std::uniform_real_distribution<double> unit(0, 1);
        double worstExcess = -1;
        for (int n = 0; n < 20000; ++n) {
            const double lat = -80 + 160 * unit(random), lon = -180 + 360 * unit(random);
            const double length = shortest * std::pow(longest / shortest, unit(random));
            const double azimuth = 2 * M_PI * unit(random);
            const double lat2 = lat + length * std::cos(azimuth) / 111000;
            const double lon2 =
                lon + length * std::sin(azimuth) / (111000 * std::cos(lat * M_PI / 180));
            if (std::fabs(lat2) > 89) continue;
            const double reference = testgeo::VincentyDistance(lat, lon, lat2, lon2);
            const double error =
                std::fabs(scoring::EllipsoidDistance(lat, lon, lat2, lon2) - reference);
            const double allowed =
                scoring::DistanceErrorMetres + scoring::DistanceErrorRatio * reference;
            worstExcess = std::max(worstExcess, error - allowed);
        }
        QVERIFY2(worstExcess <= 0, qPrintable(QString::number(worstExcess)));
    }

    // The bounds of the search lean on the triangle inequality of the
    // distance itself: its defect stays within the documented bound, worst on
    // nearly straight triples (a turnpoint sliding along a leg).
    void triangleDefectWithinBound_data() {
        QTest::addColumn<double>("shortest");
        QTest::addColumn<double>("longest");
        QTest::newRow("up to 10 km") << 10.0 << 1e4;
        QTest::newRow("up to 200 km") << 1e4 << 2e5;
        QTest::newRow("up to 2000 km") << 2e5 << 2e6;
    }
    void triangleDefectWithinBound() {
        QFETCH(double, shortest);
        QFETCH(double, longest);
        std::mt19937 random(5);
        std::uniform_real_distribution<double> unit(0, 1);
        double worstExcess = -1;
        for (int n = 0; n < 50000; ++n) {
            const double lat = -80 + 160 * unit(random), lon = -180 + 360 * unit(random);
            const double length = shortest * std::pow(longest / shortest, unit(random));
            const double azimuth = 2 * M_PI * unit(random);
            const double perMetreLon = 1 / (111000 * std::cos(lat * M_PI / 180));
            const double dLat = length * std::cos(azimuth) / 111000;
            const double dLon = length * std::sin(azimuth) * perMetreLon;
            if (std::fabs(lat + dLat) > 85) continue;
            // A middle point on the way or off it by up to its length.
            const double along = unit(random);
            const double off = (unit(random) - 0.5) * length * std::pow(10.0, -6 * unit(random));
            const double latMid = lat + along * dLat - off * std::sin(azimuth) / 111000;
            const double lonMid = lon + along * dLon + off * std::cos(azimuth) * perMetreLon;
            const auto x = scoring::GeoPoint(lat, lon),
                       z = scoring::GeoPoint(lat + dLat, lon + dLon);
            const auto y = scoring::GeoPoint(latMid, lonMid);
            const double direct = scoring::Distance(x, z);
            const double defect = direct - scoring::Distance(x, y) - scoring::Distance(y, z);
            const double allowed =
                scoring::TriangleDefectMetres + scoring::TriangleDefectRatio * direct;
            worstExcess = std::max(worstExcess, defect - allowed);
        }
        QVERIFY2(worstExcess <= 0, qPrintable(QString::number(worstExcess)));
    }

    void knownDistances_data() {
        QTest::addColumn<double>("lat1");
        QTest::addColumn<double>("lon1");
        QTest::addColumn<double>("lat2");
        QTest::addColumn<double>("lon2");
        QTest::addColumn<double>("metres");
        // Vincenty's own example (Flinders Peak to Buninyong).
        QTest::newRow("Flinders Peak - Buninyong")
            << -37.95103341666667 << 144.42486788888888 << -37.65282113888889 << 143.92649552777777
            << 54972.271;
        QTest::newRow("same point") << 45.0 << 6.0 << 45.0 << 6.0 << 0.0;
        QTest::newRow("across the antimeridian")
            << 10.0 << 179.9 << 10.0 << -179.9 << testgeo::VincentyDistance(10, 179.9, 10, -179.9);
        QTest::newRow("across the equator")
            << -0.5 << 30.0 << 0.5 << 30.0 << testgeo::VincentyDistance(-0.5, 30, 0.5, 30);
    }
    void knownDistances() {
        QFETCH(double, lat1);
        QFETCH(double, lon1);
        QFETCH(double, lat2);
        QFETCH(double, lon2);
        QFETCH(double, metres);
        QVERIFY(std::fabs(scoring::EllipsoidDistance(lat1, lon1, lat2, lon2) - metres) <=
                scoring::DistanceErrorMetres + scoring::DistanceErrorRatio * metres + 1e-3);
    }

    // The central angle's series for short arcs and the library's arcsine for
    // long ones agree to rounding everywhere, the switch included: a jump
    // there would break the triangle inequality the bounds lean on.
    void centralAngleMatchesArcsine() {
        double worst = 0;
        for (double sinHalf = 1e-9; sinHalf < 0.2; sinHalf *= 1.0001) {
            const double reference = 2 * std::asin(sinHalf);
            worst =
                std::max(worst, std::fabs(scoring::CentralAngle(sinHalf) - reference) / reference);
        }
        QVERIFY2(worst < 1e-15, qPrintable(QString::number(worst)));
        const double below = std::nextafter(0.05, 0.0), above = std::nextafter(0.05, 1.0);
        QVERIFY(scoring::CentralAngle(below) < scoring::CentralAngle(above));
    }
};

QTEST_GUILESS_MAIN(TstGeodesy)
#include "tst_geodesy.moc"
