#pragma once
// One position of a flight as the IGC file and the flight picture take it:
// from a download's GPS list or from a GPX file.
#include <limits>

#include "device/TrackLists.h"

namespace track {

struct TFlightFix {
    double latitude = 0;                                         // degrees, -90..90
    double longitude = 0;                                        // degrees, -180..180
    double altitude = std::numeric_limits<double>::quiet_NaN();  // metres; NaN when unknown
    bool hasTime = false;
    device::TrackTime time = 0;  // UTC, when hasTime
};

}  // namespace track
