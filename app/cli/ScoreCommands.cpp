#include "app/cli/ScoreCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <cmath>
#include <cstdio>
#include <memory>

#include "app/cli/CliSession.h"
#include "device/AppError.h"
#include "device/FileStore.h"
#include "device/UserTexts.h"
#include "scoring/ScoreReport.h"
#include "scoring/ScoreRunner.h"
#include "track/TrackFileReader.h"

namespace cli {

namespace {

void PrintLine(const QString& line) { std::printf("%s\n", qPrintable(line)); }

}  // namespace

QString ScoreCommandsHelp() {
    return QCoreApplication::translate(
               "cli",
               "  score FILE [--rules RULES] [--json] [--time-limit S]\n"
               "                                лучшая оценка полёта по маршруту (поиск\n"
               "                                останавливается через %1 с, если --time-limit\n"
               "                                не велит иначе)\n"
               "  analyse FILE [--score]        термики, переходы, набор и снижение полёта\n"
               "                                (а с --score и его оценка)\n")
        .arg(DefaultTimeLimitSeconds);
}

std::optional<flow::TOutcome> RunScoreCommand(const QStringList& args,
                                              const QCommandLineParser& parser,
                                              const TScoreCommandOptions& options) {
    if (args.size() != 2) return std::nullopt;
    const bool score = args[0] == QLatin1String("score");
    if (!score && args[0] != QLatin1String("analyse")) return std::nullopt;

    const scoring::TRuleSet* rules = &scoring::XContestRules();
    if (parser.isSet(options.rules)) {
        rules = scoring::RuleSetById(parser.value(options.rules).toLower());
        if (!rules)
            return UsageError(QCoreApplication::translate("cli", "Правила: одно из %1.")
                                  .arg(scoring::RuleSetIds().join(QStringLiteral(", "))));
    }
    double timeLimit = DefaultTimeLimitSeconds;
    if (parser.isSet(options.timeLimit)) {
        bool ok = false;
        timeLimit = parser.value(options.timeLimit).toDouble(&ok);
        if (!ok || !(timeLimit >= 0) || !std::isfinite(timeLimit))
            return UsageError(
                QCoreApplication::translate("cli", "Предел времени: секунды, 0 или больше."));
    }

    std::vector<track::TCheckedTrack> flights;
    try {
        flights = track::ReadTrackFileDetails(args[1]).flights;
        if (flights.empty())
            throw device::TAppError(device::NoTrackPointsText(device::ShownName(args[1])));
    } catch (const device::TAppError& error) {
        std::fprintf(stderr, "%s\n", error.Text().toUtf8().constData());
        return flow::TOutcome::BadFile;
    }
    const bool json = score && parser.isSet(options.json);
    if (json && flights.size() > 1) std::fputs("[\n", stdout);
    bool allFound = true;
    for (std::size_t i = 0; i < flights.size(); ++i) {
        const track::TCheckedTrack& flight = flights[i];
        if (flights.size() > 1 && !json)
            PrintLine(QCoreApplication::translate("cli", "Полёт %1 из %2")
                          .arg(i + 1)
                          .arg(flights.size()));
        if (!score) {
            const double highest = track::HighestAltitude(flight.fixes);
            if (!std::isnan(highest))
                PrintLine(QCoreApplication::translate("cli", "Наибольшая высота %1 м (%2)")
                              .arg(std::lround(highest))
                              .arg(track::AltitudeSourceText(flight.altitude)));
            if (flight.leftOut > 0) PrintLine(track::LeftOutText(flight.leftOut));
            if (!parser.isSet(options.score)) {
                for (const QString& line :
                     scoring::AnalysisText(scoring::AnalyseFlight(flight.fixes)))
                    PrintLine(line);
                continue;
            }
        }
        scoring::TScoreRunner runner;
        QEventLoop loop;
        scoring::TFlightReport report;
        QObject::connect(&runner, &scoring::TScoreRunner::Finished, &loop,
                         [&](const scoring::TFlightReport& finished) {
                             report = finished;
                             loop.quit();
                         });
        runner.Start(std::make_shared<const std::vector<track::TFlightFix>>(flight.fixes), *rules,
                     timeLimit);
        loop.exec();

        if (!score) {
            for (const QString& line : scoring::AnalysisText(report.analysis)) PrintLine(line);
            for (const QString& line : scoring::ScoreText(report.score)) PrintLine(line);
            continue;
        }
        allFound = allFound && report.score.found;
        if (json) {
            if (i > 0) std::fputs(",\n", stdout);
            std::fputs(scoring::ScoreJson(report.score).constData(), stdout);
        } else {
            for (const QString& line : scoring::ScoreText(report.score)) PrintLine(line);
        }
    }
    if (json && flights.size() > 1) std::fputs("]\n", stdout);
    return allFound ? flow::TOutcome::Done : flow::TOutcome::Failed;
}

}  // namespace cli
