#include "flow/Outcome.h"

#include <QCoreApplication>
#include <array>

#include "device/DeviceIO.h"
#include "device/UserTexts.h"
#include "flow/DeviceChain.h"
#include "serial/OpenFailure.h"
#include "serial/UnitNVC.h"

namespace flow {

using enum TOutcome;

namespace {

const std::array<TOutcomeEntry, OutcomeCount>& Table() {
    static const std::array<TOutcomeEntry, OutcomeCount> table{{
        {Done, {}, true, flow::EC_OK},
        {ConfigRead, device::ConfigReadText, true, flow::EC_OK},
        {ConfigWritten, device::ConfigWrittenText, true, flow::EC_OK},
        {FirmwareUpdated, device::FirmwareUpdatedText, true, flow::EC_OK},
        {PortFailed, device::PortFailedText, false, flow::EC_PORT},
        {PortBusy,
         QCoreApplication::translate("flow", "Порт занят: идет другая операция с прибором"), false,
         flow::EC_PORT},
        {NoLinkCheckPort, device::NoLinkCheckPortText, false, flow::EC_NO_LINK},
        {NoDevice, device::NoDeviceText, false, flow::EC_NO_LINK},
        {DeviceSilent, device::DeviceSilentText, false, flow::EC_NO_LINK},
        {LinkLost, device::LinkLostText(), false, flow::EC_NO_LINK},
        {ModelMismatch, {}, false, flow::EC_MODEL_MISMATCH},
        {ReadBackDiffers, ReadBackDiffersText(), false, flow::EC_READ_BACK},
        {ModelUnsupported, QCoreApplication::translate("flow", "Прибор не поддерживается"), false,
         flow::EC_BAD_FILE},
        {FileUnsupported, device::UnsupportedDeviceText, false, flow::EC_BAD_FILE},
        {FirmwareRejected, device::FirmwareWrongDeviceText, false, flow::EC_REFUSED},
        {ConfigError, QCoreApplication::translate("flow", "Ошибка конфигурации"), false,
         flow::EC_FAILED},
        {BadFile, {}, false, flow::EC_BAD_FILE},
        {FileNotWritten, {}, false, flow::EC_WRITE_CHECK},
        {NoTrack, QCoreApplication::translate("flow", "У этого полета нет трека"), false,
         flow::EC_FAILED},
        {TrackUnfinished, {}, false, flow::EC_FAILED},
        {UnknownModel, {}, false, flow::EC_UNKNOWN_MODEL},
        {NothingToWrite,
         QCoreApplication::translate("flow", "В приборе уже эти настройки: записывать нечего"),
         true, flow::EC_OK},
        {NotConfirmed,
         QCoreApplication::translate("flow",
                                     "Изменение не подтверждено: в приборе ничего не изменено"),
         false, flow::EC_NOT_CONFIRMED},
        {ChangedMeanwhile,
         QCoreApplication::translate(
             "flow", "Настройки в приборе изменились после вопроса: ничего не записано"),
         false, flow::EC_CHANGED},
        {BadUsage, {}, false, flow::EC_USAGE},
        {LogbookUnavailable, {}, false, flow::EC_LOGBOOK},
        {OutputIncomplete, {}, false, flow::EC_OUTPUT},
        {Failed, {}, false, flow::EC_FAILED},
    }};
    return table;
}

}  // namespace

const TOutcomeEntry& Entry(TOutcome outcome) {
    // The table lists the outcomes in their order.
    return Table()[static_cast<std::size_t>(outcome)];
}

flow::TExitCode ExitStatusOf(TOutcome outcome) { return Entry(outcome).exitStatus; }

QString PortOpenText() { return QCoreApplication::translate("flow", "Порт открыт..."); }

TReport Report(TOutcome outcome, const QString& text) {
    return {outcome, text.isEmpty() ? Entry(outcome).text : text, {}};
}

TReport PortFailedReport(const serial::TNonVisComp& link) {
    TReport report = Report(PortFailed);
    report.reason = serial::OpenFailureDetail(link.comport.LastOpenError());
    return report;
}

TReport FailureOfStatus(int status, qintptr value, TOutcome noLink,
                        const serial::TNonVisComp& link) {
    if (status == device::ST_PORT_FAILED) return PortFailedReport(link);
    if (status == device::ST_NO_LINK && value == device::LINK_LOST) return Report(LinkLost);
    return Report(noLink);
}

std::optional<TReport> DeviceMessageReport(quintptr code, qintptr value,
                                           const serial::TNonVisComp& link) {
    const auto carried = [&](TOutcome otherwise) {
        const auto outcome =
            value > 0 && std::size_t(value) < Table().size() ? TOutcome(value) : otherwise;
        return outcome == PortFailed ? PortFailedReport(link) : Report(outcome);
    };
    switch (code) {
        case device::DM_WRITTEN:
            return Report(ConfigWritten);
        case device::DM_CONFIG_ERROR:
            return Report(ConfigError);
        case device::DM_PORT_FAILED:
            return carried(PortFailed);
        case device::DM_NO_LINK:
            return carried(NoDevice);
        case device::DM_PORT_BUSY:
            return carried(PortBusy);
        default:
            return std::nullopt;
    }
}

std::pair<device::TDeviceMsg, qintptr> DeviceMessageOf(const TReport& failure) {
    const auto code = failure.outcome == PortFailed ? device::DM_PORT_FAILED
                      : failure.outcome == PortBusy ? device::DM_PORT_BUSY
                                                    : device::DM_NO_LINK;
    return {code, qintptr(failure.outcome)};
}

TReport IdentifyReport(const TChainOutcome& outcome, const serial::TNonVisComp& link) {
    switch (outcome.result) {
        case TChainResult::Done:
            return Report(ConfigRead);
        case TChainResult::PortFailed:
            return PortFailedReport(link);
        default:
            return Report(outcome.linkLost ? LinkLost : NoLinkCheckPort);
    }
}

TReport ChainReport(const TChainOutcome& outcome, models::DeviceModelId settingsModel,
                    const serial::TNonVisComp& link) {
    switch (outcome.result) {
        case TChainResult::Done:
            return Report(ConfigWritten);
        case TChainResult::ModelMismatch:
            return Report(ModelMismatch,
                          ModelMismatchText(settingsModel, outcome.instrument->model));
        case TChainResult::UnknownModel:
            return Report(UnknownModel,
                          device::UnknownModelWriteRefusedText(outcome.instrument->reportedModel));
        case TChainResult::ReadBackDiffers:
            return Report(ReadBackDiffers);
        case TChainResult::ChangedMeanwhile:
            return Report(ChangedMeanwhile);
        case TChainResult::PortFailed:
            return PortFailedReport(link);
        case TChainResult::NoLink:
            break;
    }
    return Report(outcome.linkLost ? LinkLost : NoDevice);
}

}  // namespace flow
