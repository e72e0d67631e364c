// Take-off and landing found in a recording with ground time around the flight.
#include <QTest>

#include "track/CheckedTrack.h"
#include "track/FlightPhases.h"

using namespace track;

namespace {

struct Leg {
    int seconds;
    double groundSpeed;    // m/s, northwards
    double verticalSpeed;  // m/s
};

// One fix a second along the legs, starting at 45° N 6° E, 1000 m.
std::vector<TFlightFix> Recording(const std::vector<Leg>& legs) {
    std::vector<TFlightFix> fixes;
    TFlightFix fix;
    fix.latitude = 45.0;
    fix.longitude = 6.0;
    fix.altitude = 1000;
    fix.hasTime = true;
    fix.time = 1700000000;
    fixes.push_back(fix);
    for (const Leg& leg : legs) {
        for (int s = 0; s < leg.seconds; ++s) {
            fix.latitude += leg.groundSpeed / 111195.0;
            fix.altitude += leg.verticalSpeed;
            fix.time += 1;
            fixes.push_back(fix);
        }
    }
    return fixes;
}

}  // namespace

Q_DECLARE_METATYPE(std::vector<Leg>)

class TestFlightPhases : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void span_data() {
        QTest::addColumn<std::vector<Leg>>("legs");
        QTest::addColumn<bool>("detected");
        QTest::addColumn<int>("takeoff");  // seconds from the start, ±tolerance
        QTest::addColumn<int>("landing");
        QTest::newRow("ground, flight, ground")
            << std::vector<Leg>{{300, 0, 0}, {1800, 10, 0}, {300, 0, 0}} << true << 300 << 2100;
        QTest::newRow("hovering in a strong wind counts as flying by its climb")
            << std::vector<Leg>{{200, 0, 0}, {600, 0.5, 2.0}, {600, 9, -1}, {200, 0, 0}} << true
            << 200 << 1400;
        QTest::newRow("a walk up the hill is not a take-off")
            << std::vector<Leg>{{600, 1.2, 0.3}, {120, 0, 0}, {900, 12, -0.5}, {100, 0, 0}} << true
            << 720 << 1620;
        QTest::newRow("a short taxi before the launch is passed over")
            << std::vector<Leg>{{100, 0, 0}, {20, 6, 0}, {100, 0, 0}, {900, 11, 0}, {200, 0, 0}}
            << true << 220 << 1120;
        QTest::newRow("nothing moves: every fix")
            << std::vector<Leg>{{900, 0, 0}} << false << 0 << 900;
        QTest::newRow("airborne from the first fix to the last")
            << std::vector<Leg>{{1200, 10, 0}} << true << 0 << 1200;
        // The motion stops from one fix to the next: the landing is that fix,
        // not some seconds before it.
        QTest::newRow("a stop from full speed lands on the stopping fix")
            << std::vector<Leg>{{120, 0, 0}, {700, 9, -1.2}, {180, 0, 0}} << true << 120 << 820;
        QTest::newRow("a slow glide down to the ground")
            << std::vector<Leg>{{120, 0, 0}, {700, 9, 0}, {20, 3.5, -0.5}, {180, 0, 0}} << true
            << 120 << 840;
    }
    void span() {
        QFETCH(std::vector<Leg>, legs);
        QFETCH(bool, detected);
        QFETCH(int, takeoff);
        QFETCH(int, landing);
        const TFlightSpan found = DetectFlight(Recording(legs));
        QCOMPARE(found.detected, detected);
        const int tolerance = detected ? 1 : 0;
        QVERIFY2(std::abs(int(found.takeoff) - takeoff) <= tolerance,
                 qPrintable(QString::number(found.takeoff)));
        QVERIFY2(std::abs(int(found.landing) - landing) <= tolerance,
                 qPrintable(QString::number(found.landing)));
    }

    // Landed and relaunched: the pause on the ground is not air time; a
    // glider hovering in the wind is in the air all along.
    void airTime_data() {
        QTest::addColumn<std::vector<Leg>>("legs");
        QTest::addColumn<int>("airSeconds");
        QTest::addColumn<int>("runs");
        QTest::newRow("one flight")
            << std::vector<Leg>{{100, 0, 0}, {900, 10, 0}, {100, 0, 0}} << 900 << 1;
        QTest::newRow("a lunch break between two flights") << std::vector<Leg>{{100, 0, 0},
                                                                               {900, 10, -0.5},
                                                                               {1800, 0, 0},
                                                                               {600, 8, 1.5},
                                                                               {100, 0, 0}}
                                                           << 1500 << 2;
        QTest::newRow("a short stop is not a pause")
            << std::vector<Leg>{{100, 0, 0}, {900, 10, 0}, {30, 0, 0}, {600, 8, 0}, {100, 0, 0}}
            << 1530 << 1;
        QTest::newRow("hovering in the wind stays in the air") << std::vector<Leg>{{100, 0, 0},
                                                                                   {300, 10, 0},
                                                                                   {300, 0.3, 0.1},
                                                                                   {300, 10, -1},
                                                                                   {100, 0, 0}}
                                                               << 900 << 1;
    }
    void airTime() {
        QFETCH(std::vector<Leg>, legs);
        QFETCH(int, airSeconds);
        QFETCH(int, runs);
        const TFlightSpan found = DetectFlight(Recording(legs));
        QVERIFY(found.detected);
        QCOMPARE(int(found.airborne.size()), runs);
        QVERIFY2(std::abs(found.airSeconds - airSeconds) <= 2,
                 qPrintable(QString::number(found.airSeconds)));
    }

    void withoutUsableTimes_theWholeRecording() {
        std::vector<TFlightFix> fixes = Recording({{300, 0, 0}, {600, 10, 0}, {300, 0, 0}});
        std::vector<TFlightFix> untimed = fixes;
        untimed[500].hasTime = false;
        std::vector<TFlightFix> backwards = fixes;
        backwards[500].time = backwards[10].time;
        for (const auto& recording : {untimed, backwards}) {
            const TFlightSpan found = DetectFlight(recording);
            QVERIFY(!found.detected);
            QCOMPARE(found.takeoff, std::size_t(0));
            QCOMPARE(found.landing, recording.size() - 1);
        }
        QCOMPARE(DetectFlight({}).detected, false);
        QCOMPARE(DetectFlight({fixes.front()}).landing, std::size_t(0));
    }

    void climbExtremes_overOneAndTenSeconds() {
        // A 3 s burst of 6 m/s inside a steady 1 m/s climb, then a 4 m/s sink.
        std::vector<TFlightFix> fixes =
            Recording({{60, 10, 1}, {3, 10, 6}, {60, 10, 1}, {120, 10, -4}});
        const TFlightSpan all{0, fixes.size() - 1, true};
        const TClimbExtremes e = ClimbExtremes(fixes, all);
        QCOMPARE(e.climb1s, 6.0);
        QCOMPARE(e.climb10s, (3 * 6.0 + 7 * 1.0) / 10);
        QCOMPARE(e.sink1s, -4.0);
        QCOMPARE(e.sink10s, -4.0);
        // Only the span counts: the sink lies outside this one.
        const TClimbExtremes early = ClimbExtremes(fixes, {0, 123, true});
        QCOMPARE(early.sink1s, 0.0);
        for (TFlightFix& f : fixes) f.altitude = std::numeric_limits<double>::quiet_NaN();
        QCOMPARE(ClimbExtremes(fixes, all).climb10s, 0.0);
    }

    void climbExtremes_jumpsNoGliderMakesLeftOut() {
        // A steady 2 m/s climb whose GNSS altitude steps 60 m up in one
        // second and, later, 45 m down in another.
        std::vector<TFlightFix> fixes = Recording({{120, 10, 2}});
        for (std::size_t i = 60; i < fixes.size(); ++i) fixes[i].altitude += 60;
        for (std::size_t i = 90; i < fixes.size(); ++i) fixes[i].altitude -= 45;
        const TClimbExtremes e = ClimbExtremes(fixes, {0, fixes.size() - 1, true});
        QCOMPARE(e.climb1s, 2.0);
        QCOMPARE(e.sink1s, 0.0);
        QVERIFY(e.climb10s <= MaxClimbSpeed);
        QVERIFY(e.sink10s >= -MaxVerticalSpeed);
    }
};

QTEST_GUILESS_MAIN(TestFlightPhases)
#include "tst_flightphases.moc"
