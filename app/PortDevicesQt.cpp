// The present serial ports as Qt Serial Port finds them (Linux and other
// systems without the Windows device-setup interface).
#include <QCoreApplication>
#include <QFileInfo>
#include <QSerialPortInfo>

#include "app/SetupAPI.h"

namespace app {

namespace {
// What the list shows for a port the system has no description of.
QString PlainPortText() { return QCoreApplication::translate("app", "Последовательный порт"); }
}  // namespace

std::vector<TPortDevice> SystemPortDevices() {
    std::vector<TPortDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        QString description = info.description();
        if (description.isEmpty()) description = info.manufacturer();
        if (description.isEmpty()) description = PlainPortText();
        TPortDevice device{DeviceName(description, info.portName()), std::nullopt, std::nullopt};
        if (info.hasVendorIdentifier()) device.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier()) device.productId = info.productIdentifier();
        devices.push_back(device);
    }
    return devices;
}

bool PortExists(const QString& port) { return QFileInfo::exists(port); }

}  // namespace app
