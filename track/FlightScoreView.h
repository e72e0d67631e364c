#pragma once
// After a download: the flight's score and its climbs and glides under the
// track files, and the marks of the scored route and the thermals for the
// flight picture. The search runs off the interface thread; a newer flight
// given to the same memo cancels the older search.
#include <QPlainTextEdit>
#include <functional>
#include <memory>
#include <vector>

#include "scoring/ScoreRunner.h"
#include "track/FlightFix.h"
#include "track/FlightPlot.h"

namespace track {

// The marks of a report, for the flight picture.
TFlightMarks MarksOf(const scoring::TFlightReport& report);

// Scores `fixes` (XContest rules) and, when done, appends the score line and
// the climbs and glides to `memo` and hands the marks to `marksFound` (on the
// interface thread), for the flight picture.
void ShowFlightScore(QPlainTextEdit* memo, std::shared_ptr<const std::vector<TFlightFix>> fixes,
                     std::function<void(const TFlightMarks&)> marksFound);

}  // namespace track
