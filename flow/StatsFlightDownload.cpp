#include "flow/StatsFlightDownload.h"

namespace flow {

TStatsFlightDownload::TStatsFlightDownload(serial::TNonVisComp& link, TTrackReports& reports,
                                           QObject* parent)
    : QObject(parent), reports_(reports), track_(link, *this, this) {}

TStatsFlightDownload::~TStatsFlightDownload() = default;

bool TStatsFlightDownload::Start(std::uint8_t flightIndex, bool bySector) {
    if (Running()) return false;
    flightIndex_ = flightIndex;
    bySector_ = bySector;
    unfinished_ = false;
    step_ = TStep::Stats;
    // A refusal (the port busy) reports its own end.
    return track_.ReadStats(flightIndex);
}

void TStatsFlightDownload::StatsRead(const track::TFlightStatsReply& stats) {
    reports_.StatsRead(stats);
}
void TStatsFlightDownload::Progress(int count) { reports_.Progress(count); }
void TStatsFlightDownload::PageRead(const QStringList& lines) { reports_.PageRead(lines); }
void TStatsFlightDownload::FilesWritten(const track::TExportResult& result, bool partial, int tag) {
    reports_.FilesWritten(result, partial, tag);
}
void TStatsFlightDownload::Unfinished(const QString&, bool) { unfinished_ = true; }
void TStatsFlightDownload::Failed(const TReport& report) { reports_.Failed(report); }
void TStatsFlightDownload::OperationEnded() { reports_.OperationEnded(); }
int TStatsFlightDownload::ExportTag() const { return reports_.ExportTag(); }

void TStatsFlightDownload::Finished(const TReport& outcome) {
    switch (step_) {
        case TStep::Idle:
            return;
        case TStep::Stats:
            if (!outcome.Good()) return End(outcome);
            if (track_.Stats().startSector == 0) return End(Report(TOutcome::NoTrack));
            step_ = TStep::Track;
            return Next(
                [this] { return track_.Download(track_.Stats(), flightIndex_, bySector_); });
        case TStep::Track:
            if (!unfinished_) return End(outcome);
            trackOutcome_ = outcome;
            if (KeepPartial && track_.CanSavePartial()) {
                step_ = TStep::Partial;
                return Next([this] { return track_.SavePartial(); });
            }
            return EndUnfinished(false);
        case TStep::Partial:
            if (!outcome.Good()) return End(outcome);
            return EndUnfinished(true);
    }
}

// Started once the step before has wholly ended: its worker is gone only
// after the report that ends it.
void TStatsFlightDownload::Next(std::function<bool()> start) {
    QMetaObject::invokeMethod(
        this,
        [this, start = std::move(start)] {
            // A refusal that reported its own end has ended the run.
            if (!start() && Running()) End(Report(TOutcome::PortBusy));
        },
        Qt::QueuedConnection);
}

void TStatsFlightDownload::End(const TReport& outcome) {
    step_ = TStep::Idle;
    reports_.Finished(outcome);
}

void TStatsFlightDownload::EndUnfinished(bool saved) {
    reports_.Unfinished(track_.UnfinishedText(saved), false);
    TReport outcome = trackOutcome_;
    // The unfinished text is out; a lost link still says so.
    if (outcome.outcome == TOutcome::TrackUnfinished) outcome.text.clear();
    End(outcome);
}

}  // namespace flow
