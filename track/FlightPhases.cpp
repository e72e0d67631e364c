#include "track/FlightPhases.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace track {

double QuickDistance(const TFlightFix& a, const TFlightFix& b) {
    constexpr double earthRadius = 6371008.8;
    constexpr double toRad = std::numbers::pi / 180.0;
    const double lat1 = a.latitude * toRad, lat2 = b.latitude * toRad;
    const double dLat = lat2 - lat1, dLon = (b.longitude - a.longitude) * toRad;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1) * std::cos(lat2) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * earthRadius * std::asin(std::min(1.0, std::sqrt(h)));
}

namespace {

bool TimesUsable(const std::vector<TFlightFix>& fixes) {
    for (std::size_t i = 0; i < fixes.size(); ++i) {
        if (!fixes[i].hasTime || (i > 0 && fixes[i].time < fixes[i - 1].time)) return false;
    }
    return fixes.size() >= 2 && fixes.back().time > fixes.front().time;
}

// moving[i] for every fix, judged over the window from fix i forwards (the
// last fixes, with no full window ahead, look backwards instead).
std::vector<bool> MovingFixes(const std::vector<TFlightFix>& fixes) {
    const std::size_t n = fixes.size();
    std::vector<bool> moving(n, false);
    auto judge = [&](std::size_t from, std::size_t to) {
        const double seconds = double(fixes[to].time - fixes[from].time);
        if (seconds <= 0) return false;
        if (QuickDistance(fixes[from], fixes[to]) / seconds >= MovingGroundSpeed) return true;
        const double up = fixes[to].altitude - fixes[from].altitude;  // NaN compares false
        return std::fabs(up) / seconds >= MovingVerticalSpeed;
    };
    std::size_t end = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (end < i) end = i;
        while (end + 1 < n && fixes[end].time - fixes[i].time < MovingWindowSeconds) ++end;
        if (fixes[end].time - fixes[i].time >= MovingWindowSeconds) {
            moving[i] = judge(i, end);
        } else {
            std::size_t start = i;
            while (start > 0 && fixes[i].time - fixes[start].time < MovingWindowSeconds) --start;
            moving[i] = judge(start, i);
        }
    }
    return moving;
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
    span.takeoff = takeoff;
    span.landing = landing;
    span.detected = true;
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
            climb = std::max(climb, rate);
            sink = std::min(sink, rate);
        }
    };
    over(1, result.climb1s, result.sink1s);
    over(10, result.climb10s, result.sink10s);
    return result;
}

}  // namespace track
