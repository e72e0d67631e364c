#include "app/LogbookEntry.h"

#include "app/SetupAPI.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookWindow.h"

namespace app {

void ShowLogbook(QMdiArea* area) {
    logbook::OpenLogbookWindow(area, logbook::TLogbook::DefaultPath(), ReadPilotProfile);
}

void ShowFlightFile(QMdiArea* area, const QString& path) {
    if (logbook::TLogbookWindow* window =
            logbook::OpenLogbookWindow(area, logbook::TLogbook::DefaultPath(), ReadPilotProfile))
        window->ImportPaths({path});
}

}  // namespace app
