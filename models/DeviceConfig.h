#pragma once
// The instrument's settings as the program shows and keeps them: the 150
// bytes moved as one block, where they sit in an identification reply, the
// defaults and the texts made of them. The windows and the command line
// both use these.
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "device/Frames.h"

namespace models {

// The settings block (148 bytes) followed by its 16-bit companion word.
using TDeviceConfig = std::array<std::uint8_t, device::DeviceConfigSize>;
inline constexpr int TimeZoneByte = 4;

// Where an identification reply carries the firmware version (16 bits,
// little-endian) and the settings.
inline constexpr int ReplyVersionOffset = 6;
inline constexpr int ReplyConfigOffset = 8;

// All 0 but the time zone, which is 3.
TDeviceConfig DefaultConfig();

TDeviceConfig ConfigOfReply(const std::uint8_t* rx);
std::uint16_t FirmwareVersionOfReply(const std::uint8_t* rx);

// The hex view of the settings: 16 bytes a line, with the offset.
QStringList ConfigHexLines(const TDeviceConfig& config);
// The time zones the program sets, in whole hours; the byte holds them as a
// signed number. Other values an instrument holds are shown as they are.
inline constexpr int MinTimeZoneHours = -12;
inline constexpr int MaxTimeZoneHours = 14;
inline constexpr bool TimeZoneSettable(int hours) {
    return hours >= MinTimeZoneHours && hours <= MaxTimeZoneHours;
}
inline constexpr int TimeZoneHours(std::uint8_t value) { return static_cast<std::int8_t>(value); }
inline constexpr std::uint8_t TimeZoneValue(int hours) { return static_cast<std::uint8_t>(hours); }

// "UTC+3", "UTC-5": the time zone byte as a signed number of hours.
QString TimeZoneText(std::uint8_t value);
// "Часовой пояс: UTC+3"; a value outside the settable range is marked so.
QString TimeZoneLine(const TDeviceConfig& config);
// "вне пределов от UTC-12 до UTC+14".
QString TimeZoneOutOfRangeText();
// Why settings whose time zone is outside the settable range are not written.
QString TimeZoneRefusedText(std::uint8_t value);

}  // namespace models
