// The present serial ports from the Windows device-setup interface: the first
// device-setup class whose description holds "COM" is the class of ports, and
// each present device of it is listed by its friendly name (or, without one,
// its description), which carries the port name as "(COM5)". Ports that
// drivers name only in the registry's map of serial ports (and Wine's) are
// added from there.
#include <windows.h>
// windows.h first: the device-setup headers build on its types.
#include <cfgmgr32.h>
#include <setupapi.h>

#include <optional>

#include "app/SetupAPI.h"

namespace app {

namespace {

std::optional<GUID> PortsClass() {
    for (ULONG index = 0;; ++index) {
        GUID id{};
        const CONFIGRET answer = CM_Enumerate_Classes(index, &id, 0);
        if (answer == CR_NO_SUCH_VALUE) return std::nullopt;
        if (answer != CR_SUCCESS) continue;
        wchar_t description[1024] = {};
        if (!SetupDiGetClassDescriptionW(&id, description, 1024, nullptr)) continue;
        if (QString::fromWCharArray(description).contains(QLatin1String("COM"))) return id;
    }
}

QString DeviceProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    wchar_t text[257] = {};
    // One character short of the buffer, so the text always ends in a zero.
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, nullptr,
                                           reinterpret_cast<BYTE*>(text),
                                           sizeof text - sizeof *text, nullptr))
        return {};
    return QString::fromWCharArray(text);
}

// "VID_1A86" in a hardware id such as "USB\VID_1A86&PID_7523&REV_0264".
std::optional<quint16> IdAfter(const QString& hardwareId, QLatin1String key) {
    const qsizetype at = hardwareId.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0) return std::nullopt;
    bool ok = false;
    const uint value = hardwareId.mid(at + key.size(), 4).toUInt(&ok, 16);
    if (!ok) return std::nullopt;
    return static_cast<quint16>(value);
}

// The values of HKLM\HARDWARE\DEVICEMAP\SERIALCOMM: the driver's device
// name, and the port name as its data. A missing key is no ports.
std::vector<TRegistryPort> RegistryPorts() {
    std::vector<TRegistryPort> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return ports;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        DWORD nameLength = 256;
        wchar_t data[256] = {};
        // One character short of the buffer, so the text always ends in a zero.
        DWORD dataBytes = sizeof data - sizeof *data;
        DWORD type = 0;
        const LSTATUS answer = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                             reinterpret_cast<BYTE*>(data), &dataBytes);
        if (answer == ERROR_NO_MORE_ITEMS) break;
        if (answer != ERROR_SUCCESS || type != REG_SZ) continue;
        ports.push_back(
            {QString::fromWCharArray(name, int(nameLength)), QString::fromWCharArray(data)});
    }
    RegCloseKey(key);
    return ports;
}

std::vector<TPortDevice> SetupApiPortDevices() {
    std::vector<TPortDevice> devices;
    const std::optional<GUID> ports = PortsClass();
    if (!ports) return devices;
    HDEVINFO set = SetupDiGetClassDevsW(&*ports, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return devices;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        QString name = DeviceProperty(set, device, SPDRP_FRIENDLYNAME);
        if (name.isEmpty()) name = DeviceProperty(set, device, SPDRP_DEVICEDESC);
        const QString hardwareId = DeviceProperty(set, device, SPDRP_HARDWAREID);
        devices.push_back({name, IdAfter(hardwareId, QLatin1String("VID_")),
                           IdAfter(hardwareId, QLatin1String("PID_"))});
    }
    SetupDiDestroyDeviceInfoList(set);
    return devices;
}

}  // namespace

std::vector<TPortDevice> SystemPortDevices() {
    return MergeRegistryPorts(SetupApiPortDevices(), RegistryPorts());
}

bool PortExists(const QString& port) {
    // A COM name is a DOS device, not a file; anything else is a path.
    std::wstring name = port.toStdWString();
    if (name.rfind(L"\\\\.\\", 0) == 0) name.erase(0, 4);
    wchar_t target[1024];
    if (QueryDosDeviceW(name.c_str(), target, 1024) != 0) return true;
    return GetFileAttributesW(port.toStdWString().c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace app
