#include "app/cli/ScoreCommands.h"

#include <QEventLoop>
#include <cstdio>
#include <memory>

#include "app/ExitCodes.h"
#include "device/AppError.h"
#include "scoring/ScoreReport.h"
#include "scoring/ScoreRunner.h"
#include "track/TrackFileReader.h"

namespace cli {

namespace {

void PrintLine(const QString& line) { std::printf("%s\n", qPrintable(line)); }

int Usage(const QString& text) {
    std::fprintf(stderr, "tolmarik-cli: %s See --help.\n", qPrintable(text));
    return app::EC_USAGE;
}

}  // namespace

QString ScoreCommandsHelp() {
    return QStringLiteral(
        "  score FILE [--rules xcontest|ffvl] [--json] [--time-limit S]\n"
        "                                the flight's best cross-country score\n"
        "  analyse FILE                  the flight's thermals, glides, climb and sink\n");
}

std::optional<int> RunScoreCommand(const QStringList& args, const QCommandLineParser& parser,
                                   const TScoreCommandOptions& options) {
    if (args.size() != 2) return std::nullopt;
    const bool score = args[0] == QLatin1String("score");
    if (!score && args[0] != QLatin1String("analyse")) return std::nullopt;

    const scoring::TRuleSet* rules = &scoring::XContestRules();
    if (parser.isSet(options.rules)) {
        rules = scoring::RuleSetById(parser.value(options.rules).toLower());
        if (!rules)
            return Usage(QStringLiteral("Rules are one of: %1.")
                             .arg(scoring::RuleSetIds().join(QStringLiteral(", "))));
    }
    double timeLimit = 0;
    if (parser.isSet(options.timeLimit)) {
        bool ok = false;
        timeLimit = parser.value(options.timeLimit).toDouble(&ok);
        if (!ok || !(timeLimit > 0))
            return Usage(QStringLiteral("The time limit is seconds above 0."));
    }

    std::shared_ptr<const std::vector<track::TFlightFix>> fixes;
    try {
        fixes =
            std::make_shared<const std::vector<track::TFlightFix>>(track::ReadTrackFile(args[1]));
    } catch (const device::TAppError& error) {
        std::fprintf(stderr, "%s\n", error.Text().toUtf8().constData());
        return app::EC_BAD_FILE;
    }

    scoring::TScoreRunner runner;
    QEventLoop loop;
    scoring::TFlightReport report;
    QObject::connect(&runner, &scoring::TScoreRunner::Finished, &loop,
                     [&](const scoring::TFlightReport& finished) {
                         report = finished;
                         loop.quit();
                     });
    runner.Start(fixes, *rules, timeLimit);
    loop.exec();

    if (!score) {
        for (const QString& line : scoring::AnalysisText(report.analysis)) PrintLine(line);
        return app::EC_OK;
    }
    if (parser.isSet(options.json)) {
        std::fputs(scoring::ScoreJson(report.score).constData(), stdout);
    } else {
        for (const QString& line : scoring::ScoreText(report.score)) PrintLine(line);
    }
    return report.score.found ? app::EC_OK : app::EC_FAILED;
}

}  // namespace cli
