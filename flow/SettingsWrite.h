#pragma once
// TSettingsWrite: "Записать" and the command line's writes. It reads the
// instrument's settings first, refuses an instrument of an unknown or another
// model, shows what would change and asks; only a confirmed change goes
// through the checked write (identify, compare the model, write, read back).
// An instrument that already holds the settings is not written to.
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "device/DeviceIO.h"
#include "flow/DeviceChain.h"
#include "flow/Outcome.h"
#include "models/Instrument.h"
#include "models/SettingsChanges.h"

namespace serial {
class TNonVisComp;
}

namespace flow {

// Whoever answers the question before a write.
class TSettingsWriteQuestions {
  public:
    virtual ~TSettingsWriteQuestions() = default;
    // `summary` (ChangeSummary) names the instrument and every change; true
    // to write.
    virtual bool ConfirmChanges(const QString& summary,
                                const std::vector<models::TByteChange>& changes) = 0;
};

class TSettingsWrite : public QObject {
  public:
    TSettingsWrite(serial::TNonVisComp& link, TSettingsWriteQuestions& questions,
                   QObject* parent = nullptr);
    ~TSettingsWrite() override;

    // Writes `config`, settings of `model`. False, with nothing started,
    // while another operation holds the port or this write runs.
    bool Start(models::DeviceModelId model, const models::TDeviceConfig& config);
    // Writes the instrument's own settings as `edit` changes them.
    bool StartEdit(std::function<void(models::TDeviceConfig&)> edit);
    bool Running() const { return active_; }

    // Called once a started write has ended, with its outcome.
    std::function<void(const TReport&)> OnFinished;
    device::TWorkerTiming Timing;
    // How many changes the summary lists (0: all).
    int SummaryLimit = 0;

  private:
    bool Begin();
    void Identified(const TChainOutcome& outcome);
    void Finish(const TReport& report);

    serial::TNonVisComp& link_;
    TSettingsWriteQuestions& questions_;
    TDeviceChain* chain_;
    bool active_ = false;
    bool writing_ = false;                        // past the question
    std::optional<models::DeviceModelId> model_;  // none: the instrument's own
    models::TDeviceConfig config_{};
    std::function<void(models::TDeviceConfig&)> edit_;
};

}  // namespace flow
