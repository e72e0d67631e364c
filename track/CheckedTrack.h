#pragma once
// The fixes every reader of a flight takes (score, analysis, picture,
// logbook, KML): one altitude series for the whole flight, in time order,
// with what no glider can do left out. Built once here so that every figure
// comes from the same fixes.
#include <QString>
#include <limits>
#include <vector>

#include "track/FlightFix.h"

namespace track {

// One fix as the file or instrument gives it, before any check.
struct TRecordedFix {
    double latitude = 0;
    double longitude = 0;
    double pressureAltitude = std::numeric_limits<double>::quiet_NaN();  // NaN: none
    double gnssAltitude = std::numeric_limits<double>::quiet_NaN();      // NaN: none
    // False for an IGC "V" fix: the receiver had no 3D solution, so its GNSS
    // altitude means nothing (its position may be a 2D one or the last known).
    bool valid = true;
    bool hasTime = false;
    device::TrackTime time = 0;
};

enum class TAltitudeSource { None, Pressure, Gnss };

struct TCheckedTrack {
    std::vector<TFlightFix> fixes;  // in time order where timed
    TAltitudeSource altitude = TAltitudeSource::None;
    int leftOut = 0;  // fixes left out as impossible (spikes, jumps, 0°N 0°E)
    // Every position as recorded, in the order read, before any check: what
    // tells the same recording again (the logbook's identity of a flight).
    std::vector<TFlightFix> recorded;
};

// Fastest a paraglider or hang glider can move over the ground, with a
// strong tail wind: about 100 km/h of airspeed plus 150 km/h of wind is
// 70 m/s; 100 m/s leaves room and still catches every jump of a receiver.
inline constexpr double MaxGroundSpeed = 100;  // m/s
// Spiral dives sink at up to 20-25 m/s and no thermal lifts at 15; faster
// between two fixes is a glitch of the altitude.
inline constexpr double MaxVerticalSpeed = 30;  // m/s
// The strongest thermals lift a glider at about 10 m/s; a climb faster than
// this between fixes is the altitude's noise or a receiver's jump.
inline constexpr double MaxClimbSpeed = 15;  // m/s
// What a fix's own noise adds on top of the speeds between one-second fixes.
inline constexpr double HorizontalNoise = 50;  // m
inline constexpr double VerticalNoise = 10;    // m
// A flight has pressure altitude when at least this share of its fixes
// carries a non-zero one (loggers write 0 while the sensor warms up, and
// phones without a barometer write 0 throughout).
inline constexpr double PressureShare = 0.5;

// Whether a glider could get from fix a to the later fix b within the
// limits above; untimed fixes cannot be judged and pass.
bool Reachable(const TFlightFix& a, const TFlightFix& b);

// Checks the fixes of one flight. Pressure altitude for every fix when the
// flight has it, else the GNSS altitude of valid fixes; a fix without a value
// of the series is left out (unless the flight has no altitude at all). Timed fixes are sorted
// by time, a repeat of a second is dropped; a fix at 0°N 0°E, or a brief run
// of fixes that could only be reached faster than MaxGroundSpeed from the
// flight around it, or one whose altitude stands out of those around it, is
// left out; each is counted. Throws device::TAppError
// naming `name` when timed and untimed fixes mix out of order (no order can
// be told).
TCheckedTrack CheckFixes(const std::vector<TRecordedFix>& recorded, const QString& name);

// The positions and altitudes of fixes that need no altitude choice (a
// download's one altitude, or a GPX file's "ele") as recorded fixes with a
// GNSS altitude.
std::vector<TRecordedFix> AsRecorded(const std::vector<TFlightFix>& fixes);

// "барометрическая" or "GPS": which series a maximum altitude comes from.
QString AltitudeSourceText(TAltitudeSource source);
// How many fixes were left out, as the pilot is told.
QString LeftOutText(int count);
// The highest altitude of the fixes; NaN when none has one.
double HighestAltitude(const std::vector<TFlightFix>& fixes);

}  // namespace track
