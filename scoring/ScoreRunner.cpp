#include "scoring/ScoreRunner.h"

#include <QMetaObject>

#include "device/HandOver.h"

namespace scoring {

TScoreRunner::TScoreRunner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<scoring::TFlightReport>();
}

TScoreRunner::~TScoreRunner() { Stop(); }

void TScoreRunner::Stop() {
    if (!thread_) return;
    cancel_->store(true);
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

void TScoreRunner::Cancel() {
    if (cancel_) cancel_->store(true);
}

bool TScoreRunner::Busy() const { return thread_ && !thread_->isFinished(); }

void TScoreRunner::Start(std::shared_ptr<const std::vector<track::TFlightFix>> fixes,
                         const TRuleSet& rules, double timeLimitSeconds) {
    Stop();
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    const int generation = ++generation_;
    // The search keeps its own copy of the rules: the caller's may be gone
    // before the search ends.
    thread_ = QThread::create([fixes, rules = TRuleSet(rules), timeLimitSeconds, cancel = cancel_,
                               generation, receiver = this] {
        TScoreOptions options;
        options.timeLimitSeconds = timeLimitSeconds;
        options.cancel = cancel.get();
        // Reports reach the runner's thread queued; a runner destroyed
        // meanwhile has waited for this thread, so `receiver` is alive here.
        options.progress = [receiver, generation](int percent) {
            QMetaObject::invokeMethod(receiver, device::HandedOver([receiver, generation, percent] {
                                          if (receiver->generation_ == generation)
                                              Q_EMIT receiver->Progress(percent);
                                      }));
        };
        TFlightReport report;
        report.score = ScoreFlight(*fixes, rules, options);
        report.analysis = AnalyseFlight(*fixes);
        QMetaObject::invokeMethod(
            receiver, device::HandedOver([receiver, generation, report = std::move(report)] {
                if (receiver->generation_ == generation) Q_EMIT receiver->Finished(report);
            }));
    });
    thread_->start();
}

}  // namespace scoring
