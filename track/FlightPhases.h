#pragma once
// Where the flight itself begins and ends within a recording: an instrument
// logs on the ground before take-off and after landing, so the first and last
// records are not the flight. The logbook's times and durations and the
// cross-country score both take the span found here.
#include <cstddef>
#include <optional>
#include <vector>

#include "track/FlightFix.h"

namespace track {

// A run of fixes in the air, by index (inclusive).
struct TAirborne {
    std::size_t first = 0, last = 0;
};

struct TFlightSpan {
    // Indices into the fixes: the take-off fix and the landing fix (inclusive).
    std::size_t takeoff = 0;
    std::size_t landing = 0;
    // False when the fixes carry no usable times or nothing in them moves like
    // a flight; the span is then every fix.
    bool detected = false;
    // The span less the pauses on the ground within it (landed and
    // relaunched, a lunch break), and the seconds in the air they add up to.
    std::vector<TAirborne> airborne;
    long long airSeconds = 0;
};

// A fix is "moving" when, over the window centred on it (MovingWindowSeconds
// long, shorter only at the ends of the recording), the ground speed reaches
// MovingGroundSpeed or the vertical speed MovingVerticalSpeed. Take-off is
// the first moving fix after which most fixes keep moving for SustainSeconds;
// landing mirrors it from the end. Both are then set where the motion itself
// starts and stops, fix to fix, so that neither is placed early or late by
// the window. Short taxiing, a walk up the hill or a pause on the launch do
// not count.
inline constexpr double MovingGroundSpeed = 3.0;    // m/s, about 11 km/h
inline constexpr double MovingVerticalSpeed = 1.0;  // m/s
inline constexpr int MovingWindowSeconds = 10;
inline constexpr int SustainSeconds = 60;
inline constexpr double SustainShare = 0.8;
// A pause on the ground within the flight: at least GroundPauseSeconds of
// fixes that do not move, all within GroundPauseMetres of its first fix and
// GroundPauseAltitude of height (a hovering glider drifts and bobs more).
inline constexpr int GroundPauseSeconds = 60;
inline constexpr double GroundPauseMetres = 30.0;
inline constexpr double GroundPauseAltitude = 5.0;

TFlightSpan DetectFlight(const std::vector<TFlightFix>& fixes);

// The greatest climb (positive) and sink (negative) within the span, in m/s,
// over windows of about 1 s and 10 s (the window is the first fix at least that
// far ahead). Zero where the fixes give none (no times or no altitudes).
struct TClimbExtremes {
    double climb1s = 0;
    double sink1s = 0;
    double climb10s = 0;
    double sink10s = 0;
};
TClimbExtremes ClimbExtremes(const std::vector<TFlightFix>& fixes, const TFlightSpan& span);

// What the span of a flight measures: the track's length and the straight
// line from take-off to landing in metres, and the highest and lowest
// altitude (none without altitudes).
struct TFlightMeasures {
    double lengthMetres = 0;
    double straightMetres = 0;
    std::optional<double> highest;
    std::optional<double> lowest;
};
TFlightMeasures MeasureFlight(const std::vector<TFlightFix>& fixes, const TFlightSpan& span);

}  // namespace track
