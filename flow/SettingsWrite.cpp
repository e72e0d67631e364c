#include "flow/SettingsWrite.h"

#include "device/PortActivity.h"
#include "device/UserTexts.h"
#include "serial/UnitNVC.h"

namespace flow {

namespace {
QString Hex(std::uint8_t value) {
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

QString InstrumentName(const models::TInstrument& instrument) {
    if (!instrument.KnownModel()) return device::UnknownModelText(instrument.reportedModel);
    return QStringLiteral("%1 (%2)")
        .arg(models::GetModelName(instrument.model))
        .arg(instrument.model);
}
}  // namespace

std::vector<TByteChange> CompareSettings(const models::TDeviceConfig& before,
                                         const models::TDeviceConfig& after) {
    std::vector<TByteChange> changes;
    for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i] != after[i]) changes.push_back({int(i), before[i], after[i]});
    return changes;
}

QStringList ChangeLines(const std::vector<TByteChange>& changes, int limit) {
    QStringList lines;
    const std::size_t shown =
        limit > 0 ? std::min(changes.size(), std::size_t(limit)) : changes.size();
    for (std::size_t i = 0; i < shown; ++i) {
        const TByteChange& change = changes[i];
        if (change.offset == models::TimeZoneByte)
            lines << QStringLiteral("Часовой пояс: %1 → %2")
                         .arg(models::TimeZoneText(change.before),
                              models::TimeZoneText(change.after));
        else
            lines << QStringLiteral("Байт %1: %2 → %3")
                         .arg(change.offset)
                         .arg(Hex(change.before), Hex(change.after));
    }
    if (shown < changes.size())
        lines << QStringLiteral("...и еще байт: %1").arg(changes.size() - shown);
    return lines;
}

QString ChangeSummary(const models::TInstrument& instrument,
                      const std::vector<TByteChange>& changes, int limit) {
    QStringList text;
    text << QStringLiteral("В приборе %1 изменятся настройки (байт: %2):")
                .arg(InstrumentName(instrument))
                .arg(changes.size());
    text << ChangeLines(changes, limit);
    text << QStringLiteral("Записать эти изменения в прибор?");
    return text.join(QLatin1Char('\n'));
}

TSettingsWrite::TSettingsWrite(serial::TNonVisComp& link, TSettingsWriteQuestions& questions,
                               QObject* parent)
    : QObject(parent),
      link_(link),
      questions_(questions),
      chain_(new models::TDeviceChain(link, this)) {
    chain_->OnFinished = [this](const models::TChainOutcome& outcome) {
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
    if (active_ || link_.PortClaimed()) return false;
    active_ = true;
    writing_ = false;
    // The questions between the workers belong to this write too.
    device::TPortActivity::Instance().Begin(this);
    chain_->Timing = Timing;
    chain_->Identify();
    return true;
}

void TSettingsWrite::Identified(const models::TChainOutcome& outcome) {
    if (outcome.result != models::TChainResult::Done)
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
            Report(TOutcome::ModelMismatch, models::ModelMismatchText(*model_, instrument.model)));
    // The instrument would stamp every flight with such a zone.
    if (!models::TimeZoneSettable(models::TimeZoneHours(config_[models::TimeZoneByte])))
        return Finish(
            Report(TOutcome::BadFile, models::TimeZoneRefusedText(config_[models::TimeZoneByte])));
    const std::vector<TByteChange> changes = CompareSettings(instrument.config, config_);
    if (changes.empty()) return Finish(Report(TOutcome::NothingToWrite));
    if (!questions_.ConfirmChanges(ChangeSummary(instrument, changes, SummaryLimit), changes))
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
