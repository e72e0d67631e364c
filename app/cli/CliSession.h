#pragma once
// One command of tolmarik-cli: runs the workflow's controller to its end on
// this thread's event loop, prints what it reports (what the windows would
// show) and answers its questions from the options. Each command ends in an
// outcome of the one table, which gives the program's exit status.
#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "device/DeviceIO.h"
#include "flow/DeviceChain.h"
#include "flow/FlightScan.h"
#include "flow/Outcome.h"
#include "flow/SettingsWrite.h"
#include "models/DeviceConfig.h"
#include "serial/Transcript.h"
#include "serial/UnitNVC.h"

class QEventLoop;

namespace cli {

class TCliSession {
  public:
    explicit TCliSession(bool terminal);

    bool SetPort(const QString& text);
    // Records the traffic into `path` (appended); false when it cannot be opened.
    bool RecordTranscript(const QString& path);
    const serial::TTranscript& Transcript() const { return transcript_; }
    // The present serial ports, one a line: port, description, USB vendor and
    // product id, adapter mark.
    flow::TOutcome ListPorts();
    // Sets the port to the first adapter port (or extra port) where an
    // instrument answers an identification; the failure when none does.
    std::optional<flow::TOutcome> FindInstrumentPort();
    flow::TOutcome Identify();
    flow::TOutcome Stats(std::uint8_t flightIndex, bool print);
    // With `igc`, the instrument is identified first for the IGC header.
    // With `keepPartial`, a download that stops before the end of the track
    // still writes what it read; the result is that of the failure anyway.
    flow::TOutcome Download(std::uint8_t flightIndex, bool bySector, const QString& folder,
                            bool igc, bool keepPartial = false);
    flow::TOutcome Page(int page);
    // Every flight in the instrument's memory, newest first (FlightCommands.cpp).
    flow::TOutcome ListFlights(bool rescan);
    // The listed flights numbered `number`, or without one every flight the
    // logbook lacks, downloaded one after the other.
    flow::TOutcome DownloadListed(std::optional<int> number, bool rescan, bool bySector,
                                  const QString& folder, bool igc);
    // Shows what the write would change and asks first (ConfirmChange):
    // `yes` answers for scripts.
    flow::TOutcome WriteConfig(const QString& fileName, bool yes);
    // Changes the time zone byte only, as WriteConfig writes.
    flow::TOutcome SetTimeZone(int hours, bool yes);
    flow::TOutcome SaveConfig(const QString& fileName);
    // Shows the instrument, the file and the warning and asks first (`yes`
    // answers); keeps the instrument's settings in `backupFolder`; without an
    // answer to the identification it goes on only with `noBackup`.
    flow::TOutcome Firmware(const QString& fileName, const QString& backupFolder, bool noBackup,
                            bool yes);
    flow::TOutcome ShowConfigFile(const QString& fileName);
    // The picture of the flight in a GPX file, as a PNG file.
    flow::TOutcome Plot(const QString& gpxFile, const QString& pngFile, QSize size);

    void Print(const QString& line);
    void Fail(const QString& line);
    // An operation waited for has finished.
    void Wake();

  private:
    // Says so when the download folder is missing.
    bool FolderMissing(const QString& folder);
    // Runs the event loop until `done` holds.
    void WaitFor(const std::function<bool()>& done);
    // Identifies the instrument: the failure, or none with `instrument` set.
    std::optional<flow::TOutcome> ReadInstrument(models::TInstrument& instrument);
    void ShowProgress(int percent, const QString& label);
    void EndProgress();
    // Prints an outcome (a failure to the standard error, with the port's
    // reason on a line of its own) and returns it.
    flow::TOutcome Finish(const flow::TReport& report);
    // Runs a chain started by `start` to its end.
    flow::TChainOutcome RunChain(const std::function<void(flow::TDeviceChain&)>& start);
    // Identifies the instrument and lists its flights; the failure, if any.
    std::optional<flow::TOutcome> ScanFlights(bool rescan, models::TInstrument& instrument,
                                              flow::TFlightLookup* lookup,
                                              std::vector<track::TListedFlight>& flights);
    void PrintSettings(std::uint8_t model, const models::TDeviceConfig& config);
    void PrintSettings(const models::TDeviceConfig& config, const QString& modelLine);
    // Runs a settings write started by `start` to its end.
    flow::TOutcome WriteSettings(const std::function<bool(flow::TSettingsWrite&)>& start, bool yes);

    // Before the link, so that it outlives the port that records into it.
    serial::TTranscript transcript_;
    serial::TNonVisComp link_;
    QString portText_;
    bool terminal_;
    bool progressShown_ = false;
    QEventLoop* loop_ = nullptr;
};

// Reports a command line the program cannot take: "tolmarik-cli: TEXT", a
// pointer to --help, on the standard error; returns BadUsage.
flow::TOutcome UsageError(const QString& text);

}  // namespace cli
