#include <QCoreApplication>
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
            report(QCoreApplication::translate("app", "Полет записан в журнал полётов"),
                   TAfterDownload::Good);
            break;
        case logbook::TRecordResult::AlreadyKept:
            report(QCoreApplication::translate("app", "Этот полет уже есть в журнале полётов"),
                   TAfterDownload::Good);
            break;
        case logbook::TRecordResult::NoFlight:
        case logbook::TRecordResult::Failed:
            report(outcome.error, TAfterDownload::Failed);
            break;
        case logbook::TRecordResult::LogbookFailed:
            report(outcome.error, TAfterDownload::LogbookFailed);
            break;
    }
}

}  // namespace

void RecordInLogbook(const flow::TDownloadedTrack& track, QObject* context,
                     const TAfterDownloadReport& report, bool inBackground) {
    logbook::TDownloadedFlight flight;
    flight.flightIndex = track.flightIndex;
    flight.checked = track.checked;
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
    bool Holds(const track::TListedFlight& flight) override {
        // Every undated flight is stamped from the same fallback time, so
        // its span tells it from no other: it is offered again rather than
        // skipped (the logbook still keeps it once).
        if (!flight.dated) return false;
        if (!failure_.isEmpty()) return false;
        try {
            // Listing never makes a logbook (a dangling link is reported).
            const QFileInfo file(logbook::TLogbook::DefaultPath());
            if (!logbook_ && !file.exists() && !file.isSymLink()) return false;
            if (!logbook_) logbook_ = std::make_unique<logbook::TLogbook>();
            return logbook_->Store()
                .FindRecordedWithin(flight.start, flight.LatestEnd())
                .has_value();
        } catch (const device::TAppError& error) {
            failure_ = error.Text();
            return false;
        }
    }
    QString Failure() const override { return failure_; }

  private:
    std::unique_ptr<logbook::TLogbook> logbook_;
    QString failure_;
};
}  // namespace

std::unique_ptr<flow::TFlightLookup> MakeLogbookLookup() {
    return std::make_unique<TLogbookLookup>();
}

QString LookupFailure(const flow::TFlightLookup* lookup) {
    return lookup ? lookup->Failure() : QString();
}

}  // namespace app
