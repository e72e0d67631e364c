#include "app/SetupUnit.h"

#include <QIcon>
#include <QSerialPortInfo>
#include <QSignalBlocker>

#include "serial/PortPlatform.h"

namespace app {

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
        const qsizetype p = device.name.indexOf(serial::platform::PortNameOpening());
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

std::vector<TPortDevice> PresentPortDevices() {
    std::vector<TPortDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        QString description = info.description();
        if (description.isEmpty()) description = info.manufacturer();
        if (description.isEmpty()) description = QStringLiteral("Последовательный порт");
        TPortDevice device{description + QStringLiteral(" (") + info.portName() + QLatin1Char(')'),
                           std::nullopt};
        if (info.hasVendorIdentifier()) device.vendorId = info.vendorIdentifier();
        devices.push_back(device);
    }
    return devices;
}

QIcon AdapterIcon() { return QIcon(QStringLiteral(":/icons/adapter.svg")); }

void FillPortList(QComboBox* combo) {
    const std::vector<TPortItem> items = PortItems(PresentPortDevices());
    // Rebuilding the items would otherwise replace the typed text and report
    // the intermediate texts as changes of the port.
    const QSignalBlocker blocker(combo);
    const QString text = combo->currentText();
    combo->clear();
    const QIcon adapter = AdapterIcon();
    for (const TPortItem& item : items) {
        if (item.adapter)
            combo->addItem(adapter, item.caption);
        else
            combo->addItem(item.caption);
    }
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

void TPortCombo::showPopup() {
    if (OnDropDown) OnDropDown();
    QComboBox::showPopup();
}

}  // namespace app
