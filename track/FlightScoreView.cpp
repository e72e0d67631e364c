#include "track/FlightScoreView.h"

#include "scoring/ScoreReport.h"

namespace track {

TFlightMarks MarksOf(const scoring::TFlightReport& report) {
    TFlightMarks marks;
    for (const scoring::TScorePoint& point : report.score.points)
        marks.turnpoints.push_back(point.index);
    if (report.score.closed) {
        marks.closedShape = true;
        marks.closingPoints = {report.score.closingStart.index, report.score.closingEnd.index};
    }
    for (const scoring::TThermal& thermal : report.analysis.thermals)
        marks.thermals.push_back({thermal.first, thermal.last});
    return marks;
}

void ShowFlightScore(QPlainTextEdit* memo, std::shared_ptr<const std::vector<TFlightFix>> fixes,
                     std::function<void(const TFlightMarks&)> marksFound) {
    if (!fixes || fixes->size() < 2) return;
    // One runner per memo: starting it again drops the older flight's search.
    auto* runner = memo->findChild<scoring::TScoreRunner*>(QString(), Qt::FindDirectChildrenOnly);
    if (!runner) runner = new scoring::TScoreRunner(memo);
    QObject::disconnect(runner, &scoring::TScoreRunner::Finished, nullptr, nullptr);
    QObject::connect(
        runner, &scoring::TScoreRunner::Finished, memo,
        [memo, marksFound = std::move(marksFound)](const scoring::TFlightReport& report) {
            memo->appendPlainText(scoring::ScoreLine(report.score));
            for (const QString& line : scoring::AnalysisText(report.analysis))
                memo->appendPlainText(line);
            if (marksFound) marksFound(MarksOf(report));
        });
    runner->Start(std::move(fixes));
}

}  // namespace track
