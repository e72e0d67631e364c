#pragma once
// Scores a flight and tells its climbs and glides off the interface thread.
// The window or the command line starts it and shows what it reports; the
// logbook takes the score and the flight type from the same report.
#include <QObject>
#include <QThread>
#include <atomic>
#include <memory>
#include <vector>

#include "scoring/FlightAnalysis.h"
#include "scoring/Optimizer.h"
#include "scoring/RuleSets.h"

namespace scoring {

struct TFlightReport {
    TScoreResult score;
    TFlightAnalysis analysis;
};

class TScoreRunner : public QObject {
    Q_OBJECT
  public:
    explicit TScoreRunner(QObject* parent = nullptr);
    // Cancels a search still running and waits for it to end.
    ~TScoreRunner() override;

    // Starts scoring `fixes` (a search still running is cancelled first; only
    // the newest one reports). timeLimitSeconds 0: until proven.
    void Start(std::shared_ptr<const std::vector<track::TFlightFix>> fixes,
               const TRuleSet& rules = XContestRules(), double timeLimitSeconds = 0);
    void Cancel();
    bool Busy() const;

  Q_SIGNALS:
    void Progress(int percent);
    void Finished(const scoring::TFlightReport& report);

  private:
    void Stop();

    QThread* thread_ = nullptr;
    std::shared_ptr<std::atomic<bool>> cancel_;
    // Read and written only on the runner's own thread (Start and the queued
    // reports), never by the search.
    int generation_ = 0;
};

}  // namespace scoring

Q_DECLARE_METATYPE(scoring::TFlightReport)
