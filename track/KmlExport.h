#pragma once
// A flight as a KML 2.2 file for Google Earth: the track with its times (a
// gx:Track, for the time slider) and as one line (so the whole flight shows
// at once), both at absolute altitudes; take-off and landing marked; the
// flight's facts in the description.
#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

#include "track/FlightFix.h"

namespace track {

struct TKmlFlight {
    QString name;  // the document's and the track's name
    // Label and value, one line each in the description; plain text.
    std::vector<std::pair<QString, QString>> facts;
    std::vector<TFlightFix> fixes;
};

// The KML document (UTF-8). Fixes without a time are on the line but not in
// the gx:Track; a fix without an altitude is written at 0 m.
QByteArray KmlText(const TKmlFlight& flight);

// Writes it through the file store; throws device::TAppError naming the file.
void WriteKmlFile(const QString& path, const TKmlFlight& flight);

// The facts every KML file of a flight carries, from its fixes alone:
// date, take-off and landing times (UTC), duration, greatest altitude,
// track length and the straight distance from take-off to landing.
// "Продолжительность": the title of a flight's duration, in the facts and
// in the logbook's table.
QString DurationTitle();
std::vector<std::pair<QString, QString>> FlightFacts(const std::vector<TFlightFix>& fixes);

// The KML file of a download beside its other files: `igcOrTrackPath` with
// the suffix ".kml". Returns the path written; throws device::TAppError.
QString WriteKmlBeside(const QString& trackFilePath, const std::vector<TFlightFix>& fixes);

}  // namespace track
