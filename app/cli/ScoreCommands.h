#pragma once
// tolmarik-cli score and analyse: a flight file's cross-country score and its
// climbs and glides, without an instrument.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <optional>

namespace cli {

struct TScoreCommandOptions {
    QCommandLineOption rules{QStringLiteral("rules"),
                             QStringLiteral("Scoring rules for score: xcontest (default) or ffvl."),
                             QStringLiteral("RULES")};
    QCommandLineOption json{QStringLiteral("json"), QStringLiteral("Print the score as JSON.")};
    QCommandLineOption timeLimit{
        QStringLiteral("time-limit"),
        QStringLiteral("Stop the score's search after S seconds with the best found so far."),
        QStringLiteral("S")};

    void AddTo(QCommandLineParser& parser) const { parser.addOptions({rules, json, timeLimit}); }
};

// The commands' lines for --help.
QString ScoreCommandsHelp();

// Runs "score FILE" or "analyse FILE" and gives the exit status; nothing for
// any other command line.
std::optional<int> RunScoreCommand(const QStringList& args, const QCommandLineParser& parser,
                                   const TScoreCommandOptions& options);

}  // namespace cli
