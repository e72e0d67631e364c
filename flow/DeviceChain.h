#pragma once
// Settings reach the instrument only through a checked chain of worker
// operations: identify, compare the model, write, identify again and compare
// the 150 bytes. The same chain identifies the instrument around a firmware
// update. The chain has its own status receiver: its workers report to it
// alone.
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "device/DeviceIO.h"
#include "device/StatusReceiver.h"
#include "models/DeviceConfig.h"
#include "models/Instrument.h"
#include "models/ModelTable.h"

namespace serial {
class TNonVisComp;
}

namespace flow {

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
    std::optional<models::TInstrument> instrument;
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
    bool Write(models::DeviceModelId model, const models::TDeviceConfig& config,
               std::optional<models::TDeviceConfig> expected = std::nullopt);
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
    models::DeviceModelId model_ = 0;
    models::TDeviceConfig config_{};
    std::optional<models::TDeviceConfig> expected_;
    // Final status of the step's worker, -1 while none came.
    int final_ = -1;
    qintptr finalValue_ = 0;
    TChainOutcome outcome_;
};

// Texts of the write chain.
QString ModelMismatchText(models::DeviceModelId settingsModel,
                          models::DeviceModelId instrumentModel);
QString ReadBackDiffersText();

}  // namespace flow
