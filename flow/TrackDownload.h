#pragma once
// TTrackDownload: the track memory of an instrument, for the track page and
// the command line alike. It reads the statistics of a flight, downloads the
// flight's track (by sector or by page) and writes its files, decides when a
// download has reached the end of the track, saves what a cut-off download
// read, and dumps a memory page.
//
// Its workers post their statuses to its own receiver. What it finds goes to
// a TTrackReports.
//
// The end rule: a download has ended when the next flight's sector ended it;
// one stopped by the sector cap has not (the flight goes on past it). An end
// report for an unknown record in sector mode does not end it: more sectors
// may follow. Its files are written once, at that end, off the interface
// thread. A
// download whose line failed has ended all the same when the sector read last
// ended in an end report and its records cover the flight as far as it is
// known (the listed sectors, or the duration the statistics report). Any
// other download that stops writes nothing by itself, so a complete set on
// disk stays; SavePartial() writes what it read under names of their own.
//
// Once a download's files are written, every attached hook hears of it
// (AttachDownloadHook); partial saves only reach hooks that ask for them.
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "device/DeviceIO.h"
#include "device/StatusReceiver.h"
#include "device/TrackLists.h"
#include "flow/Outcome.h"
#include "models/ModelTable.h"
#include "track/ExportJob.h"
#include "track/FlightStats.h"
#include "track/IgcExport.h"

namespace serial {
class TNonVisComp;
}

namespace flow {

// What a hook learns of a download whose files have been written.
struct TDownloadedTrack {
    std::uint8_t flightIndex = 0;  // 0 the last flight, 1 the one before
    int flightNumber = 0;
    std::shared_ptr<const device::TrackSnapshot> lists;
    // The checked track of `lists` the files were written from, for all that
    // follows them (KML, logbook): never null.
    std::shared_ptr<const track::TCheckedTrack> checked;
    QStringList files;     // full paths
    bool partial = false;  // written by SavePartial()
    // Known after the instrument has been identified.
    std::optional<models::DeviceModelId> model;
    std::optional<std::uint16_t> firmwareVersion;
    // The settings' time-zone byte, when the settings have been read.
    std::optional<std::uint8_t> timeZone;
};

using TDownloadHook = std::function<void(const TDownloadedTrack&)>;
// Called on the interface thread after the files of every download are
// written (with `partialToo`, after partial saves as well). Returns an id for
// DetachDownloadHook.
int AttachDownloadHook(TDownloadHook hook, bool partialToo = false);
void DetachDownloadHook(int id);

// How the download reports; the track page shows, the command line prints.
class TTrackReports {
  public:
    virtual ~TTrackReports() = default;
    virtual void StatsRead(const track::TFlightStatsReply& stats) = 0;
    // Sectors or pages read so far (track::TrackProgressPosition places it).
    virtual void Progress(int count) = 0;
    virtual void PageRead(const QStringList& lines) = 0;
    // The files of one end report, or of a partial save, are written (or
    // `result.error` says why not). `tag` is what ExportTag() said when the
    // write was asked for.
    virtual void FilesWritten(const track::TExportResult& result, bool partial, int tag) = 0;
    // A download stopped without the end of the track; `text` says how far it
    // got. `canSave`: something was read that SavePartial() can write.
    virtual void Unfinished(const QString& text, bool canSave) = 0;
    // A worker's port failed or its instrument fell silent, or another
    // operation held the port so that nothing started (PortBusy).
    virtual void Failed(const TReport& report) = 0;
    // A worker's final status came: what waited on it may be offered again.
    virtual void OperationEnded() {}
    // The operation is over: its worker has ended and its files are written.
    // `outcome` is what the command line exits with.
    virtual void Finished(const TReport& outcome) = 0;
    virtual int ExportTag() const { return 0; }
};

class TTrackDownload : public QObject {
  public:
    TTrackDownload(serial::TNonVisComp& link, TTrackReports& reports, QObject* parent = nullptr);
    ~TTrackDownload() override;

    // Each starts a worker unless one of this download runs (false then).
    bool ReadStats(std::uint8_t flightIndex);
    // The track of the flight `stats` describes; nothing without a track.
    bool Download(const track::TFlightStatsReply& stats, std::uint8_t flightIndex, bool bySector);
    bool ReadPage(std::int32_t address);
    // Writes what the last, unfinished download read; false when there is
    // nothing or a worker runs.
    bool SavePartial();
    bool CanSavePartial() const { return partialReady_; }
    // What the last, unfinished download read, and whether it is in files.
    QString UnfinishedText(bool saved) const;

    // Where this operation's workers post their statuses: its own receiver.
    device::TTarget StatusTarget() const { return receiver_.Target(); }

    bool WorkerRunning() const { return !running_.isNull(); }
    bool ExportRunning() const { return exporter_->Busy(); }

    // The folder of the files; empty: the current directory.
    std::function<QString()> Folder;
    // The size of the picture to draw with the files; empty: none.
    std::function<QSize()> PlotSize;
    bool Igc = true;
    // The files' name without extension; empty: "Track<flight>", or with the
    // start time added when that name holds another flight's files.
    QString FileBase;
    // Sectors the flight is known to span (a scan's list); 0: unknown.
    int FlightSectors = 0;
    device::TWorkerTiming Timing;
    device::TTrackLimits Limits;

    // The identified instrument: the files and the hooks name it.
    void SetInstrument(const track::TIgcInstrument& instrument,
                       std::optional<std::uint8_t> timeZone = std::nullopt);
    // The statistics last read.
    const track::TFlightStatsReply& Stats() const { return stats_; }

  private:
    void OnStatus(int code, qintptr value);
    // True, with PortBusy reported as failure and end, while another
    // operation holds the port.
    bool RefusedBusy();
    bool Start(device::TDeviceIO* worker);
    void WorkerEnded();
    void Export(bool partial);
    void ExportDone(const track::TExportResult& result, bool partial, int tag,
                    std::shared_ptr<const device::TrackSnapshot> lists);
    void FinishWhenIdle();
    // Whether a download whose line failed had read the whole flight.
    bool WholeFlightRead() const;
    TDownloadedTrack Downloaded(const track::TExportResult& result, bool partial,
                                std::shared_ptr<const device::TrackSnapshot> lists) const;

    serial::TNonVisComp& link_;
    device::TStatusReceiver receiver_;
    TTrackReports& reports_;
    track::TLatestJobRunner* exporter_;
    QPointer<device::TDeviceIO> running_;
    track::TFlightStatsReply stats_{};

    // The operation under way, until Finished.
    bool active_ = false;
    std::optional<TReport> failure_;
    QString writeError_;
    // A page read under way, until its page has come; its worker ends with
    // no final status of its own when no answer came.
    bool pageAwaited_ = false;
    qintptr lastBadReply_ = 0;
    // The download under way or last made.
    bool downloading_ = false;
    std::uint8_t flightIndex_ = 0;
    int flightNumber_ = 0;
    bool bySector_ = true;
    int count_ = 0;
    bool ended_ = false;
    bool markPending_ = false;  // an end report for the sector under way
    bool lastMarked_ = false;   // the sector read last ended in an end report
    bool unfinished_ = false;   // to be reported when the operation is over
    bool partialReady_ = false;
    // The last files written by this operation, for the hooks.
    std::optional<TDownloadedTrack> written_;

    track::TIgcInstrument instrument_;
    bool instrumentKnown_ = false;
    std::optional<std::uint8_t> timeZone_;
};

}  // namespace flow
