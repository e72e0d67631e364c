#pragma once
// The per-user settings store: "comportname" (the last port), "filepath"
// (the folder of the last opened configuration file) and "trackpath" (the
// folder of the track files, absent for the current directory); and the present serial
// ports with the mark of the USB-serial chips the instruments are sold with.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "serial/UnitNVC.h"
#include "track/IgcExport.h"

namespace app {

// The stored value of `name`; a missing or empty value is stored as
// `defaultValue` and that is returned.
QString ReadSetting(const QString& name, const QString& defaultValue);
void WriteSetting(const QString& name, const QString& value);
// The stored value of `name`, empty when missing; nothing is stored.
QString StoredSetting(const QString& name);
// The language the window program's menu chose ("ru", "en"), absent for the system's.
inline const QString LanguageSetting = QStringLiteral("language");
// Keeps the track page's folder of track files in the store as "trackpath".
void UseSettingsForTrackFolder();
// The pilot's profile: "pilot", "glidertype", "gliderid", "civlid" and
// "competitionid", empty until the pilot fills them in.
track::TPilotProfile ReadPilotProfile();
void WritePilotProfile(const track::TPilotProfile& profile);
// Makes the stored profile the one every new IGC file carries.
void UseSettingsForPilotProfile();

// A present serial device as the system describes it: a readable name with
// the port name in parentheses, e.g. "USB-SERIAL CH340 (ttyUSB0)".
struct TPortDevice {
    QString name;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
};

struct TPortItem {
    QString caption;
    bool adapter = false;
    bool operator==(const TPortItem& o) const {
        return caption == o.caption && adapter == o.adapter;
    }
};

// "description (port)", the form the port list reads the port name from.
QString DeviceName(const QString& description, const QString& port);

// True for the chips "STM", "CP210" and "CH340" (case-sensitive), by name.
bool IsAdapterName(const QString& name);
// True for the vendors of those chips (STMicroelectronics, Silicon Labs, WCH).
bool IsAdapterVendor(quint16 vendorId);

// The list items for the devices, in their order, duplicates kept: the text
// between the "(" of the port name (or of a path) and the next ")" (empty
// without one); devices without a port name in parentheses are left out.
std::vector<TPortItem> PortItems(const std::vector<TPortDevice>& devices);

// A port in the registry's map of serial ports (Windows's
// HARDWARE\DEVICEMAP\SERIALCOMM): the value's name, the driver's device
// such as "\Device\Serial0", and its data, the port name such as "COM1".
struct TRegistryPort {
    QString device;
    QString port;
};

// The devices the device-setup interface lists, in its order, then each port
// of the registry's map that none of them carries (names compared without
// regard to case), in the order of their numbers and once each, described by
// the last part of its driver's device name.
std::vector<TPortDevice> MergeRegistryPorts(const std::vector<TPortDevice>& devices,
                                            const std::vector<TRegistryPort>& registry);

// Ports the system does not list (pseudo-terminals of a simulator, say),
// named by their paths in this environment variable, separated as in PATH.
inline constexpr char ExtraPortsVariable[] = "TOLMARIK_EXTRA_PORTS";
// Those of the extra ports that exist now.
QStringList ExtraPorts();

// The longest pause, in milliseconds, that the line's adapter
// makes within one answer, when this environment variable gives one: 0 suits
// a line without an adapter (the simulator's terminal), whose operations then
// start without waiting for a quiet line. Values past the longest
// wait for a quiet line are ignored, and the link keeps its own.
inline constexpr char AdapterGapVariable[] = "TOLMARIK_ADAPTER_GAP";
void ApplyAdapterGapFromEnvironment(serial::TNonVisComp& link);

// The serial devices the system lists now, in its order (app/PortDevicesQt.cpp
// or app/PortDevicesWin.cpp, chosen by the build).
std::vector<TPortDevice> SystemPortDevices();
// True when `port` (a name or a path, as the user gives it) names a port or
// terminal that exists now.
bool PortExists(const QString& port);

// The serial devices present now, the extra ports last.
std::vector<TPortDevice> PresentPortDevices();

// A present port as the command line tool lists it.
struct TPresentPort {
    QString port;  // as the user gives it back: a name or a path
    QString description;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    bool adapter = false;
    bool extra = false;  // named in ExtraPortsVariable
};
std::vector<TPresentPort> PresentPorts();

}  // namespace app
