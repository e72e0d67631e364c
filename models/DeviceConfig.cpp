#include "models/DeviceConfig.h"

#include <QCoreApplication>
#include <algorithm>

namespace models {

TDeviceConfig DefaultConfig() {
    TDeviceConfig config{};
    config[TimeZoneByte] = 3;
    return config;
}

TDeviceConfig ConfigOfReply(const std::uint8_t* rx) {
    TDeviceConfig config;
    std::copy_n(rx + ReplyConfigOffset, config.size(), config.begin());
    return config;
}

std::uint16_t FirmwareVersionOfReply(const std::uint8_t* rx) {
    return device::LE16(rx + ReplyVersionOffset);
}

QStringList ConfigHexLines(const TDeviceConfig& config) {
    QStringList lines;
    for (std::size_t row = 0; row < config.size(); row += 16) {
        QString line = QStringLiteral("%1:").arg(row, 3, 10, QLatin1Char('0'));
        for (std::size_t i = row; i < std::min(row + 16, config.size()); ++i)
            line += QStringLiteral(" %1").arg(config[i], 2, 16, QLatin1Char('0')).toUpper();
        lines << line;
    }
    return lines;
}

QString TimeZoneText(std::uint8_t value) {
    const int hours = TimeZoneHours(value);
    return QStringLiteral("UTC%1%2").arg(hours < 0 ? QString() : QStringLiteral("+")).arg(hours);
}

QString TimeZoneLine(const TDeviceConfig& config) {
    const std::uint8_t value = config[TimeZoneByte];
    QString line = QCoreApplication::translate("models", "Часовой пояс: ") + TimeZoneText(value);
    if (!TimeZoneSettable(TimeZoneHours(value)))
        line += QStringLiteral(" (%1)").arg(TimeZoneOutOfRangeText());
    return line;
}

QString TimeZoneOutOfRangeText() {
    return QCoreApplication::translate("models", "вне пределов от %1 до %2")
        .arg(TimeZoneText(TimeZoneValue(MinTimeZoneHours)),
             TimeZoneText(TimeZoneValue(MaxTimeZoneHours)));
}

QString TimeZoneRefusedText(std::uint8_t value) {
    return QCoreApplication::translate("models", "Настройки не записаны: часовой пояс %1 %2")
        .arg(TimeZoneText(value), TimeZoneOutOfRangeText());
}

}  // namespace models
