#include "scoring/FlightAnalysis.h"

#include <cmath>
#include <numbers>

#include "scoring/Geodesy.h"

namespace scoring {

namespace {

constexpr double toRad = std::numbers::pi / 180.0;

// Heading from a to b in degrees (0 north, clockwise), on a local plane.
double Heading(const track::TFlightFix& a, const track::TFlightFix& b) {
    const double east = (b.longitude - a.longitude) * std::cos(a.latitude * toRad);
    const double north = b.latitude - a.latitude;
    return std::atan2(east, north) / toRad;
}

double Turn(double from, double to) {
    double turn = to - from;
    while (turn > 180) turn -= 360;
    while (turn < -180) turn += 360;
    return turn;
}

bool Usable(const std::vector<track::TFlightFix>& fixes, const track::TFlightSpan& span) {
    if (fixes.size() < 3 || span.landing <= span.takeoff) return false;
    for (std::size_t i = span.takeoff; i <= span.landing; ++i) {
        if (!fixes[i].hasTime || std::isnan(fixes[i].altitude)) return false;
        if (i > span.takeoff && fixes[i].time < fixes[i - 1].time) return false;
    }
    return fixes[span.landing].time > fixes[span.takeoff].time;
}

TGlide GlideBetween(const std::vector<track::TFlightFix>& fixes, std::size_t first,
                    std::size_t last) {
    TGlide glide;
    glide.first = first;
    glide.last = last;
    glide.start = fixes[first].time;
    glide.end = fixes[last].time;
    glide.distance = EllipsoidDistance(fixes[first].latitude, fixes[first].longitude,
                                       fixes[last].latitude, fixes[last].longitude);
    const double seconds = double(glide.end - glide.start);
    glide.averageSpeed = seconds > 0 ? glide.distance / seconds : 0;
    glide.heightLost = fixes[first].altitude - fixes[last].altitude;
    glide.glideRatio = glide.heightLost > 0 ? glide.distance / glide.heightLost : 0;
    return glide;
}

}  // namespace

TFlightAnalysis AnalyseFlight(const std::vector<track::TFlightFix>& fixes) {
    TFlightAnalysis analysis;
    analysis.span = track::DetectFlight(fixes);
    const std::size_t first = analysis.span.takeoff, last = analysis.span.landing;
    if (!Usable(fixes, analysis.span)) return analysis;
    analysis.usable = true;
    analysis.extremes = track::ClimbExtremes(fixes, analysis.span);
    analysis.secondsFlying = fixes[last].time - fixes[first].time;

    // The turn since take-off at every fix: the turn over a window is then a
    // difference. Fixes that do not move keep the heading before them.
    const std::size_t n = last - first + 1;
    std::vector<double> turned(n, 0);
    double heading = 0;
    bool headingKnown = false;
    for (std::size_t k = 1; k < n; ++k) {
        const track::TFlightFix &a = fixes[first + k - 1], &b = fixes[first + k];
        turned[k] = turned[k - 1];
        if (a.latitude == b.latitude && a.longitude == b.longitude) continue;
        const double next = Heading(a, b);
        if (headingKnown) turned[k] += Turn(heading, next);
        heading = next;
        headingKnown = true;
    }
    std::vector<bool> circling(n, false);
    std::size_t from = 0, to = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const device::TrackTime t = fixes[first + k].time;
        while (fixes[first + from].time < t - TurnWindowSeconds / 2) ++from;
        while (to + 1 < n && fixes[first + to + 1].time <= t + TurnWindowSeconds / 2) ++to;
        const double seconds = double(fixes[first + to].time - fixes[first + from].time);
        if (seconds > 0)
            circling[k] = std::fabs(turned[to] - turned[from]) / seconds >= CirclingTurnDegrees;
    }

    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (std::size_t k = 0; k < n;) {
        if (!circling[k]) {
            ++k;
            continue;
        }
        std::size_t end = k;
        while (end + 1 < n && circling[end + 1]) ++end;
        if (!runs.empty() &&
            fixes[first + k].time - fixes[first + runs.back().second].time < ThermalGapSeconds)
            runs.back().second = end;
        else
            runs.push_back({k, end});
        k = end + 1;
    }
    std::size_t glideFrom = first;
    for (const auto& [runStart, runEnd] : runs) {
        const std::size_t a = first + runStart, b = first + runEnd;
        const device::TrackTime seconds = fixes[b].time - fixes[a].time;
        if (seconds < ThermalSeconds) continue;
        // Its edge fixes were judged circling by the turn within half a
        // window around them: the turn is taken over that much more.
        std::size_t turnFrom = runStart, turnTo = runEnd;
        while (turnFrom > 0 &&
               fixes[a].time - fixes[first + turnFrom - 1].time <= TurnWindowSeconds / 2)
            --turnFrom;
        while (turnTo + 1 < n &&
               fixes[first + turnTo + 1].time - fixes[b].time <= TurnWindowSeconds / 2)
            ++turnTo;
        if (std::fabs(turned[turnTo] - turned[turnFrom]) < ThermalTurnDegrees) continue;
        if (!(fixes[b].altitude > fixes[a].altitude)) continue;
        TThermal thermal;
        thermal.first = a;
        thermal.last = b;
        thermal.start = fixes[a].time;
        thermal.end = fixes[b].time;
        thermal.gain = fixes[b].altitude - fixes[a].altitude;
        thermal.averageClimb = thermal.gain / double(seconds);
        analysis.secondsCircling += seconds;
        if (a > glideFrom) analysis.glides.push_back(GlideBetween(fixes, glideFrom, a));
        analysis.thermals.push_back(thermal);
        glideFrom = b;
    }
    if (last > glideFrom) analysis.glides.push_back(GlideBetween(fixes, glideFrom, last));
    return analysis;
}

}  // namespace scoring
