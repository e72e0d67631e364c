#include "app/DownloadRecording.h"

namespace app {

void RecordInLogbook(const flow::TDownloadedTrack&, QObject*, const TAfterDownloadReport&, bool) {}

std::unique_ptr<flow::TFlightLookup> MakeLogbookLookup() { return nullptr; }

QString LookupFailure(const flow::TFlightLookup*) { return {}; }

}  // namespace app
