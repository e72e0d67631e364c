#pragma once
// What follows every complete download, in the window program and on the
// command line alike: the flight for Google Earth beside its other files, and
// the flight in the pilot's logbook.
#include <QString>
#include <functional>
#include <memory>

#include "flow/FlightScan.h"
#include "flow/TrackDownload.h"

class QObject;

namespace app {

// What a line after a download tells.
enum class TAfterDownload {
    Good,
    Failed,         // a failure that did not undo the download
    LogbookFailed,  // the flight is not in the logbook; its files are kept
};
// A line for the user.
using TAfterDownloadReport = std::function<void(const QString& text, TAfterDownload kind)>;

// Attaches to every complete download from now on; returns the hook's id for
// flow::DetachDownloadHook. With `inBackground` the KML file and the logbook
// are written off the calling thread and `report` runs on `context`'s thread
// later; otherwise everything is done before the download's end is reported.
int RecordEveryDownload(QObject* context, TAfterDownloadReport report, bool inBackground);

// The logbook's part, chosen by the build: a build without the logbook
// records nothing.
void RecordInLogbook(const flow::TDownloadedTrack& track, QObject* context,
                     const TAfterDownloadReport& report, bool inBackground);

// Whether the pilot's logbook holds a listed flight: one whose take-off and
// landing lie within the span the flight's sectors were recorded in. A build
// without the logbook, or a logbook that cannot be opened, holds none.
std::unique_ptr<flow::TFlightLookup> MakeLogbookLookup();
// Why `lookup` (made above; may be null) could not read the logbook: its
// answers were guesses. Empty when it could.
QString LookupFailure(const flow::TFlightLookup* lookup);

// The file where flight scans are kept between runs, beside the logbook.
QString FlightScanCacheFile();

}  // namespace app
