#include "app/SetupAPI.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <algorithm>

#include "device/DeviceIO.h"
#include "serial/PortPlatform.h"
#include "track/TrackFolder.h"

namespace app {

namespace {
// What the list shows for a port the system has no description of.
QString ExtraPortText() { return QCoreApplication::translate("app", "Дополнительный порт"); }

}  // namespace

QString DeviceName(const QString& description, const QString& port) {
    return description + QStringLiteral(" (") + port + QLatin1Char(')');
}

QString ReadSetting(const QString& name, const QString& defaultValue) {
    QSettings store(QStringLiteral("Tolmarik"), QStringLiteral("TolmarikProg"));
    const QString value = store.value(name).toString();
    if (!value.isEmpty()) return value;
    store.setValue(name, defaultValue);
    return defaultValue;
}

QString StoredSetting(const QString& name) {
    return QSettings(QStringLiteral("Tolmarik"), QStringLiteral("TolmarikProg"))
        .value(name)
        .toString();
}

void WriteSetting(const QString& name, const QString& value) {
    QSettings store(QStringLiteral("Tolmarik"), QStringLiteral("TolmarikProg"));
    store.setValue(name, value);
}

void UseSettingsForTrackFolder() {
    const QString name = QStringLiteral("trackpath");
    track::SetTrackFolderStore({[name] { return ReadSetting(name, QString()); },
                                [name](const QString& folder) { WriteSetting(name, folder); }});
}

namespace {
// The profile's fields and their names in the store.
struct TProfileField {
    const char* name;
    QString track::TPilotProfile::*field;
};
constexpr TProfileField kProfileFields[] = {
    {"pilot", &track::TPilotProfile::pilot},
    {"glidertype", &track::TPilotProfile::gliderType},
    {"gliderid", &track::TPilotProfile::gliderId},
    {"civlid", &track::TPilotProfile::civlId},
    {"competitionid", &track::TPilotProfile::competitionId},
};
}  // namespace

track::TPilotProfile ReadPilotProfile() {
    QSettings store(QStringLiteral("Tolmarik"), QStringLiteral("TolmarikProg"));
    track::TPilotProfile profile;
    for (const TProfileField& f : kProfileFields)
        profile.*f.field = store.value(QLatin1String(f.name)).toString().trimmed();
    return profile;
}

void WritePilotProfile(const track::TPilotProfile& profile) {
    QSettings store(QStringLiteral("Tolmarik"), QStringLiteral("TolmarikProg"));
    for (const TProfileField& f : kProfileFields)
        store.setValue(QLatin1String(f.name), (profile.*f.field).trimmed());
}

void UseSettingsForPilotProfile() { track::SetPilotProfileSource(ReadPilotProfile); }

bool IsAdapterName(const QString& name) {
    return name.contains(QLatin1String("STM")) || name.contains(QLatin1String("CP210")) ||
           name.contains(QLatin1String("CH340"));
}

bool IsAdapterVendor(quint16 vendorId) {
    return vendorId == 0x0483 || vendorId == 0x10C4 || vendorId == 0x1A86;
}

std::vector<TPortItem> PortItems(const std::vector<TPortDevice>& devices) {
    std::vector<TPortItem> items;
    for (const TPortDevice& device : devices) {
        qsizetype p = device.name.indexOf(serial::platform::PortNameOpening());
        // An extra port is named by its path, which the port takes as it is.
        if (p < 0) p = device.name.indexOf(QStringLiteral("(/"));
        if (p < 0) continue;
        const qsizetype q = device.name.indexOf(QLatin1Char(')'), p + 1);
        TPortItem item;
        if (q >= 0) item.caption = device.name.mid(p + 1, q - p - 1);
        item.adapter =
            IsAdapterName(device.name) || (device.vendorId && IsAdapterVendor(*device.vendorId));
        items.push_back(item);
    }
    return items;
}

namespace {

// "COM3" of "USB-SERIAL CH340 (COM3)": the text in the name's last
// parentheses, empty without them.
QString PortInName(const QString& name) {
    const qsizetype close = name.lastIndexOf(QLatin1Char(')'));
    const qsizetype open = name.lastIndexOf(QLatin1Char('('), close);
    if (open < 0 || close < 0) return {};
    return name.mid(open + 1, close - open - 1);
}

// COM2 before COM10: the letters, then the number that ends the name.
bool PortNameBefore(const QString& a, const QString& b) {
    const auto split = [](const QString& name) {
        qsizetype digits = name.size();
        while (digits > 0 && name[digits - 1].isDigit()) --digits;
        return std::pair{name.left(digits).toUpper(), name.mid(digits).toULongLong()};
    };
    return split(a) < split(b);
}

}  // namespace

std::vector<TPortDevice> MergeRegistryPorts(const std::vector<TPortDevice>& devices,
                                            const std::vector<TRegistryPort>& registry) {
    std::vector<TPortDevice> merged = devices;
    QStringList known;
    for (const TPortDevice& device : devices) known << PortInName(device.name).toUpper();
    std::vector<TRegistryPort> added;
    for (const TRegistryPort& entry : registry) {
        const QString port = entry.port.trimmed();
        if (port.isEmpty() || known.contains(port.toUpper())) continue;
        known << port.toUpper();
        added.push_back({entry.device, port});
    }
    std::stable_sort(added.begin(), added.end(),
                     [](const auto& a, const auto& b) { return PortNameBefore(a.port, b.port); });
    for (const TRegistryPort& entry : added) {
        QString description = entry.device.section(QLatin1Char('\\'), -1).trimmed();
        if (description.isEmpty()) description = entry.port;
        merged.push_back({DeviceName(description, entry.port), std::nullopt, std::nullopt});
    }
    return merged;
}

QStringList ExtraPorts() {
    QStringList ports;
    const QString value = qEnvironmentVariable(ExtraPortsVariable);
    for (const QString& path : value.split(QDir::listSeparator(), Qt::SkipEmptyParts))
        if (PortExists(path)) ports << path;
    return ports;
}

void ApplyAdapterGapFromEnvironment(serial::TNonVisComp& link) {
    bool isNumber = false;
    const int milliseconds = qEnvironmentVariableIntValue(AdapterGapVariable, &isNumber);
    // A longer gap than a quiet line is ever waited for would change nothing.
    if (isNumber && milliseconds >= 0 && milliseconds <= device::QuietLimit.count())
        link.adapterQuietGap = std::chrono::milliseconds(milliseconds);
}

std::vector<TPortDevice> PresentPortDevices() {
    std::vector<TPortDevice> devices = SystemPortDevices();
    for (const QString& path : ExtraPorts())
        devices.push_back({DeviceName(ExtraPortText(), path), std::nullopt, std::nullopt});
    return devices;
}

std::vector<TPresentPort> PresentPorts() {
    const QStringList extra = ExtraPorts();
    std::vector<TPresentPort> ports;
    for (const TPortDevice& device : PresentPortDevices()) {
        const std::vector<TPortItem> item = PortItems({device});
        if (item.empty()) continue;
        TPresentPort port;
        port.port = item.front().caption;
        port.description = device.name.left(device.name.lastIndexOf(QStringLiteral(" (")));
        port.vendorId = device.vendorId;
        port.productId = device.productId;
        port.adapter = item.front().adapter;
        port.extra = extra.contains(port.port);
        ports.push_back(port);
    }
    return ports;
}

}  // namespace app
