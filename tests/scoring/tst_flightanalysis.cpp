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

std::vector<track::TFlightFix> Flight(const std::vector<TPiece>& pieces) {
    std::vector<track::TFlightFix> fixes;
    double east = 0, north = 0, altitude = 1500;
    device::TrackTime time = 1765272000;
    auto add = [&] {
        track::TFlightFix fix;
        fix.latitude = 45 + north / testflights::MetresPerDegree;
        fix.longitude =
            6 + east / (testflights::MetresPerDegree * std::cos(45 * std::numbers::pi / 180));
        fix.altitude = altitude;
        fix.hasTime = true;
        fix.time = time++;
        fixes.push_back(fix);
    };
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

}  // namespace

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

    void withoutTimesNothingIsTold() {
        auto fixes = Flight({{false, 300, 0}, {true, 120, 2.0}, {false, 300, 0}});
        for (track::TFlightFix& fix : fixes) fix.hasTime = false;
        QVERIFY(!scoring::AnalyseFlight(fixes).usable);
        QVERIFY(!scoring::AnalyseFlight({}).usable);
    }
};

QTEST_GUILESS_MAIN(TstFlightAnalysis)
#include "tst_flightanalysis.moc"
