#include <cstdio>

#include "app/cli/TrackCommands.h"
#include "device/UserTexts.h"

namespace cli {

flow::TOutcome RunLogbookCommand(const QStringList&) {
    std::fprintf(stderr, "%s\n", device::LogbookNotBuiltText().toUtf8().constData());
    return flow::TOutcome::LogbookUnavailable;
}

}  // namespace cli
