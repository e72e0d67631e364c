#pragma once
// The instrument models the program knows, with their display names.
#include <QString>
#include <array>
#include <cstdint>

namespace models {

using DeviceModelId = std::uint8_t;

struct DeviceModelInfo {
    DeviceModelId id;
    const char* name;  // UTF-8
};

extern const std::array<DeviceModelInfo, 8> DeviceModelTable;

// True when some row's id equals the number; 0 counts as known (its own row).
bool IsKnownModel(std::uint16_t model);
// The row's name, or "???" when no row matches.
QString GetModelName(DeviceModelId model);

}  // namespace models
