#include "flow/SettingsWrite.h"

#include "device/PortActivity.h"
#include "device/UserTexts.h"
#include "serial/UnitNVC.h"

namespace flow {

TSettingsWrite::TSettingsWrite(serial::TNonVisComp& link, TSettingsWriteQuestions& questions,
                               QObject* parent)
    : QObject(parent),
      link_(link),
      questions_(questions),
      chain_(new flow::TDeviceChain(link, this)) {
    chain_->OnFinished = [this](const flow::TChainOutcome& outcome) {
        if (writing_)
            Finish(ChainReport(outcome, *model_, link_));
        else
            Identified(outcome);
    };
}

TSettingsWrite::~TSettingsWrite() { device::TPortActivity::Instance().End(this); }

bool TSettingsWrite::Start(models::DeviceModelId model, const models::TDeviceConfig& config) {
    model_ = models::ModelShown(model);
    config_ = config;
    edit_ = nullptr;
    return Begin();
}

bool TSettingsWrite::StartEdit(std::function<void(models::TDeviceConfig&)> edit) {
    model_.reset();
    edit_ = std::move(edit);
    return Begin();
}

bool TSettingsWrite::Begin() {
    // TxBuffer belongs to the operation that holds the port.
    if (active_ || device::PortInUse(link_)) return false;
    active_ = true;
    writing_ = false;
    // The questions between the workers belong to this write too.
    device::TPortActivity::Instance().Begin(this);
    chain_->Timing = Timing;
    chain_->Identify();
    return true;
}

void TSettingsWrite::Identified(const flow::TChainOutcome& outcome) {
    if (outcome.result != flow::TChainResult::Done)
        return Finish(ChainReport(outcome, model_.value_or(0), link_));
    const models::TInstrument& instrument = *outcome.instrument;
    if (!instrument.KnownModel())
        return Finish(Report(TOutcome::UnknownModel,
                             device::UnknownModelWriteRefusedText(instrument.reportedModel)));
    if (!model_) {
        model_ = instrument.model;
        config_ = instrument.config;
        edit_(config_);
    }
    if (instrument.model != *model_)
        return Finish(
            Report(TOutcome::ModelMismatch, flow::ModelMismatchText(*model_, instrument.model)));
    // The instrument would stamp every flight with such a zone.
    if (!models::TimeZoneSettable(models::TimeZoneHours(config_[models::TimeZoneByte])))
        return Finish(
            Report(TOutcome::BadFile, models::TimeZoneRefusedText(config_[models::TimeZoneByte])));
    const std::vector<models::TByteChange> changes =
        models::CompareSettings(instrument.config, config_);
    if (changes.empty()) return Finish(Report(TOutcome::NothingToWrite));
    if (!questions_.ConfirmChanges(models::ChangeSummary(instrument, changes, SummaryLimit),
                                   changes))
        return Finish(Report(TOutcome::NotConfirmed));
    // The question listed only the changes to the settings read now; the
    // checked write identifies again and writes nothing when the instrument
    // was changed while the question was open.
    writing_ = true;
    chain_->Write(*model_, config_, instrument.config);
}

void TSettingsWrite::Finish(const TReport& report) {
    active_ = false;
    writing_ = false;
    device::TPortActivity::Instance().End(this);
    if (OnFinished) OnFinished(report);
}

}  // namespace flow
