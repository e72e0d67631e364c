#pragma once
// After a download: the flight's score and its climbs and glides under the
// track files, and the scored route and the thermals on the flight picture.
// The search and the drawing run off the interface thread; a newer flight
// given to the same memo cancels the older search.
#include <QPlainTextEdit>
#include <memory>
#include <vector>

#include "scoring/ScoreRunner.h"
#include "track/FlightFix.h"
#include "track/FlightPlot.h"

namespace track {

class TFlightPlotView;

// The marks of a report, for the flight picture.
TFlightMarks MarksOf(const scoring::TFlightReport& report);

// Scores `fixes` (XContest rules) and, when done, appends the score line and
// the climbs and glides to `memo` and redraws `picture` with the marks.
void ShowFlightScore(QPlainTextEdit* memo, TFlightPlotView* picture,
                     std::shared_ptr<const std::vector<TFlightFix>> fixes);

}  // namespace track
