#include "models/SafeWrite.h"

#include <QDir>
#include <QPointer>
#include <QStandardPaths>

#include "device/AppError.h"
#include "device/UserTexts.h"
#include "models/UnitFileIO.h"
#include "serial/UnitNVC.h"

namespace models {

using namespace device;

namespace {
const QString kBackupPrefix = QStringLiteral("settings-");
const QString kBackupSuffix = QStringLiteral(".bcf");

QString ModelText(DeviceModelId model) {
    return QStringLiteral("%1 (%2)").arg(GetModelName(model)).arg(model);
}
}  // namespace

TInstrument InstrumentOfReply(const std::uint8_t* rx, std::uint16_t reportedModel) {
    TInstrument instrument;
    instrument.model = ModelShown(reportedModel);
    instrument.firmwareVersion = FirmwareVersionOfReply(rx);
    instrument.config = ConfigOfReply(rx);
    instrument.reportedModel = device::ReplyModelNumber(rx);
    return instrument;
}

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

bool TDeviceChain::Write(DeviceModelId model, const TDeviceConfig& config,
                         std::optional<TDeviceConfig> expected) {
    if (Running()) return false;
    outcome_ = {};
    model_ = ModelShown(model);
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
                InstrumentOfReply(link_.RxBuffer.data(), static_cast<std::uint16_t>(value));
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

QString ModelMismatchText(DeviceModelId settingsModel, DeviceModelId instrumentModel) {
    return QStringLiteral("Настройки не записаны: они для прибора %1, а подключен %2")
        .arg(ModelText(settingsModel), ModelText(instrumentModel));
}

QString ReadBackDiffersText() {
    return QStringLiteral("Запись не подтверждена: прибор вернул другие настройки");
}

QString PortBusyText() { return QStringLiteral("Порт занят: идет другая операция с прибором"); }

QString DefaultBackupFolder() {
    // The window program's own data folder, named in full so that the
    // command line keeps its backups in the same place.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tolmarik/TolmarikProg/backups");
}

QString BackupFileName(const QDateTime& when, const TInstrument& instrument) {
    return kBackupPrefix + when.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) +
           QStringLiteral("-model%1-fw%2").arg(instrument.model).arg(instrument.firmwareVersion) +
           kBackupSuffix;
}

QString SaveSettingsBackup(const QString& folder, const TInstrument& instrument,
                           const QDateTime& when) {
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        throw TAppError(device::FolderNotMadeText(QDir::toNativeSeparators(folder)));
    const QString path = dir.filePath(BackupFileName(when, instrument));
    SaveConfigFile(path, instrument.model, instrument.config.data());
    QStringList backups = dir.entryList({kBackupPrefix + QLatin1Char('*') + kBackupSuffix},
                                        QDir::Files, QDir::Name | QDir::Reversed);
    for (qsizetype i = BackupsKept; i < backups.size(); ++i) dir.remove(backups[i]);
    return path;
}

QString BackupSavedText(const QString& path) {
    return QStringLiteral("Настройки прибора сохранены: %1").arg(QDir::toNativeSeparators(path));
}

QString NoIdentityReason() { return QStringLiteral("прибор не ответил на запрос модели"); }

QString UpdateWithoutBackupQuestion(const QString& reason) {
    return QStringLiteral(
               "Настройки прибора не сохранены: %1.\n"
               "Обновить прошивку без копии настроек?")
        .arg(reason);
}

QString FirmwareVersionsText(std::optional<std::uint16_t> before,
                             std::optional<std::uint16_t> after) {
    const auto text = [](std::optional<std::uint16_t> version) {
        return version ? QString::number(*version) : QStringLiteral("неизвестна");
    };
    return QStringLiteral("Версия прошивки: была %1, стала %2").arg(text(before), text(after));
}

QString RestoreSettingsQuestion(const QString& backupPath) {
    return QStringLiteral("Записать в прибор настройки, сохраненные перед обновлением?\n%1")
        .arg(QDir::toNativeSeparators(backupPath));
}

}  // namespace models
