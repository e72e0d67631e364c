#pragma once
// One flight of the logbook: what is measured from its fixes and what is
// known about it (instrument, pilot, files).
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "device/TrackLists.h"
#include "track/CheckedTrack.h"

namespace logbook {

struct TFlightEntry {
    std::int64_t id = 0;  // 0 until stored
    // The same flight gives the same identity, from a download, its IGC file
    // or a GPX file made from either (see FlightIdentity).
    QString identity;

    device::TrackTime takeoffUtc = 0;
    device::TrackTime landingUtc = 0;
    // The instrument's time zone in minutes east of UTC; none for an import.
    std::optional<int> utcOffsetMinutes;
    std::int64_t durationSeconds = 0;
    double takeoffLatitude = 0, takeoffLongitude = 0, takeoffAltitude = 0;
    double landingLatitude = 0, landingLongitude = 0, landingAltitude = 0;
    double highestAltitude = 0, lowestAltitude = 0;
    double climb1s = 0, sink1s = 0, climb10s = 0, sink10s = 0;  // m/s
    double trackLengthMetres = 0;
    double straightMetres = 0;  // take-off to landing
    int fixCount = 0;

    QString instrumentModel;  // empty for an import from another instrument
    std::optional<int> firmwareVersion;
    QString pilot;
    QString glider;
    QString gliderId;
    QString civlId;  // the pilot's id in the international ranking
    QString site;
    QString notes;

    QString source;      // "download" or "import"
    QString sourcePath;  // the file imported, or the download's IGC file
    QStringList downloadFiles;
    QString storedFile;  // the logbook's own copy, relative to its folder

    // The cross-country score under XContest rules (points) and the id of its
    // flight kind ("fai", "free", ...; empty when nothing scores); none until
    // the flight was scored.
    std::optional<double> score;
    QString scoreKind;

    // Another entry of the same flight, from another recorder (a vario and a
    // phone): this one is shown beside it and never counted in totals.
    std::optional<std::int64_t> sameFlightAs;

    // Local date and time of take-off and landing: the instrument's zone
    // where known, else UTC.
    device::TrackTime LocalTakeoff() const {
        return takeoffUtc + utcOffsetMinutes.value_or(0) * 60;
    }
    device::TrackTime LocalLanding() const {
        return landingUtc + utcOffsetMinutes.value_or(0) * 60;
    }
};

// Fills the measured part of an entry from the checked fixes, and the
// identity from the positions as recorded. False when no fix carries a time:
// such a track is no flight to log.
bool MeasureFlight(const track::TCheckedTrack& flight, TFlightEntry& entry);

// The identity of a flight: a digest of its timed fixes, one a second (a
// repeat of the second before is left out, as an IGC reader does), each by
// its time and its position in thousandths of a minute (the precision of an
// IGC file). Altitudes take no part: files round or replace them.
QString FlightIdentity(const std::vector<track::TFlightFix>& fixes);

}  // namespace logbook
