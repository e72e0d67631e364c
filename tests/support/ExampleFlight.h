#pragma once
// The statistics of the example flight pilots know from the manual: flight 12
// on 7 June 2024 at 09:05, 95 minutes.
#include "sim/Simulator.h"

namespace testing {

inline sim::TFlightStats ExampleFlightStats() {
    sim::TFlightStats s;
    s.flightNumber = 12;
    s.startSector = 64;
    s.year = 2024;
    s.month = 6;
    s.day = 7;
    s.hour = 9;
    s.minute = 5;
    s.durationMinutes = 95;
    s.maxClimb = 34;
    s.maxSink = -52;
    s.maxAltitude = 1870;
    s.maxSpeed = 61;
    s.maxDistance = 123;
    s.distance = 456;
    return s;
}

}  // namespace testing
