#pragma once
// Flights made to order for the scorer's tests and benchmark: shapes whose
// best solution is known by construction, with the small wander of a real
// recording, and an IGC file of them for another scorer.
#include <QByteArray>
#include <QString>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>
#include <vector>

#include "track/FlightFix.h"

namespace testflights {

inline constexpr double MetresPerDegree = 111195.0;  // on the mean sphere, for laying out shapes

struct TLocalPoint {
    double east = 0, north = 0;  // metres from the origin
};

// Fixes 1 s apart along the polyline `corners` (local metres around
// lat0/lon0), `count` fixes in all. Like a real recording, the fixes wander
// off the line smoothly (by up to `wander` metres, over a minute or two) and
// jitter by a metre or two from one fix to the next.
inline std::vector<track::TFlightFix> AlongPolyline(const std::vector<TLocalPoint>& corners,
                                                    int count, double wander, unsigned seed = 1,
                                                    double lat0 = 45.9, double lon0 = 6.2) {
    std::vector<double> cumulative{0};
    for (std::size_t i = 1; i < corners.size(); ++i)
        cumulative.push_back(cumulative.back() +
                             std::hypot(corners[i].east - corners[i - 1].east,
                                        corners[i].north - corners[i - 1].north));
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> jitter(-1.5, 1.5);
    std::uniform_real_distribution<double> phase(0, 2 * std::numbers::pi);
    const double phases[4] = {phase(random), phase(random), phase(random), phase(random)};
    auto drift = [&](int i, int axis) {
        return wander * (0.6 * std::sin(i / 23.0 + phases[2 * axis]) +
                         0.4 * std::sin(i / 71.0 + phases[2 * axis + 1]));
    };
    std::vector<track::TFlightFix> fixes;
    fixes.reserve(count);
    const double cosLat = std::cos(lat0 * std::numbers::pi / 180);
    std::size_t leg = 1;
    for (int i = 0; i < count; ++i) {
        const double along = cumulative.back() * i / (count - 1);
        while (leg + 1 < corners.size() && cumulative[leg] < along) ++leg;
        const double legLength = cumulative[leg] - cumulative[leg - 1];
        const double t = legLength > 0 ? (along - cumulative[leg - 1]) / legLength : 0;
        const TLocalPoint& from = corners[leg - 1];
        const TLocalPoint& to = corners[leg];
        const double east =
            from.east + t * (to.east - from.east) + (wander > 0 ? drift(i, 0) + jitter(random) : 0);
        const double north = from.north + t * (to.north - from.north) +
                             (wander > 0 ? drift(i, 1) + jitter(random) : 0);
        track::TFlightFix fix;
        fix.latitude = lat0 + north / MetresPerDegree;
        fix.longitude = lon0 + east / (MetresPerDegree * cosLat);
        fix.altitude = 1500 + 300 * std::sin(i / 600.0);
        fix.hasTime = true;
        fix.time = 1765272000 + i;  // 2025-12-09 09:20 UTC
        fixes.push_back(fix);
    }
    return fixes;
}

// The coordinates an IGC file keeps (thousandths of a minute), so that a
// scorer reading the file and one given the fixes see the same flight.
inline void RoundAsIgc(std::vector<track::TFlightFix>& fixes) {
    for (track::TFlightFix& fix : fixes) {
        fix.latitude = std::round(fix.latitude * 60000) / 60000;
        fix.longitude = std::round(fix.longitude * 60000) / 60000;
    }
}

inline QByteArray IgcText(const std::vector<track::TFlightFix>& fixes) {
    QByteArray text = "AXXX001 generated flight\r\nHFDTE091225\r\n";
    for (const track::TFlightFix& fix : fixes) {
        const long long seconds = (fix.time % 86400 + 86400) % 86400;
        const long latThousandths = std::lround(std::fabs(fix.latitude) * 60000);
        const long lonThousandths = std::lround(std::fabs(fix.longitude) * 60000);
        char line[64];
        std::snprintf(line, sizeof line, "B%02lld%02lld%02lld%02ld%05ld%c%03ld%05ld%cA%05d%05d\r\n",
                      seconds / 3600, seconds / 60 % 60, seconds % 60, latThousandths / 60000,
                      latThousandths % 60000, fix.latitude < 0 ? 'S' : 'N', lonThousandths / 60000,
                      lonThousandths % 60000, fix.longitude < 0 ? 'W' : 'E', int(fix.altitude),
                      int(fix.altitude));
        text += line;
    }
    return text;
}

struct TMadeFlight {
    QString name;
    std::vector<track::TFlightFix> fixes;
};

// The benchmark's and the oracle test's flights: every shape at the sizes given.
inline std::vector<TMadeFlight> GeneratedFlights(const std::vector<int>& sizes) {
    std::vector<TMadeFlight> flights;
    for (int n : sizes) {
        const QString suffix = QStringLiteral("-%1").arg(n);
        // About 8 m a second, a paraglider's pace: the flights grow with the
        // number of fixes (40,000 fixes make some 320 km).
        const double way = 8.0 * n;
        const double r = way / (3 * std::sqrt(3.0));  // an equilateral triangle
        std::vector<TLocalPoint> triangle;
        for (int k = 0; k <= 3; ++k) {
            const double angle = std::numbers::pi / 2 + 2 * std::numbers::pi * k / 3;
            triangle.push_back({r * std::cos(angle), r * std::sin(angle)});
        }
        triangle.front().east += 0.01 * way;  // closes within 1 % of the perimeter
        flights.push_back({QStringLiteral("triangle") + suffix, AlongPolyline(triangle, n, 30, n)});
        flights.push_back(
            {QStringLiteral("out-and-return") + suffix,
             AlongPolyline({{0, 0}, {0.47 * way, 0.16 * way}, {300, 200}}, n, 30, n + 1)});
        flights.push_back({QStringLiteral("straight") + suffix,
                           AlongPolyline({{0, 0}, {0.95 * way, 0.3 * way}}, n, 30, n + 2)});
        std::vector<TLocalPoint> zigzag;
        for (int k = 0; k <= 8; ++k) zigzag.push_back({k * way / 14, (k % 2) * way / 11});
        flights.push_back({QStringLiteral("zigzag") + suffix, AlongPolyline(zigzag, n, 30, n + 3)});
        // One lap of a circle: every fix is a turnpoint of some near-best
        // triangle, the hard case for bounds from boxes.
        std::vector<TLocalPoint> circle;
        const double radius = way / (2 * std::numbers::pi);
        for (int k = 0; k <= 360; ++k)
            circle.push_back({radius * std::cos(k * std::numbers::pi / 180),
                              radius * std::sin(k * std::numbers::pi / 180)});
        flights.push_back({QStringLiteral("circle") + suffix, AlongPolyline(circle, n, 30, n + 4)});
    }
    for (TMadeFlight& flight : flights) RoundAsIgc(flight.fixes);
    return flights;
}

}  // namespace testflights
