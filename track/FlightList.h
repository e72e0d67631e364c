#pragma once
// The flights in an instrument's track memory, as the sector headers of a
// scan show them, with the names of their files and their texts for the
// flight list window and the command line.
//
// A listed flight is a run of sectors of one flight number from a sector
// whose header names itself: what a download from that sector reads before
// it meets another flight. A sector of another flight inside a flight thus
// splits it into two listed flights, the second downloaded from the sector
// after the stranger.
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "device/SectorHeaders.h"
#include "device/TrackLists.h"

namespace track {

// Seconds of track one full sector holds at one record a second, four GPS
// records and one sensor sample in five seconds: (4096 - 256) / 10.8.
inline constexpr int TypicalSectorSeconds = 355;
// At most one record a second, each of six bytes at least.
inline constexpr int MaxSectorSeconds = (4096 - 256) / 6;

struct TListedFlight {
    std::uint16_t flightNumber = 0;
    std::uint16_t firstSector = 0;
    int sectors = 0;
    // The first header carries a valid date; otherwise `start` is the
    // fallback time a download gives its records.
    bool dated = false;
    device::TrackTime start = 0;       // the time of its first record
    device::TrackTime lastSector = 0;  // the time of its last sector's first record
    int durationEstimateSeconds = 0;
    bool inLogbook = false;
    // The file name without extension its download is written under.
    QString fileBase;

    // The latest a record of this flight can be stamped with.
    device::TrackTime LatestEnd() const { return lastSector + MaxSectorSeconds; }
    bool operator==(const TListedFlight&) const = default;
};

// The flights in `headers` (in sector order), newest first; undated flights
// after dated ones of the same time, later sectors first among equals.
std::vector<TListedFlight> FlightsInHeaders(const std::vector<device::TSectorHeader>& headers);

// "Track<N>" unless another listed flight has the same number; then the
// date and start time are added ("Track7-2024-06-07-0912"), and where even
// that is shared, the first sector ("Track7-s40").
void NameFlightFiles(std::vector<TListedFlight>& flights);

// What tells a listed flight from every other of one instrument, in every
// scan: "number/sector/start/dated". Kept in files, so its form stays.
QString FlightKey(const TListedFlight& flight);

// The flights of `listed` (newest first, as a scan lists them) whose index
// `chosen` accepts, oldest first: the order the instrument wrote them in, and
// the order every download takes them in.
std::vector<TListedFlight> OldestFirst(const std::vector<TListedFlight>& listed,
                                       const std::function<bool(std::size_t)>& chosen);
// The flights of `listed` that the logbook does not hold, oldest first.
std::vector<TListedFlight> NewFlights(const std::vector<TListedFlight>& listed);

// Texts of a listed flight.
QString ListedDateText(const TListedFlight& flight);      // "2024-06-07", "без даты"
QString ListedTimeText(const TListedFlight& flight);      // "09:12:05", "--:--:--"
QString ListedDurationText(const TListedFlight& flight);  // "~0:31"
// "Полётов в памяти: 5, новых: 2"
QString FlightsFoundText(std::size_t total, std::size_t fresh);
// What "all new" says when the logbook holds every listed flight.
QString NothingNewText();
// Whether the logbook holds a listed flight: "да", "нет", or "неизвестно"
// when the logbook could not be read.
QString InLogbookText(bool held, bool known);

}  // namespace track
