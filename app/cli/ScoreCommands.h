#pragma once
// tolmarik-cli score and analyse: a flight file's cross-country score and its
// climbs and glides, without an instrument.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <optional>

#include "flow/Outcome.h"
#include "scoring/RuleSets.h"

namespace cli {

// The score's search stops after this many seconds unless told otherwise:
// every real flight is proven far sooner, and a pathological track still
// answers with its best and the bound it could not close.
inline constexpr double DefaultTimeLimitSeconds = 5;

struct TScoreCommandOptions {
    QCommandLineOption rules{
        QStringLiteral("rules"),
        QCoreApplication::translate("cli", "Правила оценки: %1 (xcontest, если не указаны).")
            .arg(scoring::RuleSetIds().join(QStringLiteral(", "))),
        QStringLiteral("RULES")};
    QCommandLineOption json{QStringLiteral("json"),
                            QCoreApplication::translate("cli", "Вывести оценку в JSON.")};
    QCommandLineOption timeLimit{
        QStringLiteral("time-limit"),
        QCoreApplication::translate(
            "cli",
            "Остановить поиск оценки через S секунд (по умолчанию %1) с лучшей найденной и "
            "наибольшей возможной оценкой; 0: до доказательства.")
            .arg(DefaultTimeLimitSeconds),
        QStringLiteral("S")};
    QCommandLineOption score{QStringLiteral("score"),
                             QCoreApplication::translate("cli", "С analyse: оценить и полёт.")};

    void AddTo(QCommandLineParser& parser) const {
        parser.addOptions({rules, json, timeLimit, score});
    }
};

// The commands' lines for --help.
QString ScoreCommandsHelp();

// Runs "score FILE" or "analyse FILE" and gives its outcome; nothing for
// any other command line.
std::optional<flow::TOutcome> RunScoreCommand(const QStringList& args,
                                              const QCommandLineParser& parser,
                                              const TScoreCommandOptions& options);

}  // namespace cli
