#include "track/FlightStats.h"

#include <cmath>
#include <cstdlib>

#include "device/Frames.h"

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
        QStringLiteral("Полет №%1").arg(s.flightNumber),
        QStringLiteral("Полет %1.%2.%3 %4:%5")
            .arg(s.day)
            .arg(s.month)
            .arg(s.year)
            .arg(two(s.hour), two(s.minute)),
        QStringLiteral("Продолжительноость %1 минут").arg(s.durationMinutes),
        QStringLiteral("---------------------------"),
        QStringLiteral("Максимальные значения:"),
        QStringLiteral("Высота %1 м").arg(s.maxAltitude),
        // "C" and "c" below are Latin letters, as the instrument's texts have them.
        QStringLiteral("Верт.скорость вверх %1 м/c").arg(fixed2(s.maxClimb)),
        QStringLiteral("Верт.скорость вниз %1 м/c").arg(fixed2(s.maxSink)),
        QStringLiteral("Cкорость %1 км/ч").arg(s.maxSpeed),
        QStringLiteral("Удаление от базы %1 км").arg(fixed2(s.maxDistance)),
        QStringLiteral("Расстояние  %1 км").arg(fixed2(s.distance)),
    };
}

int TrackProgressPosition(int count, int minutes, bool bySector) {
    if (minutes == 0) return 90;
    const int scaled = count * 500;
    const float quotient = static_cast<float>(
        static_cast<double>(scaled) / (bySector ? minutes : static_cast<double>(minutes) * 16));
    return static_cast<int>(std::nearbyint(quotient));  // ties to even
}

}  // namespace track
