#include "flow/FirmwareUpdate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <algorithm>

#include "device/AppError.h"
#include "device/PortActivity.h"
#include "device/UserTexts.h"
#include "serial/UnitNVC.h"

namespace flow {

using namespace device;

QString FirmwareConfirmationText(const std::optional<models::TInstrument>& instrument,
                                 const QString& fileName, qint64 fileSize) {
    QString device;
    if (!instrument)
        device =
            QCoreApplication::translate("flow", "Прибор: модель и версия прошивки неизвестны (%1)")
                .arg(NoIdentityReason());
    else
        device = QCoreApplication::translate("flow", "Прибор: %1, версия прошивки %2")
                     .arg(instrument->Name())
                     .arg(instrument->firmwareVersion);
    return QStringList{
        device,
        QCoreApplication::translate("flow", "Файл прошивки: %1 (%2 байт)")
            .arg(QDir::toNativeSeparators(fileName))
            .arg(fileSize),
        QCoreApplication::translate("flow",
                                    "Не отключайте прибор и не закрывайте программу до конца "
                                    "обновления: прибор может остаться без работающей прошивки."),
        QCoreApplication::translate("flow", "Обновить прошивку?")}
        .join(QLatin1Char('\n'));
}

TFirmwareUpdate::TFirmwareUpdate(serial::TNonVisComp& link, TFirmwareReports& reports,
                                 TFirmwareQuestions& questions, QObject* parent)
    : QObject(parent),
      link_(link),
      reports_(reports),
      questions_(questions),
      chain_(new TDeviceChain(link, this)) {
    chain_->OnFinished = [this](const TChainOutcome& outcome) { ChainEnded(outcome); };
    receiver_.OnStatus = [this](int code, qintptr value) { OnStatus(code, value); };
}

TFirmwareUpdate::~TFirmwareUpdate() { TPortActivity::Instance().End(this); }

std::optional<TReport> TFirmwareUpdate::Start(const QString& fileName) {
    // TxBuffer is where every operation builds its requests: loading an image
    // into it while another operation runs would corrupt both.
    if (Running() || PortInUse(link_)) return Report(TOutcome::PortBusy);
    // Held apart from TxBuffer until the transfer: the identification before
    // it builds its request there.
    image_.assign(serial::TxBufferSize, 0);
    loaded_ = firmware::LoadFirmwareFile(fileName, image_.data(), serial::TxBufferSize);
    if (loaded_.result != firmware::LoadResult::Ok)
        return Report(TOutcome::BadFile, firmware::LoadRefusalText(loaded_));
    TPortActivity::Instance().Begin(this);
    fileName_ = fileName;
    before_.reset();
    backupPath_.clear();
    transfer_.reset();
    phase_ = TPhase::IdentifyBefore;
    chain_->Timing = Timing;
    chain_->Identify();
    return std::nullopt;
}

void TFirmwareUpdate::ChainEnded(const TChainOutcome& outcome) {
    switch (phase_) {
        case TPhase::IdentifyBefore:
            return BackUpSettings(outcome);
        case TPhase::IdentifyAfter:
            return ShowVersions(outcome);
        case TPhase::Restore:
            reports_.Info(ChainReport(outcome, before_->model, link_).text);
            return Finish(Report(TOutcome::FirmwareUpdated));
        case TPhase::Idle:
        case TPhase::Transfer:
            return;
    }
}

void TFirmwareUpdate::BackUpSettings(const TChainOutcome& outcome) {
    if (outcome.result == TChainResult::PortFailed) {
        const TReport failed = PortFailedReport(link_);
        reports_.Outcome(failed);
        return Finish(failed);
    }
    if (!Confirmed(outcome)) return Finish(Report(TOutcome::NotConfirmed));
    QString reason;
    TReport declined;
    if (outcome.result == TChainResult::Done) {
        before_ = outcome.instrument;
        try {
            backupPath_ = models::SaveSettingsBackup(BackupFolder, *before_);
            reports_.Info(BackupSavedText(backupPath_));
        } catch (const TAppError& error) {
            reason = error.Text();
            declined = {TOutcome::FileNotWritten, {}, {}};
        }
    } else {
        reason = NoIdentityReason();
        declined = {outcome.linkLost ? TOutcome::LinkLost : TOutcome::DeviceSilent, {}, {}};
    }
    if (!reason.isEmpty() && !questions_.UpdateWithoutBackup(reason)) return Finish(declined);
    StartTransfer();
}

bool TFirmwareUpdate::Confirmed(const TChainOutcome& outcome) {
    std::optional<models::TInstrument> instrument;
    if (outcome.result == TChainResult::Done) instrument = outcome.instrument;
    if (!questions_.ConfirmUpdate(
            FirmwareConfirmationText(instrument, fileName_, QFileInfo(fileName_).size())))
        return false;
    // An image meant for another instrument can leave this one dead.
    return !instrument || instrument->KnownModel() ||
           questions_.ConfirmUpdate(UnknownModelFirmwareQuestion(instrument->reportedModel));
}

void TFirmwareUpdate::StartTransfer() {
    phase_ = TPhase::Transfer;
    std::copy_n(image_.begin(), loaded_.length, link_.TxBuffer.begin());
    TDeviceIO* worker = TDeviceIO::Create(link_, receiver_.Target());
    worker->Operation = OP_FIRMWARE;
    worker->DataLength = loaded_.length;
    worker->Timing = Timing;
    // Runs on this thread after the run; the update may be gone by then.
    worker->OnTerminate = [self = QPointer<TFirmwareUpdate>(this)] {
        if (self) self->TransferEnded();
    };
    worker->Start();
}

void TFirmwareUpdate::OnStatus(int code, qintptr value) {
    switch (code) {
        case ST_PORT_OPEN:
            reports_.Progress(0);
            break;
        case ST_FW_PROGRESS:
            if (value == 100) {
                transfer_ = Report(TOutcome::FirmwareUpdated);
                reports_.Outcome(*transfer_);
            } else {
                reports_.Progress(int(value));
            }
            break;
        case ST_PORT_FAILED:
        case ST_NO_LINK:
            transfer_ = FailureOfStatus(code, value, TOutcome::DeviceSilent, link_);
            reports_.Outcome(*transfer_);
            break;
        case ST_FW_REJECTED:
            transfer_ = Report(TOutcome::FirmwareRejected);
            reports_.Outcome(*transfer_);
            break;
        default:
            break;
    }
}

void TFirmwareUpdate::TransferEnded() {
    if (transfer_ && transfer_->outcome == TOutcome::FirmwareUpdated) {
        phase_ = TPhase::IdentifyAfter;
        chain_->Identify();
        return;
    }
    // Also when no final status came: the update must not stay locked.
    Finish(transfer_ ? *transfer_ : Report(TOutcome::DeviceSilent));
}

void TFirmwareUpdate::ShowVersions(const TChainOutcome& outcome) {
    const bool answered = outcome.result == TChainResult::Done;
    std::optional<std::uint16_t> before;
    std::optional<std::uint16_t> after;
    if (before_) before = before_->firmwareVersion;
    if (answered) after = outcome.instrument->firmwareVersion;
    reports_.Info(FirmwareVersionsText(before, after));
    // Settings go back only into an instrument the program knows.
    const bool sameModel =
        answered && before_ && before_->KnownModel() && outcome.instrument->model == before_->model;
    if (sameModel && !backupPath_.isEmpty() && questions_.RestoreSettings(backupPath_)) {
        phase_ = TPhase::Restore;
        chain_->Write(before_->model, before_->config);
        return;
    }
    Finish(Report(TOutcome::FirmwareUpdated));
}

void TFirmwareUpdate::Finish(const TReport& outcome) {
    phase_ = TPhase::Idle;
    TPortActivity::Instance().End(this);
    reports_.Finished(outcome);
}

QString BackupSavedText(const QString& path) {
    return QCoreApplication::translate("flow", "Настройки прибора сохранены: %1")
        .arg(QDir::toNativeSeparators(path));
}

QString NoIdentityReason() {
    return QCoreApplication::translate("flow", "прибор не ответил на запрос модели");
}

QString UpdateWithoutBackupQuestion(const QString& reason) {
    return QCoreApplication::translate("flow",
                                       "Настройки прибора не сохранены: %1.\n"
                                       "Обновить прошивку без копии настроек?")
        .arg(reason);
}

TFirmwareEndView FirmwareEndView(const TReport& report) {
    TFirmwareEndView view;
    const bool lost = report.outcome == TOutcome::LinkLost;
    view.progressStays = lost || report.outcome == TOutcome::DeviceSilent;
    view.boxText = lost ? Entry(TOutcome::DeviceSilent).text : report.text;
    if (lost) view.lines << report.text;
    if (!report.reason.isEmpty()) view.lines << report.reason;
    return view;
}

QString FirmwareVersionsText(std::optional<std::uint16_t> before,
                             std::optional<std::uint16_t> after) {
    const auto text = [](std::optional<std::uint16_t> version) {
        return version ? QString::number(*version)
                       : QCoreApplication::translate("flow", "неизвестна");
    };
    return QCoreApplication::translate("flow", "Версия прошивки: была %1, стала %2")
        .arg(text(before), text(after));
}

QString RestoreSettingsQuestion(const QString& backupPath) {
    return QCoreApplication::translate(
               "flow", "Записать в прибор настройки, сохраненные перед обновлением?\n%1")
        .arg(QDir::toNativeSeparators(backupPath));
}

}  // namespace flow
