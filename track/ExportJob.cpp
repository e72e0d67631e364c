#include "track/ExportJob.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThreadPool>
#include <atomic>
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
    TDone done;  // the finished job's result, until the runner takes it
};

namespace {
const QEvent::Type kJobDone = static_cast<QEvent::Type>(QEvent::registerEventType());

// Qt's pool takes a job, and a posted event announces its end, under Qt's own
// locks, which the thread checker cannot see. This counter states the same
// order in code it can see: released once a job or its end event is built,
// acquired before either is read.
std::atomic<unsigned> g_handOvers{0};
}  // namespace

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
    std::function<void()> task = [channel = channel_, job = std::move(job)] {
        g_handOvers.load(std::memory_order_acquire);
        TDone done = job();
        std::lock_guard lock(channel->mutex);
        if (!channel->runner) return;
        channel->done = std::move(done);
        auto* ended = new QEvent(kJobDone);
        g_handOvers.fetch_add(1, std::memory_order_release);
        QCoreApplication::postEvent(channel->runner, ended);
    };
    g_handOvers.fetch_add(1, std::memory_order_release);
    QThreadPool::globalInstance()->start(std::move(task));
}

bool TLatestJobRunner::event(QEvent* e) {
    g_handOvers.load(std::memory_order_acquire);
    if (e->type() != kJobDone) return QObject::event(e);
    TDone done;
    {
        std::lock_guard lock(channel_->mutex);
        done = std::move(channel_->done);
    }
    Finished(done);
    return true;
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
        result.checked = std::make_shared<const TCheckedTrack>(CheckedDownload(request.lists.gps));
        result.files =
            WriteTrackFiles(request.flightNumber, request.lists, result.checked->recorded, memo,
                            request.folder, request.options);
    } catch (const device::TAppError& error) {
        result.error = error.Text();
    } catch (const std::exception& error) {
        result.error = QString::fromLocal8Bit(error.what());
    }
    // The picture also when a file failed: the pilot sees what was read.
    try {
        if (result.checked && !request.plotSize.isEmpty() && !result.checked->fixes.empty())
            result.plot =
                RenderFlightPlot(result.checked->fixes, request.plotSize,
                                 request.options.partial ? TTrackEnd::Cut : TTrackEnd::Landing);
    } catch (const std::bad_alloc&) {
        // No picture is no loss of data; the files are reported above.
    }
    return result;
}

}  // namespace track
