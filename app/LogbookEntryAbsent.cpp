#include <QMdiArea>

#include "app/LogbookEntry.h"
#include "device/Dialogs.h"
#include "device/UserTexts.h"

namespace app {

void ShowLogbook(QMdiArea* area) {
    device::Dialogs().Message(area, device::TMessageKind::Information, device::LogbookTitle(),
                              device::LogbookNotBuiltText());
}

void ShowFlightFile(QMdiArea* area, const QString&) { ShowLogbook(area); }

}  // namespace app
