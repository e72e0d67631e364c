#include <QDir>
#include <QFileInfo>

#include "app/DownloadRecording.h"
#include "app/SetupAPI.h"
#include "device/AppError.h"
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

namespace {
class TLogbookLookup : public flow::TFlightLookup {
  public:
    bool Holds(const flow::TListedFlight& flight) override {
        // Every undated flight is stamped from the same fallback time, so
        // its span tells it from no other: it is offered again rather than
        // skipped (the logbook still keeps it once).
        if (!flight.dated) return false;
        try {
            // Listing never makes a logbook.
            if (!logbook_ && !QFileInfo::exists(logbook::TLogbook::DefaultPath())) return false;
            if (!logbook_) logbook_ = std::make_unique<logbook::TLogbook>();
            return logbook_->Store()
                .FindRecordedWithin(flight.start, flight.LatestEnd())
                .has_value();
        } catch (const device::TAppError&) {
            return false;
        }
    }

  private:
    std::unique_ptr<logbook::TLogbook> logbook_;
};
}  // namespace

std::unique_ptr<flow::TFlightLookup> MakeLogbookLookup() {
    return std::make_unique<TLogbookLookup>();
}

}  // namespace app
