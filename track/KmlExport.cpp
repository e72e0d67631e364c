#include "track/KmlExport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cmath>
#include <pugixml.hpp>
#include <sstream>

#include "device/FileStore.h"
#include "device/TimeTexts.h"
#include "track/FlightPhases.h"
#include "track/Geodesy.h"

namespace track {

namespace {

std::string Utf8(const QString& text) { return text.toStdString(); }

// Longitude, latitude and altitude as KML orders them; about 1 cm and 1 cm.
std::string Coordinate(const TFlightFix& fix, char separator) {
    char text[96];
    const double altitude = std::isnan(fix.altitude) ? 0.0 : fix.altitude;
    std::snprintf(text, sizeof text, "%.7f%c%.7f%c%.2f", fix.longitude, separator, fix.latitude,
                  separator, altitude);
    return text;
}

void AddText(pugi::xml_node parent, const char* name, const std::string& text) {
    parent.append_child(name).text().set(text.c_str());
}

void AddPoint(pugi::xml_node folder, const QString& name, const char* style,
              const TFlightFix& fix) {
    pugi::xml_node mark = folder.append_child("Placemark");
    AddText(mark, "name", Utf8(name));
    if (fix.hasTime) AddText(mark.append_child("TimeStamp"), "when", device::TimeText(fix.time));
    AddText(mark, "styleUrl", style);
    pugi::xml_node point = mark.append_child("Point");
    AddText(point, "altitudeMode", "absolute");
    AddText(point, "coordinates", Coordinate(fix, ','));
}

void AddLineStyle(pugi::xml_node document, const char* id, const char* colour) {
    pugi::xml_node style = document.append_child("Style");
    style.append_attribute("id") = id;
    pugi::xml_node line = style.append_child("LineStyle");
    AddText(line, "color", colour);
    AddText(line, "width", "2");
}

}  // namespace

std::vector<std::pair<QString, QString>> FlightFacts(const std::vector<TFlightFix>& fixes) {
    std::vector<std::pair<QString, QString>> facts;
    if (fixes.empty()) return facts;
    const TFlightSpan span = DetectFlight(fixes);
    const TFlightFix& takeoff = fixes[span.takeoff];
    const TFlightFix& landing = fixes[span.landing];
    if (takeoff.hasTime && landing.hasTime) {
        facts.emplace_back(QCoreApplication::translate("track", "Дата"),
                           device::DateText(takeoff.time));
        facts.emplace_back(QCoreApplication::translate("track", "Взлёт (UTC)"),
                           device::TimeOfDayText(takeoff.time));
        facts.emplace_back(QCoreApplication::translate("track", "Посадка (UTC)"),
                           device::TimeOfDayText(landing.time));
        facts.emplace_back(DurationTitle(), device::DurationText(landing.time - takeoff.time));
    }
    const TFlightMeasures measures = MeasureFlight(fixes, span);
    if (measures.highest)
        facts.emplace_back(
            QCoreApplication::translate("track", "Наибольшая высота"),
            QCoreApplication::translate("track", "%1 м").arg(std::lround(*measures.highest)));
    facts.emplace_back(QCoreApplication::translate("track", "Длина трека"),
                       QCoreApplication::translate("track", "%1 км")
                           .arg(measures.lengthMetres / 1000.0, 0, 'f', 1));
    facts.emplace_back(QCoreApplication::translate("track", "Взлёт - посадка"),
                       QCoreApplication::translate("track", "%1 км")
                           .arg(measures.straightMetres / 1000.0, 0, 'f', 1));
    return facts;
}

QString DurationTitle() { return QCoreApplication::translate("track", "Продолжительность"); }

QByteArray KmlText(const TKmlFlight& flight) {
    pugi::xml_document doc;
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node kml = doc.append_child("kml");
    kml.append_attribute("xmlns") = "http://www.opengis.net/kml/2.2";
    kml.append_attribute("xmlns:gx") = "http://www.google.com/kml/ext/2.2";
    pugi::xml_node document = kml.append_child("Document");
    AddText(document, "name", Utf8(flight.name));
    QString description;
    for (const auto& [label, value] : flight.facts)
        description += label + QStringLiteral(": ") + value + QLatin1Char('\n');
    // Plain text: pugixml escapes it, and Google Earth shows it as it stands.
    AddText(document, "description", Utf8(description.trimmed()));
    AddLineStyle(document, "track", "ff0000ff");
    AddLineStyle(document, "line", "ffff0000");

    pugi::xml_node folder = document.append_child("Folder");
    AddText(folder, "name", Utf8(flight.name));

    pugi::xml_node timed = folder.append_child("Placemark");
    AddText(timed, "name", Utf8(flight.name));
    AddText(timed, "styleUrl", "#track");
    pugi::xml_node track = timed.append_child("gx:Track");
    AddText(track, "altitudeMode", "absolute");
    for (const TFlightFix& fix : flight.fixes)
        if (fix.hasTime) AddText(track, "when", device::TimeText(fix.time));
    for (const TFlightFix& fix : flight.fixes)
        if (fix.hasTime) AddText(track, "gx:coord", Coordinate(fix, ' '));

    pugi::xml_node whole = folder.append_child("Placemark");
    AddText(whole, "name", Utf8(flight.name + QCoreApplication::translate("track", " (линия)")));
    AddText(whole, "styleUrl", "#line");
    pugi::xml_node line = whole.append_child("LineString");
    AddText(line, "altitudeMode", "absolute");
    std::string coordinates;
    coordinates.reserve(flight.fixes.size() * 40);
    for (const TFlightFix& fix : flight.fixes) {
        coordinates += Coordinate(fix, ',');
        coordinates += '\n';
    }
    AddText(line, "coordinates", coordinates);

    if (!flight.fixes.empty()) {
        const TFlightSpan span = DetectFlight(flight.fixes);
        AddPoint(folder, QCoreApplication::translate("track", "Взлёт"), "#track",
                 flight.fixes[span.takeoff]);
        AddPoint(folder, QCoreApplication::translate("track", "Посадка"), "#track",
                 flight.fixes[span.landing]);
    }

    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return QByteArray::fromStdString(out.str());
}

void WriteKmlFile(const QString& path, const TKmlFlight& flight) {
    device::WriteFileSafely(path, KmlText(flight));
}

QString WriteKmlBeside(const QString& trackFilePath, const std::vector<TFlightFix>& fixes) {
    const QFileInfo info(trackFilePath);
    const QString path =
        info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".kml");
    WriteKmlFile(path, {info.completeBaseName(), FlightFacts(fixes), fixes});
    return path;
}

}  // namespace track
