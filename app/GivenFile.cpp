#include "app/GivenFile.h"

#include <QFileInfo>

#include "app/CommandLine.h"
#include "app/LogbookEntry.h"
#include "app/MAIN.h"

namespace app {

void OpenGivenFile(TMainForm& form, const TCommandLine& line) {
    // Named in full in the title and messages, as a chosen file is.
    const QString path = QFileInfo(line.file).absoluteFilePath();
    switch (line.fileKind) {
        case TCommandLine::SettingsFile:
            form.OpenSettingsFile(path);
            break;
        case TCommandLine::FlightFile:
            ShowFlightFile(form.mdiArea, path);
            break;
        case TCommandLine::NoFile:
            break;
    }
}

}  // namespace app
