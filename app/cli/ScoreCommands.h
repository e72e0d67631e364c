#pragma once
// tolmarik-cli score and analyse: a flight file's cross-country score and its
// climbs and glides, without an instrument.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <optional>

#include "scoring/RuleSets.h"

namespace cli {

// The score's search stops after this many seconds unless told otherwise:
// every real flight is proven far sooner, and a pathological track still
// answers with its best and the bound it could not close.
inline constexpr double DefaultTimeLimitSeconds = 5;

struct TScoreCommandOptions {
    QCommandLineOption rules{QStringLiteral("rules"),
                             QStringLiteral("Scoring rules: %1 (xcontest unless told).")
                                 .arg(scoring::RuleSetIds().join(QStringLiteral(", "))),
                             QStringLiteral("RULES")};
    QCommandLineOption json{QStringLiteral("json"), QStringLiteral("Print the score as JSON.")};
    QCommandLineOption timeLimit{
        QStringLiteral("time-limit"),
        QStringLiteral("Stop the score's search after S seconds (default %1) with the best found "
                       "so far and the most any solution could score; 0: until proven.")
            .arg(DefaultTimeLimitSeconds),
        QStringLiteral("S")};
    QCommandLineOption score{QStringLiteral("score"),
                             QStringLiteral("With analyse: score the flight as well.")};

    void AddTo(QCommandLineParser& parser) const {
        parser.addOptions({rules, json, timeLimit, score});
    }
};

// The commands' lines for --help.
QString ScoreCommandsHelp();

// Runs "score FILE" or "analyse FILE" and gives the exit status; nothing for
// any other command line.
std::optional<int> RunScoreCommand(const QStringList& args, const QCommandLineParser& parser,
                                   const TScoreCommandOptions& options);

}  // namespace cli
