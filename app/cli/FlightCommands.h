#pragma once
// tolmarik-cli flights, download --flight N and download --all-new: every
// flight in the instrument's memory, and any of them downloaded into its
// files and the logbook.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <optional>

namespace cli {

struct TFlightCommandOptions {
    QCommandLineOption flight{
        QStringLiteral("flight"),
        QStringLiteral("download: the flight numbered N in the instrument's memory (every part "
                       "of it, when another flight's sector splits it)."),
        QStringLiteral("N")};
    QCommandLineOption allNew{
        QStringLiteral("all-new"),
        QStringLiteral("download: every flight in memory that the logbook does not hold.")};
    QCommandLineOption rescan{
        QStringLiteral("rescan"),
        QStringLiteral("flights, download: read the memory again even when it has not changed.")};

    void AddTo(QCommandLineParser& parser) const { parser.addOptions({flight, allNew, rescan}); }
    bool ChoosesFlights(const QCommandLineParser& parser) const {
        return parser.isSet(flight) || parser.isSet(allNew);
    }
};

// The commands' lines for --help.
QString FlightCommandsHelp();

// Parses --flight: a flight number, or nothing (with an error printed).
std::optional<int> FlightNumberOption(const QCommandLineParser& parser,
                                      const TFlightCommandOptions& options);

}  // namespace cli
