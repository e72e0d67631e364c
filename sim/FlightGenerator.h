#pragma once
// Believable flights for the simulated instrument: a paraglider taking off at
// about 1500 m, climbing in drifting thermals, gliding between them and
// landing in the valley. The result is track memory laid out as the
// instrument writes it, with the statistics the instrument would report.
#include <array>
#include <cstdint>
#include <vector>

#include "sim/Simulator.h"

namespace sim {

struct TFlightPlan {
    int flights = 2;   // one after another, one a day
    int minutes = 30;  // duration of each flight
    // When given, one flight for each duration (minutes), in memory order;
    // `flights` and `minutes` are then not used.
    std::vector<int> minutesEach;
    std::uint16_t firstSector = 1;
    // The numbers count on from here and wrap from 65535 to 0.
    std::uint16_t firstFlightNumber = 12;
    // Erased sectors left between one flight and the next.
    int gapSectors = 0;
    // The middle sector of the first flight of three sectors or more is
    // one of another, older flight, as when the instrument wrote the rest of
    // the flight around a sector it could not erase.
    bool foreignSector = false;
    std::uint16_t year = 2024;  // start of the first flight
    std::uint8_t month = 6, day = 7, hour = 10, minute = 12, second = 0;
    std::uint32_t seed = 1;
    double latitude = 46.02;  // take-off site
    double longitude = 7.03;
    int takeoffAltitude = 1500;
    int landingAltitude = 650;

    // Oddities, all in the last flight (the one reported as index 0):
    bool monthZero = false;      // its headers and statistics carry month 0 (no date)
    bool invalidDate = false;    // its headers and statistics carry 30 February
    bool unknownRecord = false;  // one 18-byte record of kind 18 in its first sector
    // Its first sector ends with a GPS record whose last 6 bytes would lie in
    // the next sector's header (which overwrites them). Only for flights of
    // more than one sector.
    bool recordIntoNextSector = false;
    // Every sector ends in erased bytes, as a real instrument's usually do:
    // a new sector begins when the next record might not fit.
    bool erasedSectorEnds = false;
};

struct TGeneratedFlight {
    std::uint16_t flightNumber = 0;
    std::uint16_t firstSector = 0;
    int sectors = 0;
    int gpsRecords = 0;  // GPS and sensor records written, the cut one included
    int engRecords = 0;
    TFlightStats stats;
};

struct TGeneratedMemory {
    std::vector<std::uint8_t> memory;       // erased (0xFF) after the last flight
    std::vector<TGeneratedFlight> flights;  // in memory order
    // What the instrument reports: 0 = last flight, 1 = the one before
    // (zero when there is none).
    std::array<TFlightStats, 2> stats{};
    // With foreignSector: where the other flight's sector lies and its
    // number (sector 0 when no flight was long enough).
    std::uint16_t foreignSector = 0;
    std::uint16_t foreignFlightNumber = 0;
};

// Deterministic for a given plan (seed included). Every record takes one
// second of the instrument's clock; each sector header carries the time of its
// first record; records are packed so that every sector but a flight's last is
// filled to its final byte (so records straddle every page border inside).
TGeneratedMemory GenerateFlights(const TFlightPlan& plan);

}  // namespace sim
