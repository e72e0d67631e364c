#pragma once
// The logbook's slow work off the interface thread: an import with progress
// and a cancel, and the recording of a download. Each opens its own
// connection to the logbook on its own thread.
#include <QObject>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "logbook/Logbook.h"

namespace logbook {

class TImportJob : public QObject {
    Q_OBJECT
  public:
    TImportJob(const QString& databasePath, const QStringList& paths,
               const track::TPilotProfile& profile, QObject* parent = nullptr);
    // Cancels and waits for the file in hand to end.
    ~TImportJob() override;

    void Start();
    // The import stops before its next file; Finished still comes.
    void Cancel() { cancelled_->store(true); }
    const TImportReport& Report() const { return report_; }

  Q_SIGNALS:
    void Progress(int done, int total, const QString& path);
    // On this object's thread; the report names the files that failed, or
    // the logbook's own failure.
    void Finished();

  private:
    QString databasePath_;
    QStringList paths_;
    track::TPilotProfile profile_;
    std::shared_ptr<std::atomic<bool>> cancelled_;
    std::thread thread_;
    TImportReport report_;
};

// Records `download` in the logbook at `databasePath` on a thread of the
// pool; `done` is called on the interface thread unless `context` (an
// object of that thread) is gone by then. A logbook that cannot be opened is an outcome with the
// reason.
void RecordDownloadInBackground(const QString& databasePath, TDownloadedFlight download,
                                const track::TPilotProfile& profile, QObject* context,
                                std::function<void(const TRecordOutcome&)> done);

// Scores the flights of the logbook at `databasePath` not scored yet (kept by
// an older version) on a thread of the pool; `done` is called on the
// interface thread with how many were scored, unless `context` is gone by
// then. Setting `cancel` stops it before its next flight.
void ScoreUnscoredInBackground(const QString& databasePath,
                               std::shared_ptr<std::atomic<bool>> cancel, QObject* context,
                               std::function<void(int scored)> done);

// The same on the calling thread (for a controller that already runs off the
// interface thread): opens the logbook, records, closes.
TRecordOutcome RecordDownloadNow(const QString& databasePath, const TDownloadedFlight& download,
                                 const track::TPilotProfile& profile);

}  // namespace logbook
