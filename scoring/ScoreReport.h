#pragma once
// The score and the climbs and glides as the pilot reads them: one line for
// the track page and the logbook, text and JSON for the command line.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "scoring/FlightAnalysis.h"
#include "scoring/Optimizer.h"

namespace scoring {

// "XContest: 87,34 б, треугольник FAI"; an unproven score says so and gives
// the most the flight could score.
QString ScoreLine(const TScoreResult& result);
// The solution point by point, for a terminal.
QStringList ScoreText(const TScoreResult& result);
QByteArray ScoreJson(const TScoreResult& result);
QStringList AnalysisText(const TFlightAnalysis& analysis);

}  // namespace scoring
