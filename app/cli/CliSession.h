#pragma once
// One command of tolmarik-cli: runs workers to their end on this thread's
// event loop and prints what the windows would show.
#include <QEventLoop>
#include <QSize>
#include <QString>
#include <vector>

#include "device/DeviceIO.h"
#include "device/StatusReceiver.h"
#include "models/DeviceConfig.h"
#include "models/SafeWrite.h"
#include "serial/Transcript.h"
#include "serial/UnitNVC.h"
#include "track/FlightStats.h"

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
    int ListPorts();
    // Sets the port to the first adapter port (or extra port) where an
    // instrument answers an identification; an exit status when none does.
    int FindInstrumentPort();
    int Identify();
    int Stats(std::uint8_t flightIndex, bool print);
    // With `igc`, the instrument is identified first for the IGC header.
    // With `keepPartial`, a download that stops before the end of the track
    // still writes what it read; the result is that of the failure anyway.
    int Download(std::uint8_t flightIndex, bool bySector, const QString& folder, bool igc,
                 bool keepPartial = false);
    int Page(int page);
    int WriteConfig(const QString& fileName);
    int SaveConfig(const QString& fileName);
    // Keeps the instrument's settings in `backupFolder` first; without an
    // answer to the identification it goes on only with `noBackup`.
    int Firmware(const QString& fileName, const QString& backupFolder, bool noBackup);
    int ShowConfigFile(const QString& fileName);
    // The picture of the flight in a GPX file, as a PNG file.
    int Plot(const QString& gpxFile, const QString& pngFile, QSize size);

    void Print(const QString& line);
    void Fail(const QString& line);

  private:
    struct Status {
        int code;
        qintptr value;
    };
    // Starts a worker for `operation` and returns when it has ended; every
    // status it posts goes through `onStatus`.
    void Run(device::TDeviceIO* worker, const std::function<void(const Status&)>& onStatus);
    device::TDeviceIO* NewWorker(std::uint8_t operation);
    // Identifies the instrument: a failure's exit status, or 0 with `instrument` set.
    int ReadInstrument(models::TInstrument& instrument);
    void ShowProgress(int percent, const QString& label);
    void EndProgress();
    int FailFor(int status, const QString& noLinkText);
    // Runs a chain started by `start` to its end.
    models::TChainOutcome RunChain(const std::function<void(models::TDeviceChain&)>& start);
    void PrintSettings(std::uint8_t model, const models::TDeviceConfig& config);

    // Before the link, so that it outlives the port that records into it.
    serial::TTranscript transcript_;
    serial::TNonVisComp link_;
    QString portText_;
    device::TStatusReceiver receiver_;
    bool terminal_;
    bool progressShown_ = false;
    track::TFlightStatsReply stats_;
};

}  // namespace cli
