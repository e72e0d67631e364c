#include "app/cli/FlightCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

#include "app/DownloadRecording.h"
#include "app/cli/CliSession.h"
#include "flow/FlightsDownload.h"
#include "models/DeviceConfig.h"
#include "track/FlightList.h"
#include "track/FlightStats.h"

namespace cli {

using flow::TOutcome;

namespace {

class TScanPrinter : public flow::TScanReports {
  public:
    std::function<void(int, int)> progress;
    std::optional<flow::TReport> finished;
    bool fromCache = false;
    std::function<void()> wake;

    void Progress(int done, int total) override { progress(done, total); }
    void Finished(const flow::TReport& outcome, bool cached) override {
        finished = outcome;
        fromCache = cached;
        wake();
    }
};

class TFlightsPrinter : public flow::TFlightsReports {
  public:
    TFlightsPrinter(TCliSession& session, std::function<void(int)> progress)
        : session_(session), progress_(std::move(progress)) {}
    std::optional<flow::TReport> finished;
    std::optional<flow::TReport> failure;
    std::function<void()> wake;

    void FlightStarted(const track::TListedFlight& flight, int position, int count) override {
        session_.Print(QCoreApplication::translate("cli", "Полет №%1, сектор %2 (%3 из %4)")
                           .arg(flight.flightNumber)
                           .arg(flight.firstSector)
                           .arg(position)
                           .arg(count));
    }
    void Progress(int percent) override { progress_(percent); }
    void FlightDone(const track::TListedFlight&,
                    const std::optional<track::TFlightStatsReply>& stats,
                    const QStringList& fileLines, const flow::TReport& outcome) override {
        if (stats)
            for (const QString& line : track::FlightStatsLines(*stats)) session_.Print(line);
        for (const QString& line : fileLines) session_.Print(line);
        if (!outcome.Good()) failure = outcome;
    }
    void Finished(const flow::TReport& outcome, int) override {
        finished = outcome;
        wake();
    }

  private:
    TCliSession& session_;
    std::function<void(int)> progress_;
};

}  // namespace

QString FlightCommandsHelp() {
    return QCoreApplication::translate(
        "cli",
        "  PORT flights [--rescan]       все полёты в памяти прибора, новые первыми:\n"
        "                                номер, дата, старт, первый сектор, секторов,\n"
        "                                оценка длительности, есть ли в журнале\n"
        "  PORT download --flight N|--all-new [--pages] [--dir DIR] [--no-igc] [--rescan]\n"
        "                                скачать полёт N или все полёты, которых нет\n"
        "                                в журнале, каждый в свои файлы и в журнал\n");
}

std::optional<int> FlightNumberOption(const QCommandLineParser& parser,
                                      const TFlightCommandOptions& options) {
    bool ok = false;
    const int number = parser.value(options.flight).toInt(&ok);
    if (!ok || number < 0 || number > 65535) {
        UsageError(QCoreApplication::translate("cli", "--flight: нужно число от 0 до 65535."));
        return std::nullopt;
    }
    return number;
}

std::optional<TOutcome> TCliSession::ScanFlights(bool rescan, models::TInstrument& instrument,
                                                 flow::TFlightLookup* lookup,
                                                 std::vector<track::TListedFlight>& flights) {
    if (const std::optional<TOutcome> failed = ReadInstrument(instrument)) return failed;
    TScanPrinter printer;
    printer.wake = [this] { Wake(); };
    printer.progress = [this](int done, int total) {
        ShowProgress(done * 100 / total, QCoreApplication::translate("cli", "%1 сект.").arg(done));
    };
    flow::TFlightScan scan(link_, printer);
    scan.Lookup = lookup;
    scan.CacheFile = app::FlightScanCacheFile();
    scan.Start({instrument.model, instrument.firmwareVersion}, rescan);
    WaitFor([&] { return printer.finished.has_value(); });
    EndProgress();
    flights = scan.Flights();
    if (!printer.finished->Good()) return Finish(*printer.finished);
    return std::nullopt;
}

TOutcome TCliSession::ListFlights(bool rescan) {
    models::TInstrument instrument;
    std::vector<track::TListedFlight> flights;
    const std::unique_ptr<flow::TFlightLookup> lookup = app::MakeLogbookLookup();
    const std::optional<TOutcome> failed = ScanFlights(rescan, instrument, lookup.get(), flights);
    // A cut-off scan still shows what it found.
    if (failed && flights.empty()) return *failed;
    const QString unknown = app::LookupFailure(lookup.get());
    Print(QCoreApplication::translate("cli",
                                      "№\tДата\tСтарт\tСектор\tСекторов\tДлительность\tВ журнале"));
    int fresh = 0;
    for (const track::TListedFlight& f : flights) {
        fresh += f.inLogbook ? 0 : 1;
        Print(QStringList{QString::number(f.flightNumber), track::ListedDateText(f),
                          track::ListedTimeText(f), QString::number(f.firstSector),
                          QString::number(f.sectors), track::ListedDurationText(f),
                          track::InLogbookText(f.inLogbook, unknown.isEmpty())}
                  .join(QLatin1Char('\t')));
    }
    if (!unknown.isEmpty()) {
        Fail(unknown);
        return failed.value_or(TOutcome::LogbookUnavailable);
    }
    Print(track::FlightsFoundText(flights.size(), std::size_t(fresh)));
    return failed.value_or(TOutcome::Done);
}

TOutcome TCliSession::DownloadListed(std::optional<int> number, bool rescan, bool bySector,
                                     const QString& folder, bool igc) {
    if (FolderMissing(folder)) return TOutcome::BadUsage;
    models::TInstrument instrument;
    std::vector<track::TListedFlight> listed;
    const std::unique_ptr<flow::TFlightLookup> lookup = app::MakeLogbookLookup();
    if (const std::optional<TOutcome> failed =
            ScanFlights(rescan, instrument, lookup.get(), listed))
        return *failed;
    std::vector<track::TListedFlight> chosen;
    if (number) {
        chosen = track::OldestFirst(
            listed, [&](std::size_t i) { return listed[i].flightNumber == *number; });
        if (chosen.empty())
            return Finish(
                flow::Report(TOutcome::NoTrack,
                             QCoreApplication::translate("cli", "Полета №%1 нет в памяти прибора")
                                 .arg(*number)));
    } else {
        // Without the logbook every flight would look new.
        if (const QString unknown = app::LookupFailure(lookup.get()); !unknown.isEmpty()) {
            Fail(unknown);
            return TOutcome::LogbookUnavailable;
        }
        chosen = track::NewFlights(listed);
        if (chosen.empty()) {
            Print(track::NothingNewText());
            return TOutcome::Done;
        }
    }
    TFlightsPrinter printer(*this, [this](int percent) { ShowProgress(percent, QString()); });
    printer.wake = [this] { Wake(); };
    flow::TFlightsDownload run(link_, printer);
    run.Folder = [folder] { return folder; };
    run.Igc = igc;
    run.MarkAs = flow::TInstrumentKey{instrument.model, instrument.firmwareVersion};
    run.MarksFile = app::FlightScanCacheFile();
    run.SetInstrument({instrument.model, instrument.firmwareVersion},
                      instrument.config[models::TimeZoneByte]);
    run.Start(chosen, bySector);
    WaitFor([&] { return printer.finished.has_value(); });
    EndProgress();
    return Finish(printer.failure.value_or(*printer.finished));
}

}  // namespace cli
