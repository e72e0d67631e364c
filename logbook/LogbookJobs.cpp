#include "logbook/LogbookJobs.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

#include "device/AppError.h"
#include "device/HandOver.h"

namespace logbook {

TImportJob::TImportJob(const QString& databasePath, const QStringList& paths,
                       const track::TPilotProfile& profile, QObject* parent)
    : QObject(parent),
      databasePath_(databasePath),
      paths_(paths),
      profile_(profile),
      cancelled_(std::make_shared<std::atomic<bool>>(false)) {}

TImportJob::~TImportJob() {
    Cancel();
    if (thread_.joinable()) thread_.join();
}

void TImportJob::Start() {
    thread_ = std::thread([this, cancelled = cancelled_] {
        TImportReport report;
        try {
            TLogbook book(databasePath_);
            report = book.Import(
                paths_, profile_, [this, cancelled](int done, int total, const QString& path) {
                    QMetaObject::invokeMethod(this, device::HandedOver([this, done, total, path] {
                                                  Q_EMIT Progress(done, total, path);
                                              }),
                                              Qt::QueuedConnection);
                    return !cancelled->load();
                });
        } catch (const device::TAppError& error) {
            report.failed = 1;
            report.errors << error.Text();
        }
        QMetaObject::invokeMethod(this, device::HandedOver([this, report] {
                                      report_ = report;
                                      Q_EMIT Finished();
                                  }),
                                  Qt::QueuedConnection);
    });
}

TRecordOutcome RecordDownloadNow(const QString& databasePath, const TDownloadedFlight& download,
                                 const track::TPilotProfile& profile) {
    try {
        TLogbook book(databasePath);
        return book.RecordDownload(download, profile);
    } catch (const device::TAppError& error) {
        return {TRecordResult::LogbookFailed, 0, error.Text()};
    }
}

void RecordDownloadInBackground(const QString& databasePath, TDownloadedFlight download,
                                const track::TPilotProfile& profile, QObject* context,
                                std::function<void(const TRecordOutcome&)> done) {
    QPointer<QObject> guard(context);
    QThreadPool::globalInstance()->start(device::HandedOver(
        [databasePath, download = std::move(download), profile, guard, done = std::move(done)] {
            const TRecordOutcome outcome = RecordDownloadNow(databasePath, download, profile);
            // The guard is read only on the interface thread, where the
            // context lives and dies.
            QMetaObject::invokeMethod(QCoreApplication::instance(),
                                      device::HandedOver([guard, done, outcome] {
                                          if (guard) done(outcome);
                                      }),
                                      Qt::QueuedConnection);
        }));
}

void ScoreUnscoredInBackground(const QString& databasePath,
                               std::shared_ptr<std::atomic<bool>> cancel, QObject* context,
                               std::function<void(int scored)> done) {
    QPointer<QObject> guard(context);
    QThreadPool::globalInstance()->start(
        device::HandedOver([databasePath, cancel, guard, done = std::move(done)] {
            int scored = 0;
            try {
                TLogbook book(databasePath);
                scored = book.ScoreUnscored([&cancel](int, int) { return !cancel->load(); });
            } catch (const device::TAppError&) {
                // The window reports the logbook's failures as it meets them.
            }
            QMetaObject::invokeMethod(QCoreApplication::instance(),
                                      device::HandedOver([guard, done, scored] {
                                          if (guard) done(scored);
                                      }),
                                      Qt::QueuedConnection);
        }));
}

}  // namespace logbook
