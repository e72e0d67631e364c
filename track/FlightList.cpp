#include "track/FlightList.h"

#include <QCoreApplication>
#include <algorithm>

#include "device/TimeTexts.h"
#include "track/TrackExport.h"

namespace track {

using device::TSectorHeader;

std::vector<TListedFlight> FlightsInHeaders(const std::vector<TSectorHeader>& headers) {
    std::vector<TListedFlight> flights;
    for (std::size_t i = 0; i < headers.size();) {
        const TSectorHeader& first = headers[i];
        // A download starts only where a header names its own sector.
        if (first.Erased() || first.sectorNumber != first.sector) {
            ++i;
            continue;
        }
        TListedFlight flight;
        flight.flightNumber = first.flight;
        flight.firstSector = first.sector;
        flight.dated = first.Time().has_value();
        flight.start = first.RecordTime();
        std::size_t end = i + 1;
        while (end < headers.size() && headers[end].flight == first.flight &&
               !headers[end].Erased() && headers[end].sector == headers[end - 1].sector + 1)
            ++end;
        flight.sectors = int(end - i);
        const bool lastDated = headers[end - 1].Time().has_value();
        flight.lastSector = headers[end - 1].RecordTime();
        const bool span =
            flight.dated && lastDated && flight.lastSector >= flight.start && flight.sectors > 1;
        // The last sector is on the average half full.
        const device::TrackTime perSector =
            span ? (flight.lastSector - flight.start) / (flight.sectors - 1) : TypicalSectorSeconds;
        flight.durationEstimateSeconds =
            int(span ? flight.lastSector - flight.start + perSector / 2
                     : (flight.sectors - 1) * perSector + perSector / 2);
        if (!span) flight.lastSector = flight.start + (flight.sectors - 1) * perSector;
        flights.push_back(flight);
        i = end;
    }
    std::stable_sort(flights.begin(), flights.end(),
                     [](const TListedFlight& a, const TListedFlight& b) {
                         if (a.start != b.start) return a.start > b.start;
                         if (a.dated != b.dated) return a.dated;
                         return a.firstSector > b.firstSector;
                     });
    NameFlightFiles(flights);
    return flights;
}

void NameFlightFiles(std::vector<TListedFlight>& flights) {
    const auto count = [&](auto&& same) {
        return std::count_if(flights.begin(), flights.end(), same);
    };
    for (TListedFlight& f : flights) {
        const QString plain = QStringLiteral("Track%1").arg(f.flightNumber);
        if (count([&](const TListedFlight& o) { return o.flightNumber == f.flightNumber; }) == 1) {
            f.fileBase = plain;
            continue;
        }
        const bool dateShared =
            !f.dated || count([&](const TListedFlight& o) {
                            return o.flightNumber == f.flightNumber && o.start == f.start;
                        }) > 1;
        if (dateShared) {
            f.fileBase = plain + QStringLiteral("-s%1").arg(f.firstSector);
        } else {
            f.fileBase = DatedTrackBaseName(f.flightNumber, f.start);
        }
    }
}

QString FlightKey(const TListedFlight& flight) {
    return QStringLiteral("%1/%2/%3/%4")
        .arg(flight.flightNumber)
        .arg(flight.firstSector)
        .arg(flight.start)
        .arg(flight.dated ? 1 : 0);
}

std::vector<TListedFlight> OldestFirst(const std::vector<TListedFlight>& listed,
                                       const std::function<bool(std::size_t)>& chosen) {
    std::vector<TListedFlight> flights;
    for (std::size_t i = listed.size(); i-- > 0;)
        if (chosen(i)) flights.push_back(listed[i]);
    return flights;
}

std::vector<TListedFlight> NewFlights(const std::vector<TListedFlight>& listed) {
    return OldestFirst(listed, [&](std::size_t i) { return !listed[i].inLogbook; });
}

// The texts keep the context the catalogues hold them under.
QString ListedDateText(const TListedFlight& flight) {
    if (!flight.dated) return QCoreApplication::translate("flow", "без даты");
    return device::DateText(flight.start);
}

QString ListedTimeText(const TListedFlight& flight) {
    return flight.dated ? device::TimeOfDayText(flight.start) : device::NoTimeOfDayText();
}

QString ListedDurationText(const TListedFlight& flight) {
    const int minutes = (flight.durationEstimateSeconds + 30) / 60;
    return QLatin1Char('~') + device::DurationText(std::int64_t(minutes) * 60);
}

QString FlightsFoundText(std::size_t total, std::size_t fresh) {
    return QCoreApplication::translate("flow", "Полётов в памяти: %1, новых: %2")
        .arg(total)
        .arg(fresh);
}

QString NothingNewText() {
    return QCoreApplication::translate(
        "flow", "Новых полётов нет: все полёты из памяти прибора уже в журнале полётов");
}

QString InLogbookText(bool held, bool known) {
    if (!known) return QCoreApplication::translate("flow", "неизвестно");
    return held ? QCoreApplication::translate("flow", "да")
                : QCoreApplication::translate("flow", "нет");
}

}  // namespace track
