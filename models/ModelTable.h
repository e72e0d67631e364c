#pragma once
// The instrument models the program knows, with their display names.
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace models {

using DeviceModelId = std::uint8_t;

struct DeviceModelInfo {
    DeviceModelId id;
    const char* name;  // UTF-8
};

extern const std::array<DeviceModelInfo, 8> DeviceModelTable;
// The highest model number a configuration file may name.
inline constexpr DeviceModelId MaxModelId = 105;

// The model a reply's number is shown, opened and written as: a model the
// table does not know (0) counts as the default model 1.
DeviceModelId ModelShown(std::uint16_t reported);

// True for the models that have a device window: the default model 1 and
// the instruments 100 to 105.
bool HasDeviceWindow(DeviceModelId model);

// True when the program knows the settings of an instrument that names this
// model in its identification (none: a reply that names no model): the
// models with a device window. Any other instrument is shown in the default
// window but never written to: its settings may mean something else.
bool KnownInstrumentModel(std::optional<std::uint16_t> reported);

// True when some row's id equals the number; 0 counts as known (its own row).
bool IsKnownModel(std::uint16_t model);
// The row's name, or "???" when no row matches.
QString GetModelName(DeviceModelId model);
// "Mevra-B (101)": how every text names a model.
QString ModelText(DeviceModelId model);

}  // namespace models
