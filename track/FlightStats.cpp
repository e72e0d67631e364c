#include "track/FlightStats.h"

#include <QCoreApplication>
#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "device/Frames.h"
#include "track/FlightPhases.h"
#include "track/Geodesy.h"

namespace track {

using device::LE16;

TFlightStatsReply ParseFlightStats(const std::uint8_t* r) {
    TFlightStatsReply s;
    s.flightNumber = LE16(r + 8);
    s.startSector = LE16(r + 10);
    s.year = LE16(r + 22);
    s.month = r[24];
    s.day = r[25];
    s.hour = r[26];
    s.minute = r[27];
    s.durationMinutes = LE16(r + 30);
    s.maxClimb = static_cast<std::int16_t>(LE16(r + 32));
    s.maxSink = static_cast<std::int16_t>(LE16(r + 34));
    s.maxAltitude = static_cast<std::int16_t>(LE16(r + 36));
    s.maxSpeed = r[38];
    s.maxDistance = LE16(r + 40);
    s.distance = LE16(r + 42);
    return s;
}

QStringList FlightStatsLines(const TFlightStatsReply& s, const QLocale& locale) {
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    // The locale gives the decimal separator; the minus sign is always "-"
    // (some locales would give U+2212).
    const auto fixed2 = [&plain](int tenths) {
        const QString magnitude = plain.toString(std::abs(tenths) / 10.0, 'f', 2);
        return tenths < 0 ? QLatin1Char('-') + magnitude : magnitude;
    };
    const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return {
        QCoreApplication::translate("track", "Полет №%1").arg(s.flightNumber),
        QCoreApplication::translate("track", "Полет %1.%2.%3 %4:%5")
            .arg(s.day)
            .arg(s.month)
            .arg(s.year)
            .arg(two(s.hour), two(s.minute)),
        QCoreApplication::translate("track", "Продолжительноость %n минут", nullptr,
                                    s.durationMinutes),
        QStringLiteral("---------------------------"),
        QCoreApplication::translate("track", "Максимальные значения:"),
        QCoreApplication::translate("track", "Высота %1 м").arg(s.maxAltitude),
        // "C" and "c" below are Latin letters, as the instrument's texts have them.
        QCoreApplication::translate("track", "Верт.скорость вверх %1 м/c").arg(fixed2(s.maxClimb)),
        QCoreApplication::translate("track", "Верт.скорость вниз %1 м/c").arg(fixed2(s.maxSink)),
        QCoreApplication::translate("track", "Cкорость %1 км/ч").arg(s.maxSpeed),
        QCoreApplication::translate("track", "Удаление от базы %1 км").arg(fixed2(s.maxDistance)),
        QCoreApplication::translate("track", "Расстояние  %1 км").arg(fixed2(s.distance)),
    };
}

int TrackProgressPosition(int count, int minutes, bool bySector) {
    if (minutes == 0) return 90;
    const int scaled = count * 500;
    const float quotient = static_cast<float>(
        static_cast<double>(scaled) / (bySector ? minutes : static_cast<double>(minutes) * 16));
    return static_cast<int>(std::nearbyint(quotient));  // ties to even
}

TFlightStatsReply StatsOfTrack(const device::TrackSnapshot& lists, const TCheckedTrack& checked,
                               std::uint16_t flightNumber, std::uint16_t startSector) {
    TFlightStatsReply s;
    s.flightNumber = flightNumber;
    s.startSector = startSector;
    s.durationMinutes = static_cast<std::uint16_t>(
        std::min<std::size_t>(65535, (lists.gps.size() + lists.eng.size()) / 60));
    std::optional<device::TrackTime> first;
    if (!lists.gps.empty()) first = lists.gps.front().time;
    if (!lists.eng.empty())
        first = std::min(first.value_or(lists.eng.front().time), lists.eng.front().time);
    if (first) {
        const QDateTime start = QDateTime::fromSecsSinceEpoch(*first, Qt::UTC);
        s.year = static_cast<std::uint16_t>(start.date().year());
        s.month = static_cast<std::uint8_t>(start.date().month());
        s.day = static_cast<std::uint8_t>(start.date().day());
        s.hour = static_cast<std::uint8_t>(start.time().hour());
        s.minute = static_cast<std::uint8_t>(start.time().minute());
    }
    std::vector<TFlightFix> fixes;
    for (const TFlightFix& fix : checked.fixes)
        if (fix.hasTime && !std::isnan(fix.altitude)) fixes.push_back(fix);
    if (fixes.empty()) return s;
    std::vector<double> along(fixes.size(), 0.0);
    double highest = fixes[0].altitude, climb = 0, sink = 0, speed = 0, away = 0;
    std::size_t climbFrom = 0, speedFrom = 0;
    for (std::size_t i = 1; i < fixes.size(); ++i) {
        const TFlightFix& f = fixes[i];
        along[i] = along[i - 1] + FixDistance(fixes[i - 1], f);
        highest = std::max(highest, f.altitude);
        away = std::max(away, FixDistance(fixes[0], f));
        while (f.time - fixes[climbFrom + 1].time >= 10) ++climbFrom;
        while (f.time - fixes[speedFrom + 1].time >= 5) ++speedFrom;
        if (const auto dt = f.time - fixes[climbFrom].time; dt >= 5) {
            const double vz = (f.altitude - fixes[climbFrom].altitude) / double(dt);
            climb = std::max(climb, vz);
            sink = std::min(sink, vz);
        }
        if (const auto dt = f.time - fixes[speedFrom].time; dt >= 4)
            speed = std::max(speed, (along[i] - along[speedFrom]) / double(dt) * 3.6);
    }
    const auto clamp16 = [](double v) {
        return static_cast<std::int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
    };
    s.maxAltitude = clamp16(highest);
    s.maxClimb = clamp16(climb * 10);
    s.maxSink = clamp16(sink * 10);
    s.maxSpeed = static_cast<std::uint8_t>(std::min(255L, std::lround(speed)));
    s.maxDistance = static_cast<std::uint16_t>(std::min(65535L, std::lround(away / 100)));
    s.distance = static_cast<std::uint16_t>(std::min(65535L, std::lround(along.back() / 100)));
    return s;
}

}  // namespace track
