#include "track/FlightPhases.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "track/CheckedTrack.h"
#include "track/Geodesy.h"

namespace track {

TFlightMeasures MeasureFlight(const std::vector<TFlightFix>& fixes, const TFlightSpan& span) {
    TFlightMeasures measures;
    for (std::size_t i = span.takeoff; i <= span.landing && i < fixes.size(); ++i) {
        const double a = fixes[i].altitude;
        if (!std::isnan(a)) {
            measures.highest = std::max(measures.highest.value_or(a), a);
            measures.lowest = std::min(measures.lowest.value_or(a), a);
        }
        if (i > span.takeoff) measures.lengthMetres += FixDistance(fixes[i - 1], fixes[i]);
    }
    if (span.landing < fixes.size())
        measures.straightMetres = FixDistance(fixes[span.takeoff], fixes[span.landing]);
    return measures;
}

namespace {

bool TimesUsable(const std::vector<TFlightFix>& fixes) {
    for (std::size_t i = 0; i < fixes.size(); ++i) {
        if (!fixes[i].hasTime || (i > 0 && fixes[i].time < fixes[i - 1].time)) return false;
    }
    return fixes.size() >= 2 && fixes.back().time > fixes.front().time;
}

// Whether the glider moves like a flight from fix `from` to fix `to`.
bool Moves(const std::vector<TFlightFix>& fixes, std::size_t from, std::size_t to) {
    const double seconds = double(fixes[to].time - fixes[from].time);
    if (seconds <= 0) return false;
    if (FixDistance(fixes[from], fixes[to]) / seconds >= MovingGroundSpeed) return true;
    const double up = fixes[to].altitude - fixes[from].altitude;  // NaN compares false
    return std::fabs(up) / seconds >= MovingVerticalSpeed;
}

// moving[i] for every fix, judged over the window centred on it: half of it
// before the fix and half after, so that neither end of the flight is judged
// by what lies on one side only.
std::vector<bool> MovingFixes(const std::vector<TFlightFix>& fixes) {
    const std::size_t n = fixes.size();
    std::vector<bool> moving(n, false);
    constexpr int half = MovingWindowSeconds / 2;
    std::size_t start = 0, end = 0;
    for (std::size_t i = 0; i < n; ++i) {
        while (fixes[i].time - fixes[start].time > half) ++start;
        if (end < i) end = i;
        while (end + 1 < n && fixes[end + 1].time - fixes[i].time <= half) ++end;
        moving[i] = Moves(fixes, start, end);
    }
    return moving;
}

// Moves take-off and landing to where the motion starts and stops fix to fix:
// the window found them within half its length.
void SetAtMotion(const std::vector<TFlightFix>& fixes, std::size_t& takeoff, std::size_t& landing) {
    const std::size_t n = fixes.size();
    const device::TrackTime from = fixes[takeoff].time, to = fixes[landing].time;
    while (takeoff > 0 && from - fixes[takeoff - 1].time <= MovingWindowSeconds &&
           Moves(fixes, takeoff - 1, takeoff))
        --takeoff;
    while (takeoff < landing && fixes[takeoff].time - from < MovingWindowSeconds &&
           !Moves(fixes, takeoff, takeoff + 1))
        ++takeoff;
    while (landing + 1 < n && fixes[landing + 1].time - to <= MovingWindowSeconds &&
           Moves(fixes, landing, landing + 1))
        ++landing;
    while (landing > takeoff && to - fixes[landing].time < MovingWindowSeconds &&
           !Moves(fixes, landing - 1, landing))
        --landing;
}

// The pauses on the ground between take-off and landing, as airborne runs.
std::vector<TAirborne> AirborneRuns(const std::vector<TFlightFix>& fixes,
                                    const std::vector<bool>& moving, std::size_t takeoff,
                                    std::size_t landing) {
    std::vector<TAirborne> runs;
    std::size_t airFrom = takeoff;
    std::size_t i = takeoff;
    while (i <= landing) {
        if (moving[i]) {
            ++i;
            continue;
        }
        // The still stretch from i: fixes that do not move and stay put.
        std::size_t j = i;
        double low = fixes[i].altitude, high = fixes[i].altitude;
        while (j + 1 <= landing && !moving[j + 1] &&
               FixDistance(fixes[i], fixes[j + 1]) <= GroundPauseMetres) {
            const double a = fixes[j + 1].altitude;
            if (!std::isnan(a)) {
                low = std::isnan(low) ? a : std::min(low, a);
                high = std::isnan(high) ? a : std::max(high, a);
            }
            if (high - low > GroundPauseAltitude) break;
            ++j;
        }
        if (fixes[j].time - fixes[i].time >= GroundPauseSeconds && i > airFrom) {
            // The window judged the stretch: its ends go where the motion
            // stops and starts again, fix to fix.
            std::size_t stop = i, restart = j;
            while (stop > airFrom + 1 &&
                   fixes[i].time - fixes[stop - 1].time <= MovingWindowSeconds &&
                   !Moves(fixes, stop - 1, stop))
                --stop;
            while (restart < landing &&
                   fixes[restart + 1].time - fixes[j].time <= MovingWindowSeconds &&
                   !Moves(fixes, restart, restart + 1))
                ++restart;
            runs.push_back({airFrom, stop});
            airFrom = restart;
        }
        i = j + 1;
    }
    runs.push_back({airFrom, landing});
    return runs;
}

// The first index from `order` (walked as given) that is moving and after
// which (in walking order) at least SustainShare of the fixes within
// SustainSeconds are moving too.
template <typename Walk>
bool FindSustained(const std::vector<TFlightFix>& fixes, const std::vector<bool>& moving, Walk walk,
                   std::size_t& found) {
    const std::size_t n = fixes.size();
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = walk(k);
        if (!moving[i]) continue;
        std::size_t total = 0, movingCount = 0;
        for (std::size_t m = k; m < n; ++m) {
            const std::size_t j = walk(m);
            if (std::llabs(fixes[j].time - fixes[i].time) > SustainSeconds) break;
            ++total;
            if (moving[j]) ++movingCount;
        }
        if (movingCount >= SustainShare * double(total)) {
            found = i;
            return true;
        }
    }
    return false;
}

}  // namespace

TFlightSpan DetectFlight(const std::vector<TFlightFix>& fixes) {
    TFlightSpan span;
    if (fixes.empty()) return span;
    span.landing = fixes.size() - 1;
    if (!TimesUsable(fixes)) return span;
    const std::vector<bool> moving = MovingFixes(fixes);
    const std::size_t n = fixes.size();
    std::size_t takeoff = 0, landing = 0;
    if (!FindSustained(
            fixes, moving, [](std::size_t k) { return k; }, takeoff))
        return span;
    FindSustained(
        fixes, moving, [n](std::size_t k) { return n - 1 - k; }, landing);
    if (landing <= takeoff) return span;
    SetAtMotion(fixes, takeoff, landing);
    if (landing <= takeoff) return span;
    span.takeoff = takeoff;
    span.landing = landing;
    span.detected = true;
    span.airborne = AirborneRuns(fixes, moving, takeoff, landing);
    for (const TAirborne& run : span.airborne)
        span.airSeconds += fixes[run.last].time - fixes[run.first].time;
    return span;
}

TClimbExtremes ClimbExtremes(const std::vector<TFlightFix>& fixes, const TFlightSpan& span) {
    TClimbExtremes result;
    if (fixes.empty() || span.landing >= fixes.size()) return result;
    auto over = [&](int windowSeconds, double& climb, double& sink) {
        std::size_t end = span.takeoff;
        for (std::size_t i = span.takeoff; i <= span.landing; ++i) {
            if (!fixes[i].hasTime || std::isnan(fixes[i].altitude)) continue;
            if (end < i) end = i;
            while (end < span.landing &&
                   (!fixes[end].hasTime || fixes[end].time - fixes[i].time < windowSeconds))
                ++end;
            const TFlightFix& to = fixes[end];
            if (!to.hasTime || std::isnan(to.altitude)) continue;
            const double seconds = double(to.time - fixes[i].time);
            if (seconds < windowSeconds) continue;
            const double rate = (to.altitude - fixes[i].altitude) / seconds;
            // A jump no glider can make (a GNSS altitude's step of tens of
            // metres in a second) is no climb or sink of the flight.
            if (rate > MaxClimbSpeed || rate < -MaxVerticalSpeed) continue;
            climb = std::max(climb, rate);
            sink = std::min(sink, rate);
        }
    };
    over(1, result.climb1s, result.sink1s);
    over(10, result.climb10s, result.sink10s);
    return result;
}

}  // namespace track
