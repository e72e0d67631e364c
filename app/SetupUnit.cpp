#include "app/SetupUnit.h"

#include <QIcon>
#include <QSignalBlocker>

#include "app/SetupAPI.h"

namespace app {

QIcon AdapterIcon() { return QIcon(QStringLiteral(":/icons/adapter.png")); }

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
