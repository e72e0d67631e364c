#include <cstdio>

#include "app/ExitCodes.h"
#include "app/cli/TrackCommands.h"
#include "device/UserTexts.h"

namespace cli {

int RunLogbookCommand(const QStringList&) {
    std::fprintf(stderr, "%s\n", device::LogbookNotBuiltText().toUtf8().constData());
    return app::EC_LOGBOOK;
}

}  // namespace cli
