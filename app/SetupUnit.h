#pragma once
// The port selector: the list of present serial ports, with an adapter icon
// for the USB-serial chips the instruments are sold with (the rules of the
// list are in app/SetupAPI.h).
#include <QComboBox>
#include <functional>

namespace app {

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
