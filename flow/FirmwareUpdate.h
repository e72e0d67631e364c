#pragma once
// TFirmwareUpdate: a firmware update from start to end, for the firmware
// window and the command line alike. It identifies the instrument and keeps
// its settings in a backup file (or asks whether to go on without one),
// sends the image, identifies the instrument again, tells the versions and
// offers to write the kept settings back.
//
// The transfer's worker posts its statuses to the update's own receiver. The whole update counts as
// using the port (device::TPortActivity) from Start() to Finished, questions included.
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "device/DeviceIO.h"
#include "device/StatusReceiver.h"
#include "firmware/FirmwareImage.h"
#include "flow/DeviceChain.h"
#include "flow/Outcome.h"
#include "models/Instrument.h"

namespace serial {
class TNonVisComp;
}

namespace flow {

class TFirmwareReports {
  public:
    virtual ~TFirmwareReports() = default;
    // A line of what happened around the transfer: the backup, the versions,
    // the restore, a lost link.
    virtual void Info(const QString& line) = 0;
    // The transfer has begun (percent 0) or got further.
    virtual void Progress(int percent) = 0;
    // What the user must learn at once: the port would not open, the
    // transfer's outcome.
    virtual void Outcome(const TReport& report) = 0;
    // The update is over; `outcome` is what the command line exits with. An
    // update declined at a question has an outcome without text.
    virtual void Finished(const TReport& outcome) = 0;
};

// The update's questions. The window asks the user through the dialog seam;
// the command line answers from its options.
class TFirmwareQuestions {
  public:
    virtual ~TFirmwareQuestions() = default;
    // Before anything is sent: `text` names the instrument, the file and the
    // warning (FirmwareConfirmationText); an instrument of an unknown model
    // is asked about a second time. True to go on.
    virtual bool ConfirmUpdate(const QString& text) = 0;
    // No backup could be written (`reason` says why): update anyway?
    virtual bool UpdateWithoutBackup(const QString& reason) = 0;
    // The instrument answers as before the update: write `backupPath` back?
    virtual bool RestoreSettings(const QString& backupPath) = 0;
};

// What is shown before an update: the instrument's model and firmware
// version (`instrument` empty when it did not answer), the file's name and
// size, the warning not to unplug, and the question.
QString FirmwareConfirmationText(const std::optional<models::TInstrument>& instrument,
                                 const QString& fileName, qint64 fileSize);

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

// How an update's end is shown: the box's text, the lines under it, and
// whether the progress stays where the transfer stopped. A lost link reads as
// silence in the box, and a line says the link went.
struct TFirmwareEndView {
    QString boxText;
    QStringList lines;
    bool progressStays = false;
};
TFirmwareEndView FirmwareEndView(const TReport& report);

class TFirmwareUpdate : public QObject {
  public:
    TFirmwareUpdate(serial::TNonVisComp& link, TFirmwareReports& reports,
                    TFirmwareQuestions& questions, QObject* parent = nullptr);
    ~TFirmwareUpdate() override;

    // Loads `fileName` and starts the update. Nothing starts, and the report
    // says why, while another operation holds the port or when the file is
    // refused (LastLoad() then tells how).
    std::optional<TReport> Start(const QString& fileName);
    const firmware::LoadOutcome& LastLoad() const { return loaded_; }

    // Where this operation's workers post their statuses: its own receiver.
    device::TTarget StatusTarget() const { return receiver_.Target(); }

    bool Running() const { return phase_ != TPhase::Idle; }

    QString BackupFolder = models::DefaultBackupFolder();
    // The backup of the last update; empty when none was written.
    QString BackupPath() const { return backupPath_; }
    device::TWorkerTiming Timing;

  private:
    enum class TPhase { Idle, IdentifyBefore, Transfer, IdentifyAfter, Restore };
    void ChainEnded(const TChainOutcome& outcome);
    void BackUpSettings(const TChainOutcome& outcome);
    bool Confirmed(const TChainOutcome& outcome);
    void StartTransfer();
    void TransferEnded();
    void ShowVersions(const TChainOutcome& outcome);
    void Finish(const TReport& outcome);

    void OnStatus(int code, qintptr value);

    serial::TNonVisComp& link_;
    device::TStatusReceiver receiver_{0x7F};
    TFirmwareReports& reports_;
    TFirmwareQuestions& questions_;
    TDeviceChain* chain_;
    TPhase phase_ = TPhase::Idle;
    std::vector<std::uint8_t> image_;
    QString fileName_;
    firmware::LoadOutcome loaded_;
    std::optional<models::TInstrument> before_;
    QString backupPath_;
    // The transfer's final outcome, once its worker has posted it.
    std::optional<TReport> transfer_;
};

}  // namespace flow
