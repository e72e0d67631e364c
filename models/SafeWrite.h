#pragma once
// Settings reach the instrument only through a checked chain of worker
// operations: identify, compare the model, write, identify again and compare
// the 150 bytes. The same chain identifies the instrument around a firmware
// update, whose settings are kept first as a backup file. The windows and
// the command line both run it; the texts of its outcomes stand here once.
#include <QDateTime>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "device/DeviceIO.h"
#include "device/Frames.h"
#include "device/StatusReceiver.h"
#include "models/DeviceConfig.h"
#include "models/ModelTable.h"

namespace serial {
class TNonVisComp;
}

namespace models {

// What an identification told: the model (0 already counted as 1), the
// firmware version and the settings.
struct TInstrument {
    DeviceModelId model = 0;
    std::uint16_t firmwareVersion = 0;
    TDeviceConfig config{};
    // The number the reply named, before the table was asked; none when it
    // named none.
    std::optional<std::uint16_t> reportedModel;

    // False for an instrument that stays read-only (KnownInstrumentModel).
    bool KnownModel() const { return KnownInstrumentModel(reportedModel); }
};

enum class TChainResult {
    Done,              // identified, or written and read back equal
    ModelMismatch,     // another model is connected: nothing was written
    UnknownModel,      // the instrument's model is unknown: nothing was written
    ReadBackDiffers,   // written, but the instrument gave other bytes back
    ChangedMeanwhile,  // the instrument's settings are not those expected: nothing was written
    PortFailed,
    NoLink,
};

struct TChainOutcome {
    TChainResult result = TChainResult::NoLink;
    bool linkLost = false;  // NoLink because the device went away
    // The last identification that answered.
    std::optional<TInstrument> instrument;
};

class TDeviceChain : public QObject {
  public:
    explicit TDeviceChain(serial::TNonVisComp& link, QObject* parent = nullptr);
    ~TDeviceChain() override;

    // Each runs until OnFinished has been called once; starting while a chain
    // runs does nothing and returns false.
    bool Identify();
    // With `expected`, writes only while the instrument still holds those
    // settings: a change made by someone else since they were read stays.
    bool Write(DeviceModelId model, const TDeviceConfig& config,
               std::optional<TDeviceConfig> expected = std::nullopt);
    bool Running() const { return step_ != TStep::Idle; }

    device::TWorkerTiming Timing;
    std::function<void(const TChainOutcome&)> OnFinished;

  private:
    enum class TStep { Idle, Identify, CheckModel, Send, ReadBack };
    void StartWorker(std::uint8_t operation, TStep step);
    void OnStatus(int code, qintptr value);
    void StepEnded();
    void Finish(TChainResult result);

    serial::TNonVisComp& link_;
    device::TStatusReceiver receiver_;
    TStep step_ = TStep::Idle;
    DeviceModelId model_ = 0;
    TDeviceConfig config_{};
    std::optional<TDeviceConfig> expected_;
    // Final status of the step's worker, -1 while none came.
    int final_ = -1;
    qintptr finalValue_ = 0;
    TChainOutcome outcome_;
};

// The instrument as an identification reply in `rx` shows it, given the
// model that the worker reported.
TInstrument InstrumentOfReply(const std::uint8_t* rx, std::uint16_t reportedModel);

// Texts of the write chain.
QString ModelMismatchText(DeviceModelId settingsModel, DeviceModelId instrumentModel);
QString ReadBackDiffersText();
// A device operation refused because another one holds the port.
QString PortBusyText();

// Backups of the settings, taken before a firmware update.
inline constexpr int BackupsKept = 20;
// The per-user data folder's "backups".
QString DefaultBackupFolder();
// "settings-20240501-123005-042-model100-fw258.bcf": names sort by time.
QString BackupFileName(const QDateTime& when, const TInstrument& instrument);
// Writes the backup into `folder` (made if missing), then removes all but
// the newest BackupsKept backups there; returns its path. Throws
// device::TAppError when it cannot be written.
QString SaveSettingsBackup(const QString& folder, const TInstrument& instrument,
                           const QDateTime& when = QDateTime::currentDateTime());

// Texts of the firmware update around the transfer.
QString BackupSavedText(const QString& path);
QString NoIdentityReason();
// Asks whether to update without a backup; `reason` says why there is none.
QString UpdateWithoutBackupQuestion(const QString& reason);
// The versions before and after; `after` empty when the instrument did not
// answer after the update.
QString FirmwareVersionsText(std::optional<std::uint16_t> before,
                             std::optional<std::uint16_t> after);
QString RestoreSettingsQuestion(const QString& backupPath);

}  // namespace models
