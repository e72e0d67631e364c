#include "track/ExportJob.h"

#include <QThreadPool>
#include <exception>
#include <mutex>

#include "device/AppError.h"
#include "track/FlightPlot.h"

namespace track {

// The job's only way back: cleared when the runner goes, under the lock the
// job holds while it posts, so a posting job never meets a runner half gone.
// An event already posted to a runner that goes is dropped with it.
struct TLatestJobRunner::TChannel {
    std::mutex mutex;
    TLatestJobRunner* runner = nullptr;
};

TLatestJobRunner::TLatestJobRunner(QObject* parent)
    : QObject(parent), channel_(std::make_shared<TChannel>()) {
    channel_->runner = this;
}

TLatestJobRunner::~TLatestJobRunner() {
    std::lock_guard lock(channel_->mutex);
    channel_->runner = nullptr;
}

void TLatestJobRunner::Submit(TJob job) {
    if (running_) {
        pending_ = std::move(job);
        return;
    }
    Start(std::move(job));
}

void TLatestJobRunner::Start(TJob job) {
    running_ = true;
    QThreadPool::globalInstance()->start([channel = channel_, job = std::move(job)] {
        TDone done = job();
        std::lock_guard lock(channel->mutex);
        if (!channel->runner) return;
        TLatestJobRunner* runner = channel->runner;
        QMetaObject::invokeMethod(
            runner, [runner, done = std::move(done)] { runner->Finished(done); },
            Qt::QueuedConnection);
    });
}

void TLatestJobRunner::Finished(const TDone& done) {
    running_ = false;
    if (pending_) Start(std::exchange(pending_, nullptr));
    if (done) done();
}

namespace {
class TLineSink : public TMemoSink {
  public:
    explicit TLineSink(QStringList& lines) : lines_(lines) {}
    void Clear() override { lines_.clear(); }
    void AddLine(const QString& line) override { lines_.append(line); }

  private:
    QStringList& lines_;
};
}  // namespace

TExportResult RunExport(const TExportRequest& request) {
    TExportResult result;
    TLineSink memo(result.memo);
    try {
        result.files = WriteTrackFiles(request.flightNumber, request.lists, memo, request.folder,
                                       request.options);
    } catch (const device::TAppError& error) {
        result.error = error.Text();
    } catch (const std::exception& error) {
        result.error = QString::fromLocal8Bit(error.what());
    }
    // The picture also when a file failed: the pilot sees what was read.
    try {
        auto fixes = std::make_shared<std::vector<TFlightFix>>(FlightFixes(request.lists.gps));
        if (!request.plotSize.isEmpty() && !fixes->empty())
            result.plot = RenderFlightPlot(*fixes, request.plotSize);
        result.fixes = std::move(fixes);
    } catch (const std::bad_alloc&) {
        // No picture is no loss of data; the files are reported above.
    }
    return result;
}

}  // namespace track
