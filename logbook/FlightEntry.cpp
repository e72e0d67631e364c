#include "logbook/FlightEntry.h"

#include <QCryptographicHash>
#include <QtEndian>
#include <cmath>

#include "track/FlightPhases.h"
#include "track/Geodesy.h"

namespace logbook {

namespace {

qint32 Thousandths(double degrees) { return static_cast<qint32>(std::llround(degrees * 60000.0)); }

}  // namespace

QString FlightIdentity(const std::vector<track::TFlightFix>& fixes) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    bool any = false;
    device::TrackTime last = 0;
    for (const track::TFlightFix& fix : fixes) {
        if (!fix.hasTime || (any && fix.time <= last)) continue;
        any = true;
        last = fix.time;
        char record[16];
        qToLittleEndian<qint64>(fix.time, record);
        qToLittleEndian<qint32>(Thousandths(fix.latitude), record + 8);
        qToLittleEndian<qint32>(Thousandths(fix.longitude), record + 12);
        hash.addData(QByteArrayView(record, sizeof record));
    }
    return QString::fromLatin1(hash.result().toHex());
}

bool MeasureFlight(const track::TCheckedTrack& flight, TFlightEntry& entry) {
    const std::vector<track::TFlightFix>& fixes = flight.fixes;
    std::vector<track::TFlightFix> timed;
    timed.reserve(fixes.size());
    for (const track::TFlightFix& fix : fixes)
        if (fix.hasTime && (timed.empty() || fix.time > timed.back().time)) timed.push_back(fix);
    if (timed.empty()) return false;

    const track::TFlightSpan span = track::DetectFlight(timed);
    const track::TFlightFix& takeoff = timed[span.takeoff];
    const track::TFlightFix& landing = timed[span.landing];
    entry.identity = FlightIdentity(flight.recorded);
    entry.takeoffUtc = takeoff.time;
    entry.landingUtc = landing.time;
    // Pauses on the ground (landed and relaunched) are not flying time.
    entry.durationSeconds = span.detected ? span.airSeconds : landing.time - takeoff.time;
    auto altitude = [](const track::TFlightFix& f) {
        return std::isnan(f.altitude) ? 0.0 : f.altitude;
    };
    entry.takeoffLatitude = takeoff.latitude;
    entry.takeoffLongitude = takeoff.longitude;
    entry.takeoffAltitude = altitude(takeoff);
    entry.landingLatitude = landing.latitude;
    entry.landingLongitude = landing.longitude;
    entry.landingAltitude = altitude(landing);

    const track::TFlightMeasures measures = track::MeasureFlight(timed, span);
    entry.highestAltitude = measures.highest.value_or(0);
    entry.lowestAltitude = measures.lowest.value_or(0);
    const track::TClimbExtremes extremes = track::ClimbExtremes(timed, span);
    entry.climb1s = extremes.climb1s;
    entry.sink1s = extremes.sink1s;
    entry.climb10s = extremes.climb10s;
    entry.sink10s = extremes.sink10s;
    entry.trackLengthMetres = measures.lengthMetres;
    entry.straightMetres = measures.straightMetres;
    entry.fixCount = int(fixes.size());
    return true;
}

}  // namespace logbook
