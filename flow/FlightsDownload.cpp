#include "flow/FlightsDownload.h"

#include <QCoreApplication>
#include <algorithm>

#include "device/PortActivity.h"
#include "device/TrackLists.h"
#include "track/TrackExport.h"

namespace flow {

// The reports of one flight's download, handed on to the run.
class TFlightsDownload::TOneFlight : public TTrackReports {
  public:
    explicit TOneFlight(TFlightsDownload& run) : run_(run) {}
    void StatsRead(const track::TFlightStatsReply&) override {}
    void Progress(int count) override { run_.CountProgress(count); }
    void PageRead(const QStringList&) override {}
    void FilesWritten(const track::TExportResult& result, bool, int) override {
        fileLines_ = result.memo;
        checked_ = result.checked;
    }
    void Unfinished(const QString&, bool) override {}
    void Failed(const TReport&) override {}
    void Finished(const TReport& outcome) override {
        const QStringList lines = std::exchange(fileLines_, {});
        run_.FlightFinished(outcome, lines, std::exchange(checked_, nullptr));
    }

  private:
    TFlightsDownload& run_;
    QStringList fileLines_;
    std::shared_ptr<const track::TCheckedTrack> checked_;
};

TFlightsDownload::TFlightsDownload(serial::TNonVisComp& link, TFlightsReports& reports,
                                   QObject* parent)
    : QObject(parent),
      link_(link),
      reports_(reports),
      one_(std::make_unique<TOneFlight>(*this)),
      track_(std::make_unique<TTrackDownload>(link, *one_)) {}

TFlightsDownload::~TFlightsDownload() = default;

void TFlightsDownload::SetInstrument(const track::TIgcInstrument& instrument,
                                     std::optional<std::uint8_t> timeZone) {
    track_->SetInstrument(instrument, timeZone);
}

bool TFlightsDownload::Start(std::vector<track::TListedFlight> flights, bool bySector) {
    if (active_ || flights.empty() || track_->WorkerRunning()) return false;
    if (device::PortInUse(link_)) {
        reports_.Finished(Report(TOutcome::PortBusy), 0);
        return false;
    }
    flights_ = std::move(flights);
    next_ = 0;
    bySector_ = bySector;
    active_ = true;
    cancelled_ = false;
    downloaded_ = 0;
    unitsDone_ = 0;
    unitsTotal_ = 0;
    const int perSector = bySector ? 1 : 16;
    for (const track::TListedFlight& f : flights_) unitsTotal_ += f.sectors * perSector;
    reports_.Progress(0);
    StartNext();
    return true;
}

void TFlightsDownload::StartNext() {
    if (cancelled_ || next_ >= flights_.size()) {
        const int count = int(flights_.size());
        active_ = false;
        reports_.Finished(
            Report(
                TOutcome::Done,
                downloaded_ == count
                    ? QCoreApplication::translate("flow", "Скачано полётов: %1").arg(downloaded_)
                    : QCoreApplication::translate("flow", "Скачано полётов: %1 из %2, остановлено")
                          .arg(downloaded_)
                          .arg(count)),
            downloaded_);
        return;
    }
    const track::TListedFlight& flight = flights_[next_];
    reports_.FlightStarted(flight, int(next_) + 1, int(flights_.size()));
    track::TFlightStatsReply stats;
    stats.flightNumber = flight.flightNumber;
    stats.startSector = flight.firstSector;
    stats.durationMinutes = std::uint16_t(flight.durationEstimateSeconds / 60);
    track_->Folder = Folder;
    track_->Igc = Igc;
    track_->Timing = Timing;
    track_->FileBase = flight.fileBase;
    track_->FlightSectors = flight.sectors;
    if (!track_->Download(stats, 0, bySector_))
        FlightFinished(Report(TOutcome::NoTrack), {}, nullptr);
}

void TFlightsDownload::CountProgress(int count) {
    if (unitsTotal_ <= 0) return;
    const int perSector = bySector_ ? 1 : 16;
    const int own = std::min(count, flights_[next_].sectors * perSector);
    reports_.Progress(std::min(100, (unitsDone_ + own) * 100 / unitsTotal_));
}

void TFlightsDownload::FlightFinished(const TReport& outcome, const QStringList& fileLines,
                                      const std::shared_ptr<const track::TCheckedTrack>& checked) {
    const track::TListedFlight& flight = flights_[next_];
    std::optional<track::TFlightStatsReply> stats;
    if (outcome.Good()) {
        ++downloaded_;
        if (MarkAs) TFlightScan::MarkDownloaded(*MarkAs, flight, MarksFile);
        if (checked)
            stats = track::StatsOfTrack(device::TrackLists().Snapshot(), *checked,
                                        flight.flightNumber, flight.firstSector);
    }
    unitsDone_ += flight.sectors * (bySector_ ? 1 : 16);
    reports_.Progress(unitsTotal_ > 0 ? std::min(100, unitsDone_ * 100 / unitsTotal_) : 100);
    reports_.FlightDone(flight, stats, fileLines, outcome);
    if (!outcome.Good()) {
        active_ = false;
        reports_.Finished(outcome, downloaded_);
        return;
    }
    ++next_;
    // Once the finished download has left its own report.
    QMetaObject::invokeMethod(
        this, [this] { StartNext(); }, Qt::QueuedConnection);
}

}  // namespace flow
