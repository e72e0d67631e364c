#include <QTest>
#include <cmath>
#include <numbers>

#include "scoring/FlightAnalysis.h"
#include "tests/scoring/FlightMaker.h"

namespace {

// A flight of glides and thermals, 1 s a fix: each piece either glides
// straight east at 10 m/s sinking 1 m/s, or circles (a turn every 24 s)
// climbing `climb` m/s in place.
struct TPiece {
    bool circling;
    int seconds;
    double climb;
};

// A fix `east` and `north` metres from 45° N 6° E.
track::TFlightFix FixAt(double east, double north, double altitude, device::TrackTime time) {
    track::TFlightFix fix;
    fix.latitude = 45 + north / testflights::MetresPerDegree;
    fix.longitude =
        6 + east / (testflights::MetresPerDegree * std::cos(45 * std::numbers::pi / 180));
    fix.altitude = altitude;
    fix.hasTime = true;
    fix.time = time;
    return fix;
}

std::vector<track::TFlightFix> Flight(const std::vector<TPiece>& pieces) {
    std::vector<track::TFlightFix> fixes;
    double east = 0, north = 0, altitude = 1500;
    device::TrackTime time = 1765272000;
    auto add = [&] { fixes.push_back(FixAt(east, north, altitude, time++)); };
    for (const TPiece& piece : pieces) {
        for (int s = 0; s < piece.seconds; ++s) {
            if (piece.circling) {
                const double angle = 2 * std::numbers::pi * s / 24;
                east += 10 * std::cos(angle) * 2 * std::numbers::pi / 24 * 6;
                north += 10 * std::sin(angle) * 2 * std::numbers::pi / 24 * 6;
                altitude += piece.climb;
            } else {
                east += 10;
                altitude -= 1;
            }
            add();
        }
    }
    return fixes;
}

// A flight from pieces flown at `speed` m/s: the heading turns `turnRate`
// degrees a second, or swings `swing` degrees to and fro every 20 s (S-turns),
// while the height changes `climb` m/s.
struct TTurnPiece {
    int seconds;
    double speed, turnRate, swing, climb;
};

std::vector<track::TFlightFix> TurningFlight(const std::vector<TTurnPiece>& pieces) {
    std::vector<track::TFlightFix> fixes;
    double east = 0, north = 0, altitude = 1500, heading = 90;
    device::TrackTime time = 1765272000;
    for (const TTurnPiece& piece : pieces) {
        const double base = heading;
        for (int s = 0; s < piece.seconds; ++s) {
            heading = piece.swing > 0
                          ? base + piece.swing / 2 * std::sin(2 * std::numbers::pi * s / 20)
                          : heading + piece.turnRate;
            const double rad = heading * std::numbers::pi / 180;
            east += piece.speed * std::sin(rad);
            north += piece.speed * std::cos(rad);
            altitude += piece.climb;
            fixes.push_back(FixAt(east, north, altitude, time++));
        }
        heading = std::fmod(heading, 360);
    }
    return fixes;
}

}  // namespace

Q_DECLARE_METATYPE(std::vector<TTurnPiece>)

class TstFlightAnalysis : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void thermalsAndGlides() {
        const auto fixes = Flight({{false, 300, 0},
                                   {true, 240, 2.0},
                                   {false, 600, 0},
                                   {true, 120, 3.0},
                                   {false, 300, 0}});
        const scoring::TFlightAnalysis analysis = scoring::AnalyseFlight(fixes);
        QVERIFY(analysis.usable);
        QCOMPARE(analysis.thermals.size(), std::size_t(2));
        QCOMPARE(analysis.glides.size(), std::size_t(3));
        const scoring::TThermal& first = analysis.thermals[0];
        // The edges of a circling phase are found within the turn window.
        QVERIFY(std::abs(first.start - fixes[300].time) <= scoring::TurnWindowSeconds);
        QVERIFY(std::abs(first.end - fixes[539].time) <= scoring::TurnWindowSeconds);
        QVERIFY(std::fabs(first.averageClimb - 2.0) < 0.5);
        QVERIFY(std::fabs(analysis.thermals[1].averageClimb - 3.0) < 0.7);
        const scoring::TGlide& middle = analysis.glides[1];
        QVERIFY(std::fabs(middle.averageSpeed - 10) < 2.5);
        QVERIFY(std::fabs(middle.glideRatio - 10) < 2.5);
        QVERIFY(std::abs(analysis.secondsCircling - 360) <= 2 * scoring::TurnWindowSeconds);
        QVERIFY(analysis.extremes.climb10s > 2.5);
        QVERIFY(analysis.extremes.sink10s < -0.5);
    }

    // Short turns and wiggles are no thermal.
    void shortTurnIsNoThermal() {
        const auto fixes = Flight({{false, 300, 0}, {true, 20, 1.0}, {false, 300, 0}});
        const scoring::TFlightAnalysis analysis = scoring::AnalyseFlight(fixes);
        QVERIFY(analysis.usable);
        QVERIFY(analysis.thermals.empty());
        QCOMPARE(analysis.glides.size(), std::size_t(1));
    }

    // A thermal turns a full circle at least and gains height.
    void whatIsAThermal_data() {
        QTest::addColumn<std::vector<TTurnPiece>>("pieces");
        QTest::addColumn<int>("thermals");
        const TTurnPiece glide{300, 10, 0, 0, -1};
        QTest::newRow("tight circles in lift")
            << std::vector<TTurnPiece>{glide, {240, 9, 15, 0, 2.0}, glide} << 1;
        QTest::newRow("slow wide circles: 371 degrees in 67 s, +75 m")
            << std::vector<TTurnPiece>{glide, {67, 8, 371.0 / 67, 0, 75.0 / 67}, glide} << 1;
        QTest::newRow("circling in sink")
            << std::vector<TTurnPiece>{glide, {120, 9, 15, 0, -1.5}, glide} << 0;
        QTest::newRow("S-turns of 65 degrees in lift")
            << std::vector<TTurnPiece>{glide, {180, 10, 0, 65, 1.0}, glide} << 0;
        QTest::newRow("half a circle in lift")
            << std::vector<TTurnPiece>{glide, {30, 9, 6, 0, 1.0}, glide} << 0;
    }
    void whatIsAThermal() {
        QFETCH(std::vector<TTurnPiece>, pieces);
        QFETCH(int, thermals);
        const scoring::TFlightAnalysis analysis = scoring::AnalyseFlight(TurningFlight(pieces));
        QVERIFY(analysis.usable);
        QCOMPARE(int(analysis.thermals.size()), thermals);
        for (const scoring::TThermal& thermal : analysis.thermals) QVERIFY(thermal.gain > 0);
    }

    void withoutTimesNothingIsTold() {
        auto fixes = Flight({{false, 300, 0}, {true, 120, 2.0}, {false, 300, 0}});
        for (track::TFlightFix& fix : fixes) fix.hasTime = false;
        QVERIFY(!scoring::AnalyseFlight(fixes).usable);
        QVERIFY(!scoring::AnalyseFlight({}).usable);
    }
};

QTEST_GUILESS_MAIN(TstFlightAnalysis)
#include "tst_flightanalysis.moc"
