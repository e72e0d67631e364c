#include "flow/TrackDownload.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "device/PageDump.h"
#include "device/PortActivity.h"
#include "serial/UnitNVC.h"
#include "track/TrackExport.h"

namespace flow {

using namespace device;

namespace {

struct THookEntry {
    TDownloadHook hook;
    bool partialToo = false;
};

std::map<int, THookEntry>& Hooks() {
    static std::map<int, THookEntry> hooks;
    return hooks;
}

void CallHooks(const TDownloadedTrack& track) {
    // A copy: a hook may attach or detach others.
    const std::map<int, THookEntry> hooks = Hooks();
    for (const auto& [id, entry] : hooks)
        if (!track.partial || entry.partialToo) entry.hook(track);
}

}  // namespace

int AttachDownloadHook(TDownloadHook hook, bool partialToo) {
    static int lastId = 0;
    Hooks()[++lastId] = {std::move(hook), partialToo};
    return lastId;
}

void DetachDownloadHook(int id) { Hooks().erase(id); }

TTrackDownload::TTrackDownload(serial::TNonVisComp& link, TTrackReports& reports, QObject* parent)
    : QObject(parent),
      link_(link),
      reports_(reports),
      exporter_(new track::TLatestJobRunner(this)) {
    receiver_.OnStatus = [this](int code, qintptr value) { OnStatus(code, value); };
}

TTrackDownload::~TTrackDownload() {
    // The worker outlives this object; its end step must not call back.
    if (running_) running_->OnTerminate = nullptr;
}

void TTrackDownload::SetInstrument(const track::TIgcInstrument& instrument,
                                   std::optional<std::uint8_t> timeZone) {
    instrument_ = instrument;
    instrumentKnown_ = true;
    timeZone_ = timeZone;
}

bool TTrackDownload::Start(TDeviceIO* worker) {
    worker->Timing = Timing;
    worker->Limits = Limits;
    running_ = worker;
    active_ = true;
    failure_.reset();
    writeError_.clear();
    written_.reset();
    worker->OnTerminate = [self = QPointer<TTrackDownload>(this)] {
        if (self) self->WorkerEnded();
    };
    worker->Start();
    return true;
}

bool TTrackDownload::RefusedBusy() {
    if (!PortInUse(link_)) return false;
    const TReport busy = Report(TOutcome::PortBusy);
    reports_.Failed(busy);
    reports_.Finished(busy);
    return true;
}

bool TTrackDownload::ReadStats(std::uint8_t flightIndex) {
    if (WorkerRunning() || RefusedBusy()) return false;
    TDeviceIO* worker = TDeviceIO::Create(link_, receiver_.Target());
    worker->Operation = OP_READ_STATS;
    worker->FlightIndex = flightIndex;
    return Start(worker);
}

bool TTrackDownload::Download(const track::TFlightStatsReply& stats, std::uint8_t flightIndex,
                              bool bySector) {
    if (stats.startSector == 0 || WorkerRunning() || RefusedBusy()) return false;
    stats_ = stats;
    TDeviceIO* worker = TDeviceIO::Create(link_, receiver_.Target());
    worker->Operation = OP_TRACK;
    worker->StartSector = stats.startSector;
    worker->BySector = bySector;
    // The lists of an unfinished earlier download are emptied by this one.
    partialReady_ = false;
    unfinished_ = false;
    downloading_ = true;
    flightIndex_ = flightIndex;
    flightNumber_ = stats.flightNumber;
    bySector_ = bySector;
    count_ = 0;
    ended_ = false;
    markPending_ = false;
    lastMarked_ = false;
    return Start(worker);
}

bool TTrackDownload::ReadPage(std::int32_t address) {
    if (WorkerRunning() || RefusedBusy()) return false;
    TDeviceIO* worker = TDeviceIO::Create(link_, receiver_.Target());
    worker->Operation = OP_READ_PAGE;
    worker->PageAddress = address;
    pageAwaited_ = true;
    lastBadReply_ = 0;
    return Start(worker);
}

bool TTrackDownload::SavePartial() {
    if (WorkerRunning() || !partialReady_) return false;
    active_ = true;
    failure_.reset();
    writeError_.clear();
    written_.reset();
    Export(true);
    return true;
}

QString TTrackDownload::UnfinishedText(bool saved) const {
    const TrackSnapshot lists = TrackLists().Snapshot();
    return saved ? track::UnfinishedDownloadSavedText(count_, bySector_, lists.gps.size(),
                                                      lists.eng.size())
                 : track::UnfinishedDownloadText(count_, bySector_, lists.gps.size(),
                                                 lists.eng.size());
}

void TTrackDownload::OnStatus(int code, qintptr value) {
    const std::uint8_t* reply = link_.RxBuffer.data();
    // Only the statuses along the way leave the operation running.
    if (code != ST_PORT_OPEN && code != ST_BAD_REPLY && code != ST_TRACK_PAGE)
        reports_.OperationEnded();
    switch (code) {
        case ST_STATS_READ:
            stats_ = track::ParseFlightStats(reply);
            reports_.StatsRead(stats_);
            break;
        case ST_PAGE_READ:
            pageAwaited_ = false;
            reports_.PageRead(PageDumpLines(reply));
            break;
        case ST_TRACK_PAGE:
            count_ = int(value);
            lastMarked_ = std::exchange(markPending_, false);
            reports_.Progress(int(value));
            break;
        case ST_TRACK_END:
            // Value 0: the next sector is another flight's, and nothing more
            // is read. Any other: an unknown record; more may follow.
            if (value == 0) {
                ended_ = true;
                Export(false);
            } else {
                markPending_ = true;
            }
            break;
        case ST_BAD_REPLY:
            lastBadReply_ = value;
            break;
        case ST_PORT_FAILED:
        case ST_NO_LINK:
            pageAwaited_ = false;
            failure_ = FailureOfStatus(code, value, TOutcome::NoDevice, link_);
            reports_.Failed(*failure_);
            break;
        default:
            break;
    }
}

void TTrackDownload::WorkerEnded() {
    running_ = nullptr;
    if (std::exchange(pageAwaited_, false) && !failure_) {
        failure_ = FailureOfStatus(ST_NO_LINK, lastBadReply_, TOutcome::NoDevice, link_);
        reports_.Failed(*failure_);
    }
    // Stopped before the next flight: by the sector cap (the flight goes on
    // past it), a header in the wrong place, or a failed line.
    if (downloading_ && !ended_) {
        if (failure_ && WholeFlightRead()) {
            // The files say all there is to say about the flight.
            failure_.reset();
            Export(false);
        } else {
            const TrackSnapshot lists = TrackLists().Snapshot();
            unfinished_ = true;
            partialReady_ = !lists.gps.empty() || !lists.eng.empty();
        }
    }
    downloading_ = false;
    FinishWhenIdle();
}

bool TTrackDownload::WholeFlightRead() const {
    // The last sector of a flight ends where its records end; any other
    // sector does so only at a record it cannot read.
    if (!bySector_ || !lastMarked_) return false;
    if (FlightSectors > 0) return count_ >= FlightSectors;
    // Without a scan's count, the records must span the flight's time as the
    // instrument gave it. Their number would say nothing: an instrument
    // chooses its own recording rate.
    if (stats_.durationMinutes == 0) return false;
    const TrackSnapshot lists = TrackLists().Snapshot();
    std::optional<TrackTime> first;
    std::optional<TrackTime> last;
    const auto take = [&](TrackTime time) {
        first = std::min(first.value_or(time), time);
        last = std::max(last.value_or(time), time);
    };
    for (const auto& entry : lists.gps) take(entry.time);
    for (const auto& entry : lists.eng) take(entry.time);
    return first && *last - *first >= TrackTime(stats_.durationMinutes) * 60;
}

void TTrackDownload::Export(bool partial) {
    auto request = std::make_shared<track::TExportRequest>();
    request->flightNumber = partial || downloading_ ? flightNumber_ : stats_.flightNumber;
    request->lists = TrackLists().Snapshot();
    request->folder = Folder ? Folder() : QString();
    request->options.igc = Igc;
    request->options.instrument = instrument_;
    request->options.partial = partial;
    request->options.baseName = FileBase;
    request->plotSize = PlotSize ? PlotSize() : QSize();
    // The runner is this controller's child: what a job returns runs only
    // while the controller lives.
    exporter_->Submit([request, self = this, partial,
                       tag = reports_.ExportTag()]() -> track::TLatestJobRunner::TDone {
        auto result = std::make_shared<const track::TExportResult>(track::RunExport(*request));
        auto lists = std::make_shared<const TrackSnapshot>(request->lists);
        return
            [self, result, partial, tag, lists] { self->ExportDone(*result, partial, tag, lists); };
    });
}

TDownloadedTrack TTrackDownload::Downloaded(const track::TExportResult& result, bool partial,
                                            std::shared_ptr<const TrackSnapshot> lists) const {
    TDownloadedTrack track;
    track.flightIndex = flightIndex_;
    track.flightNumber = partial || downloading_ ? flightNumber_ : stats_.flightNumber;
    track.lists = std::move(lists);
    track.checked = result.checked;
    track.files = result.files;
    track.partial = partial;
    if (instrumentKnown_) {
        track.model = instrument_.model;
        track.firmwareVersion = instrument_.firmwareVersion;
    }
    track.timeZone = timeZone_;
    return track;
}

void TTrackDownload::ExportDone(const track::TExportResult& result, bool partial, int tag,
                                std::shared_ptr<const TrackSnapshot> lists) {
    if (result.error.isEmpty()) {
        // A later end report's files replace those of an earlier failed one.
        writeError_.clear();
        written_ = Downloaded(result, partial, std::move(lists));
        if (partial) partialReady_ = false;
    } else {
        writeError_ = result.error;
        written_.reset();
    }
    reports_.FilesWritten(result, partial, tag);
    FinishWhenIdle();
}

void TTrackDownload::FinishWhenIdle() {
    if (!active_ || running_ || exporter_->Busy()) return;
    active_ = false;
    if (unfinished_) {
        unfinished_ = false;
        reports_.Unfinished(UnfinishedText(false), partialReady_);
        // A lost link says more than that the track is incomplete.
        if (!failure_) failure_ = Report(TOutcome::TrackUnfinished, UnfinishedText(false));
    }
    TReport outcome = Report(TOutcome::Done);
    if (!writeError_.isEmpty())
        outcome = Report(TOutcome::FileNotWritten, writeError_);
    else if (failure_)
        outcome = *failure_;
    if (outcome.outcome == TOutcome::Done && written_) CallHooks(*written_);
    written_.reset();
    reports_.Finished(outcome);
}

}  // namespace flow
