#pragma once
// The port selector: the list of present serial ports, with an adapter icon
// for the USB-serial chips the instruments are sold with.
#include <QComboBox>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace app {

// A present serial device as the system describes it: a readable name with
// the port name in parentheses, e.g. "USB-SERIAL CH340 (ttyUSB0)".
struct TPortDevice {
    QString name;
    std::optional<quint16> vendorId;
};

struct TPortItem {
    QString caption;
    bool adapter = false;
    bool operator==(const TPortItem& o) const {
        return caption == o.caption && adapter == o.adapter;
    }
};

// True for the chips "STM", "CP210" and "CH340" (case-sensitive), by name.
bool IsAdapterName(const QString& name);
// True for the vendors of those chips (STMicroelectronics, Silicon Labs, WCH).
bool IsAdapterVendor(quint16 vendorId);

// The list items for the devices, in their order, duplicates kept: the text
// between the "(" of the port name and the next ")" (empty without one);
// devices without a port name in parentheses are left out.
std::vector<TPortItem> PortItems(const std::vector<TPortDevice>& devices);

// The serial devices present now.
std::vector<TPortDevice> PresentPortDevices();

// Rebuilds the items of `combo` from the present ports; its edit text stays.
void FillPortList(QComboBox* combo);

// The adapter mark of the list.
QIcon AdapterIcon();

// A combo box that tells before its list opens (to rebuild it).
class TPortCombo : public QComboBox {
  public:
    using QComboBox::QComboBox;
    std::function<void()> OnDropDown;
    void showPopup() override;
};

}  // namespace app
