#include <cstdio>

#include "app/cli/TrackCommands.h"
#include "device/UserTexts.h"
#include "flow/ExitCodes.h"

namespace cli {

int RunLogbookCommand(const QStringList&) {
    std::fprintf(stderr, "%s\n", device::LogbookNotBuiltText().toUtf8().constData());
    return flow::EC_LOGBOOK;
}

}  // namespace cli
