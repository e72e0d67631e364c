#pragma once
// Every final outcome a user can meet, once: its text, the colour the main
// window flashes it in, and the command line's exit status. The windows and
// the command line look outcomes up here; none of them maps a worker status
// to a text of its own.
#include <QColor>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "device/Messages.h"
#include "flow/ExitCodes.h"
#include "models/ModelTable.h"

namespace serial {
class TNonVisComp;
}

namespace flow {

struct TChainOutcome;

inline const QColor GoodColour{0, 128, 0};
inline const QColor BadColour{255, 0, 0};

enum class TOutcome {
    Done,              // the operation's own success; its text comes with it
    ConfigRead,        // "Данные прибора считаны"
    ConfigWritten,     // "Данные записаны"
    FirmwareUpdated,   // "Прошивка обновлена"
    PortFailed,        // the port would not open: the system's reason goes beside it
    PortBusy,          // another operation holds the port: nothing was started
    NoLinkCheckPort,   // no answer to "Считать": check the connections
    NoDevice,          // no answer to another request
    DeviceSilent,      // no answer during a firmware update
    LinkLost,          // the port reported the device gone
    ModelMismatch,     // settings of another model: nothing written
    ReadBackDiffers,   // written, but other bytes read back
    ModelUnsupported,  // the instrument read is of a model without a window
    FileUnsupported,   // a ".bcf" of a model without a window
    FirmwareRejected,  // the instrument refused the image
    ConfigError,       // the device window reports a settings fault
    BadFile,           // a file to read is missing, damaged or wrong; the error's text
    FileNotWritten,    // a file could not be written; the error's text
    NoTrack,           // the flight has no track
    TrackUnfinished,   // the download stopped before the end of the track
    UnknownModel,      // the instrument's model is unknown: nothing written; its own text
    NothingToWrite,    // the instrument holds these settings already: nothing written
    NotConfirmed,      // the change shown was not confirmed: nothing changed
    ChangedMeanwhile,  // the instrument changed after the question: nothing written
    // The console's own endings, each with the text its caller prints.
    BadUsage,            // a command line the program cannot take
    LogbookUnavailable,  // the logbook cannot be opened or kept
    OutputIncomplete,    // the standard output or the transcript was cut short
    Failed,              // any other failure: a flight not in the logbook, nothing to undo
};
inline constexpr std::size_t OutcomeCount = std::size_t(TOutcome::Failed) + 1;

struct TOutcomeEntry {
    TOutcome outcome;
    QString text;  // empty where the outcome brings its own (a file's error)
    bool good;
    flow::TExitCode exitStatus;
};

const TOutcomeEntry& Entry(TOutcome outcome);
// The exit status a program ends with after `outcome`: the one way to it.
flow::TExitCode ExitStatusOf(TOutcome outcome);

// One outcome as it reaches the user.
struct TReport {
    TOutcome outcome = TOutcome::Done;
    // The line to show: the entry's text, or the outcome's own.
    QString text;
    // Beside the text: why the port would not open, or empty.
    QString reason;

    bool Good() const { return Entry(outcome).good; }
    QColor Colour() const { return Good() ? GoodColour : BadColour; }
    flow::TExitCode ExitStatus() const { return ExitStatusOf(outcome); }
};

// What the status line says while a request goes out on the opened port.
QString PortOpenText();

// The report of `outcome` with the entry's text, or `text` where given.
TReport Report(TOutcome outcome, const QString& text = {});
// A port that would not open, with the system's reason of the last attempt.
TReport PortFailedReport(const serial::TNonVisComp& link);
// The failure a worker's final status means: ST_PORT_FAILED, or ST_NO_LINK
// with its value (LINK_LOST or not); `noLink` is what silence means for the
// operation. Any other status reads as `noLink`.
TReport FailureOfStatus(int status, qintptr value, TOutcome noLink,
                        const serial::TNonVisComp& link);
// What the main window shows for a device window's message: the outcome a
// DM_PORT_FAILED, DM_NO_LINK or DM_PORT_BUSY carries (a port failure with the
// system's reason), or the one DM_WRITTEN or DM_CONFIG_ERROR names; none for
// the others.
std::optional<TReport> DeviceMessageReport(quintptr code, qintptr value,
                                           const serial::TNonVisComp& link);
// The device window's message that carries a failure of its operations.
std::pair<device::TDeviceMsg, qintptr> DeviceMessageOf(const TReport& failure);

// The outcome of an identification: ConfigRead, the port's failure, a lost
// link, or silence (NoLinkCheckPort: the advice to check the connections).
TReport IdentifyReport(const TChainOutcome& outcome, const serial::TNonVisComp& link);
// The outcome of the checked write (or of an identification) of settings for
// `settingsModel`.
TReport ChainReport(const TChainOutcome& outcome, models::DeviceModelId settingsModel,
                    const serial::TNonVisComp& link);

}  // namespace flow
