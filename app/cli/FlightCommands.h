#pragma once
// tolmarik-cli flights, download --flight N and download --all-new: every
// flight in the instrument's memory, and any of them downloaded into its
// files and the logbook.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <optional>

namespace cli {

struct TFlightCommandOptions {
    QCommandLineOption flight{
        QStringLiteral("flight"),
        QCoreApplication::translate("cli",
                                    "download: полёт с номером N в памяти прибора (все его части, "
                                    "если его делит сектор другого полёта)."),
        QStringLiteral("N")};
    QCommandLineOption allNew{QStringLiteral("all-new"),
                              QCoreApplication::translate(
                                  "cli", "download: все полёты в памяти, которых нет в журнале.")};
    QCommandLineOption rescan{
        QStringLiteral("rescan"),
        QCoreApplication::translate(
            "cli", "flights, download: прочитать память снова, даже если она не изменилась.")};

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
