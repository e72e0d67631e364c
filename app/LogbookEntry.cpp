#include "app/LogbookEntry.h"

#include "app/SetupAPI.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookWindow.h"

namespace app {

void ShowLogbook(QMdiArea* area) {
    logbook::OpenLogbookWindow(area, logbook::TLogbook::DefaultPath(), ReadPilotProfile);
}

}  // namespace app
