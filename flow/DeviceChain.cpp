#include "flow/DeviceChain.h"

#include <QCoreApplication>
#include <QPointer>

#include "device/Frames.h"
#include "serial/UnitNVC.h"

namespace flow {

using namespace device;

TDeviceChain::TDeviceChain(serial::TNonVisComp& link, QObject* parent)
    : QObject(parent), link_(link) {
    receiver_.OnStatus = [this](int code, qintptr value) { OnStatus(code, value); };
}

TDeviceChain::~TDeviceChain() = default;

bool TDeviceChain::Identify() {
    if (Running()) return false;
    outcome_ = {};
    StartWorker(OP_IDENTIFY, TStep::Identify);
    return true;
}

bool TDeviceChain::Write(models::DeviceModelId model, const models::TDeviceConfig& config,
                         std::optional<models::TDeviceConfig> expected) {
    if (Running()) return false;
    outcome_ = {};
    model_ = models::ModelShown(model);
    config_ = config;
    expected_ = expected;
    StartWorker(OP_IDENTIFY, TStep::CheckModel);
    return true;
}

void TDeviceChain::StartWorker(std::uint8_t operation, TStep step) {
    step_ = step;
    final_ = -1;
    finalValue_ = 0;
    TDeviceIO* worker = TDeviceIO::Create(link_, receiver_.Target());
    worker->Operation = operation;
    worker->Timing = Timing;
    // TxBuffer is free only now that this chain holds the port; another
    // operation's worker gets ST_PORT_FAILED from its own claim.
    if (operation == OP_SEND_FRAME)
        worker->DataLength = BuildWriteConfigRequest(link_.TxBuffer.data(), config_.data());
    // The next step starts only once this worker has let go of the port.
    worker->OnTerminate = [self = QPointer<TDeviceChain>(this)] {
        if (self) self->StepEnded();
    };
    worker->Start();
}

void TDeviceChain::OnStatus(int code, qintptr value) {
    switch (code) {
        case ST_IDENTIFIED:
            // The reply is read now: the next request clears it.
            outcome_.instrument =
                models::InstrumentOfReply(link_.RxBuffer.data(), static_cast<std::uint16_t>(value));
            [[fallthrough]];
        case ST_WRITTEN:
        case ST_PORT_FAILED:
        case ST_NO_LINK:
            final_ = code;
            finalValue_ = value;
            break;
        default:
            break;
    }
}

void TDeviceChain::StepEnded() {
    if (final_ == ST_PORT_FAILED) return Finish(TChainResult::PortFailed);
    if (final_ != ST_IDENTIFIED && final_ != ST_WRITTEN) {
        outcome_.linkLost = final_ == ST_NO_LINK && finalValue_ == LINK_LOST;
        return Finish(TChainResult::NoLink);
    }
    switch (step_) {
        case TStep::Identify:
            return Finish(TChainResult::Done);
        case TStep::CheckModel:
            // Settings of a known model would mean something else in it.
            if (!outcome_.instrument->KnownModel()) return Finish(TChainResult::UnknownModel);
            if (outcome_.instrument->model != model_) return Finish(TChainResult::ModelMismatch);
            if (expected_ && outcome_.instrument->config != *expected_)
                return Finish(TChainResult::ChangedMeanwhile);
            return StartWorker(OP_SEND_FRAME, TStep::Send);
        case TStep::Send:
            return StartWorker(OP_IDENTIFY, TStep::ReadBack);
        case TStep::ReadBack:
            return Finish(outcome_.instrument->config == config_ ? TChainResult::Done
                                                                 : TChainResult::ReadBackDiffers);
        case TStep::Idle:
            return;
    }
}

void TDeviceChain::Finish(TChainResult result) {
    step_ = TStep::Idle;
    outcome_.result = result;
    if (OnFinished) OnFinished(outcome_);
}

QString ModelMismatchText(models::DeviceModelId settingsModel,
                          models::DeviceModelId instrumentModel) {
    return QCoreApplication::translate("flow",
                                       "Настройки не записаны: они для прибора %1, а подключен %2")
        .arg(models::ModelText(settingsModel), models::ModelText(instrumentModel));
}

QString ReadBackDiffersText() {
    return QCoreApplication::translate("flow",
                                       "Запись не подтверждена: прибор вернул другие настройки");
}

}  // namespace flow
