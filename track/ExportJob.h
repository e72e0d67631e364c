#pragma once
// Writing a download's files and drawing its picture off the interface
// thread, so that a window stays responsive however long the disk takes.
#include <QImage>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "device/TrackLists.h"
#include "track/CheckedTrack.h"
#include "track/FlightFix.h"
#include "track/TrackExport.h"

namespace track {

// Runs jobs one at a time on the thread pool. A job submitted while another
// runs waits; a newer one replaces it, so of a burst only the newest runs.
// What a job returns is called on the runner's thread once the job has
// finished, unless the runner is gone by then: a job holds no pointer to it.
class TLatestJobRunner : public QObject {
    Q_OBJECT
  public:
    using TDone = std::function<void()>;
    using TJob = std::function<TDone()>;

    explicit TLatestJobRunner(QObject* parent = nullptr);
    ~TLatestJobRunner() override;

    void Submit(TJob job);
    // A job runs or waits.
    bool Busy() const { return running_; }

  protected:
    bool event(QEvent* e) override;

  private:
    struct TChannel;
    void Start(TJob job);
    void Finished(const TDone& done);

    std::shared_ptr<TChannel> channel_;
    bool running_ = false;
    TJob pending_;
};

struct TExportRequest {
    int flightNumber = 0;
    device::TrackSnapshot lists;
    QString folder;  // empty: the current directory
    TTrackFileOptions options;
    QSize plotSize;  // of the picture; empty: none is drawn
};

struct TExportResult {
    // The memo's lines as WriteTrackFiles leaves them.
    QStringList memo;
    // The full paths of the files written.
    QStringList files;
    // Empty when every file was written.
    QString error;
    // The download's checked track (CheckedDownload), made once for the files,
    // the picture and all that follows them: statistics, score, KML, logbook.
    // Null only with an error (memory ran out before the files were written).
    std::shared_ptr<const TCheckedTrack> checked;
    QImage plot;
};

// Checks the download's fixes, writes the files of `request` as
// WriteTrackFiles does and draws the picture of the checked fixes. Errors
// land in the result; it never throws.
TExportResult RunExport(const TExportRequest& request);

}  // namespace track
