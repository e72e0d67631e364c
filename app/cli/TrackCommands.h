#pragma once
// The commands of tolmarik-cli that work on files and the logbook and need
// no instrument: "kml FILE OUT" and "logbook ...".
#include <QStringList>
#include <optional>

#include "flow/Outcome.h"

namespace cli {

// The outcome of the command `args` names (the positional arguments),
// or nothing when they name none of these.
std::optional<flow::TOutcome> RunTrackCommand(const QStringList& args);

// "logbook list|totals|import PATH...|export-csv FILE|show N|rescore" (`args`
// without "logbook"). The build picks the file: the logbook's, or one that
// says this build has none.
flow::TOutcome RunLogbookCommand(const QStringList& args);

}  // namespace cli
