#pragma once
// The flight statistics reply and its text, shared by the track page and the
// command line.
#include <QLocale>
#include <QStringList>
#include <cstdint>

#include "device/TrackLists.h"
#include "track/CheckedTrack.h"

namespace track {

struct TFlightStatsReply {
    std::uint16_t flightNumber = 0;
    std::uint16_t startSector = 0;
    std::uint16_t year = 0;
    std::uint8_t month = 0, day = 0, hour = 0, minute = 0;
    std::uint16_t durationMinutes = 0;
    std::int16_t maxClimb = 0;      // 0.1 m/s
    std::int16_t maxSink = 0;       // 0.1 m/s
    std::int16_t maxAltitude = 0;   // m
    std::uint8_t maxSpeed = 0;      // km/h
    std::uint16_t maxDistance = 0;  // 0.1 km
    std::uint16_t distance = 0;     // 0.1 km
    bool operator==(const TFlightStatsReply&) const = default;
};

// Reads the fields from a statistics reply frame (byte 0 = frame header).
TFlightStatsReply ParseFlightStats(const std::uint8_t* reply);
// The eleven lines shown for a flight; "%f" values with two decimals, the
// locale's decimal separator and "-" for a negative value.
QStringList FlightStatsLines(const TFlightStatsReply& stats, const QLocale& locale = QLocale());
// The statistics of a downloaded flight worked out from its own records, as
// the instrument reports them for its last flights: the start is the first
// record's time, every record one second, the climb and sink over about ten
// seconds, the speed over about five, distances along the fixes of
// `checked`, the download's checked track (CheckedDownload of lists.gps).
TFlightStatsReply StatsOfTrack(const device::TrackSnapshot& lists, const TCheckedTrack& checked,
                               std::uint16_t flightNumber, std::uint16_t startSector);
// Progress bar position after `count` sectors (or pages) of a flight of
// `minutes`: 90 when the duration is unknown.
int TrackProgressPosition(int count, int minutes, bool bySector);

}  // namespace track
