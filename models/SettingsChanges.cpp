#include "models/SettingsChanges.h"

#include <QCoreApplication>
#include <algorithm>

namespace models {

namespace {
QString Hex(std::uint8_t value) {
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

std::vector<TByteChange> CompareSettings(const TDeviceConfig& before, const TDeviceConfig& after) {
    std::vector<TByteChange> changes;
    for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i] != after[i]) changes.push_back({int(i), before[i], after[i]});
    return changes;
}

QStringList ChangeLines(const std::vector<TByteChange>& changes, int limit) {
    QStringList lines;
    const std::size_t shown =
        limit > 0 ? std::min(changes.size(), std::size_t(limit)) : changes.size();
    for (std::size_t i = 0; i < shown; ++i) {
        const TByteChange& change = changes[i];
        if (change.offset == TimeZoneByte)
            lines << QCoreApplication::translate("models", "Часовой пояс: %1 → %2")
                         .arg(TimeZoneText(change.before), TimeZoneText(change.after));
        else
            lines << QCoreApplication::translate("models", "Байт %1: %2 → %3")
                         .arg(change.offset)
                         .arg(Hex(change.before), Hex(change.after));
    }
    if (shown < changes.size())
        lines << QCoreApplication::translate("models", "...и еще байт: %1")
                     .arg(changes.size() - shown);
    return lines;
}

QString ChangeSummary(const TInstrument& instrument, const std::vector<TByteChange>& changes,
                      int limit) {
    QStringList text;
    text << QCoreApplication::translate("models", "В приборе %1 изменятся настройки (байт: %2):")
                .arg(instrument.Name())
                .arg(changes.size());
    text << ChangeLines(changes, limit);
    text << QCoreApplication::translate("models", "Записать эти изменения в прибор?");
    return text.join(QLatin1Char('\n'));
}

}  // namespace models
