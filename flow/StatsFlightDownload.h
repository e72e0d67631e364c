#pragma once
// TStatsFlightDownload: the flight the instrument's statistics name (its
// last, or the one before) in one go: the statistics, then the track unless
// they name none, then, when asked, what a cut-off download read into files
// of its own. The track page takes these steps one click at a time; the
// command line takes them all.
//
// Its reports go to a TTrackReports as the steps' own would, with two
// differences: Unfinished comes once, after the partial save was tried, with
// the text that says whether it was made; and Finished comes once, at the
// end of the last step. An unfinished download then finishes with its
// outcome's text left out, since Unfinished has said it.
#include <QObject>
#include <cstdint>
#include <functional>

#include "flow/TrackDownload.h"

namespace flow {

class TStatsFlightDownload : public QObject, private TTrackReports {
  public:
    TStatsFlightDownload(serial::TNonVisComp& link, TTrackReports& reports,
                         QObject* parent = nullptr);
    ~TStatsFlightDownload() override;

    // False when a run is under way.
    bool Start(std::uint8_t flightIndex, bool bySector);
    bool Running() const { return step_ != TStep::Idle; }

    // What a download cut off read goes into files of its own.
    bool KeepPartial = false;
    // Handed to the track's download.
    TTrackDownload& Track() { return track_; }

  private:
    enum class TStep { Idle, Stats, Track, Partial };

    void StatsRead(const track::TFlightStatsReply& stats) override;
    void Progress(int count) override;
    void PageRead(const QStringList& lines) override;
    void FilesWritten(const track::TExportResult& result, bool partial, int tag) override;
    void Unfinished(const QString& text, bool canSave) override;
    void Failed(const TReport& report) override;
    void OperationEnded() override;
    void Finished(const TReport& outcome) override;
    int ExportTag() const override;

    void Next(std::function<bool()> start);
    void End(const TReport& outcome);
    void EndUnfinished(bool saved);

    TTrackReports& reports_;
    TTrackDownload track_;
    TStep step_ = TStep::Idle;
    std::uint8_t flightIndex_ = 0;
    bool bySector_ = true;
    bool unfinished_ = false;
    TReport trackOutcome_;
};

}  // namespace flow
