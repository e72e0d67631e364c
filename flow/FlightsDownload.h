#pragma once
// TFlightsDownload: the chosen flights of a scan's list downloaded one after
// the other in one mode, each into its own files (track::TListedFlight::fileBase)
// and, through the download hook, into the logbook, with the progress of
// the whole. The statistics of each flight are worked out from its own
// records: the instrument reports them only for its last two flights.
//
// The first flight that fails (no link, a track cut short, a file not
// written) ends the run: the flights after it are not started. Cancel()
// lets the flight under way end and starts no other.
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "flow/FlightScan.h"
#include "flow/TrackDownload.h"

namespace flow {

class TFlightsReports {
  public:
    virtual ~TFlightsReports() = default;
    // `position` from 1 of `count`.
    virtual void FlightStarted(const track::TListedFlight& flight, int position, int count) = 0;
    // Of the whole run, 0 to 100.
    virtual void Progress(int percent) = 0;
    // One flight is over: its own statistics (when it was read) and the
    // lines of its files, or what went wrong.
    virtual void FlightDone(const track::TListedFlight& flight,
                            const std::optional<track::TFlightStatsReply>& stats,
                            const QStringList& fileLines, const TReport& outcome) = 0;
    // `downloaded` flights of the run ended well.
    virtual void Finished(const TReport& outcome, int downloaded) = 0;
};

class TFlightsDownload : public QObject {
  public:
    TFlightsDownload(serial::TNonVisComp& link, TFlightsReports& reports,
                     QObject* parent = nullptr);
    ~TFlightsDownload() override;

    // False when a run is under way or `flights` is empty.
    bool Start(std::vector<track::TListedFlight> flights, bool bySector);
    void Cancel() { cancelled_ = true; }
    bool Running() const { return active_; }

    // The instrument whose flights these are: each flight downloaded is
    // marked so for the scans (TFlightScan::MarkDownloaded), in MarksFile.
    std::optional<TInstrumentKey> MarkAs;
    QString MarksFile;
    // Handed to each flight's download.
    std::function<QString()> Folder;
    bool Igc = true;
    device::TWorkerTiming Timing;
    void SetInstrument(const track::TIgcInstrument& instrument,
                       std::optional<std::uint8_t> timeZone = std::nullopt);

  private:
    class TOneFlight;
    void StartNext();
    // `checked`: the flight's checked track, when its files were written.
    void FlightFinished(const TReport& outcome, const QStringList& fileLines,
                        const std::shared_ptr<const track::TCheckedTrack>& checked);
    void CountProgress(int count);

    serial::TNonVisComp& link_;
    TFlightsReports& reports_;
    std::unique_ptr<TOneFlight> one_;
    std::unique_ptr<TTrackDownload> track_;
    std::vector<track::TListedFlight> flights_;
    std::size_t next_ = 0;
    bool bySector_ = true;
    bool active_ = false;
    bool cancelled_ = false;
    int downloaded_ = 0;
    int unitsDone_ = 0;   // sectors (or pages) of the flights done
    int unitsTotal_ = 0;  // of all of them, as listed
};

}  // namespace flow
