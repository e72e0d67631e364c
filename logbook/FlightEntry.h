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

// Where an entry's time zone comes from.
enum class TZoneSource {
    Unknown,
    Instrument,  // the instrument's settings (a download)
    FileHeader,  // the IGC file's "HFTZN" header
    Longitude,   // round(longitude / 15) hours: an import that names none
    Site,        // another flight from the same site (a manual entry)
    Computer,    // this computer's zone on that date (a manual entry)
};

struct TFlightEntry {
    std::int64_t id = 0;  // 0 until stored; never changes
    // The logbook number: the place by take-off time, counted from 1. It
    // follows the dates, so an older flight added later moves the newer
    // ones on; the id is what stays.
    std::int64_t number = 0;
    // The same flight gives the same identity, from a download, its IGC file
    // or a GPX file made from either (see FlightIdentity).
    QString identity;

    device::TrackTime takeoffUtc = 0;
    device::TrackTime landingUtc = 0;
    // The take-off place's time zone in minutes east of UTC, and where it
    // comes from; none only in a logbook written before zones were kept.
    std::optional<int> utcOffsetMinutes;
    TZoneSource zoneSource = TZoneSource::Unknown;
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
    std::optional<std::int64_t> sameFlightNumber;  // that entry's number

    // A flight the pilot entered by hand: no track, no position.
    bool Manual() const { return source == QLatin1String("manual"); }

    // Local date and time of take-off and landing: the take-off place's
    // zone where known, else UTC.
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
