#include <QDir>

#include "app/DownloadRecording.h"
#include "app/SetupAPI.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookJobs.h"

namespace app {

namespace {

void Report(const logbook::TRecordOutcome& outcome, const TAfterDownloadReport& report) {
    switch (outcome.result) {
        case logbook::TRecordResult::Added:
            report(QStringLiteral("Полет записан в журнал полётов"), true);
            break;
        case logbook::TRecordResult::AlreadyKept:
            report(QStringLiteral("Этот полет уже есть в журнале полётов"), true);
            break;
        case logbook::TRecordResult::NoFlight:
        case logbook::TRecordResult::Failed:
            report(outcome.error, false);
            break;
    }
}

}  // namespace

void RecordInLogbook(const flow::TDownloadedTrack& track, QObject* context,
                     const TAfterDownloadReport& report, bool inBackground) {
    logbook::TDownloadedFlight flight;
    flight.flightIndex = track.flightIndex;
    flight.lists = *track.lists;
    flight.files = track.files;
    flight.model = track.model;
    flight.firmwareVersion = track.firmwareVersion;
    flight.timeZoneByte = track.timeZone;
    const QString path = logbook::TLogbook::DefaultPath();
    if (inBackground) {
        logbook::RecordDownloadInBackground(
            path, std::move(flight), ReadPilotProfile(), context,
            [report](const logbook::TRecordOutcome& outcome) { Report(outcome, report); });
    } else {
        Report(logbook::RecordDownloadNow(path, flight, ReadPilotProfile()), report);
    }
}

}  // namespace app
