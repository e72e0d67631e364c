#pragma once
// The story of a flight: its thermals (circling phases), the glides between
// them, the greatest climb and sink, and the time spent climbing. One module
// for the track page, the logbook and the command line.
#include <cstddef>
#include <vector>

#include "track/FlightFix.h"
#include "track/FlightPhases.h"

namespace scoring {

// A fix is circling while the heading has turned, over the window around it,
// by at least CirclingTurnDegrees per second on average in one direction;
// circling runs less than ThermalGapSeconds apart are one run. A run is a
// thermal when it lasts ThermalSeconds, turns at least ThermalTurnDegrees in
// all (a full circle: an S-turn is no thermal) and gains height (circling in
// sink is no thermal). docs/scoring.md compares the numbers with the field's
// tools.
inline constexpr double CirclingTurnDegrees = 4.0;
inline constexpr int TurnWindowSeconds = 20;
inline constexpr int ThermalSeconds = 30;
inline constexpr int ThermalGapSeconds = 20;
inline constexpr double ThermalTurnDegrees = 360.0;

struct TThermal {
    std::size_t first = 0, last = 0;  // fix indices
    device::TrackTime start = 0, end = 0;
    double gain = 0;          // metres, end altitude less start altitude
    double averageClimb = 0;  // m/s
};

struct TGlide {
    std::size_t first = 0, last = 0;
    device::TrackTime start = 0, end = 0;
    double distance = 0;      // metres, straight from first to last fix
    double averageSpeed = 0;  // m/s
    double heightLost = 0;    // metres (negative when the glide gained height)
    double glideRatio = 0;    // distance per metre lost; 0 when no height was lost
};

struct TFlightAnalysis {
    bool usable = false;  // false without times or altitudes
    track::TFlightSpan span;
    std::vector<TThermal> thermals;
    std::vector<TGlide> glides;
    track::TClimbExtremes extremes;
    long long secondsCircling = 0;
    long long secondsFlying = 0;
};

TFlightAnalysis AnalyseFlight(const std::vector<track::TFlightFix>& fixes);

}  // namespace scoring
