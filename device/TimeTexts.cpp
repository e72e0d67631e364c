#include "device/TimeTexts.h"

namespace device {

namespace {
QString Two(std::int64_t v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }
}  // namespace

QString DateText(TrackTime t) { return QString::fromStdString(TimeText(t).substr(0, 10)); }

QString TimeOfDayText(TrackTime t, bool withSeconds) {
    const TrackTime ofDay = (t % 86400 + 86400) % 86400;
    QString text = Two(ofDay / 3600) + QLatin1Char(':') + Two(ofDay / 60 % 60);
    if (withSeconds) text += QLatin1Char(':') + Two(ofDay % 60);
    return text;
}

QString NoTimeOfDayText() { return QStringLiteral("--:--:--"); }

QString DurationText(std::int64_t seconds) {
    // Measured durations never run backwards; a stored one that does reads
    // as one negative figure ("-1:30", not "-1:-30").
    const std::uint64_t size = seconds < 0 ? 0 - std::uint64_t(seconds) : std::uint64_t(seconds);
    return (seconds < 0 ? QStringLiteral("-") : QString()) + QString::number(size / 3600) +
           QLatin1Char(':') + Two(std::int64_t(size / 60 % 60));
}

}  // namespace device
