#include "firmware/UnitFirmwareUpdate.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTextOption>

#include "device/AppError.h"
#include "device/Dialogs.h"
#include "device/UserTexts.h"
#include "firmware/FirmwareImage.h"
#include "serial/UnitNVC.h"

namespace firmware {

using namespace device;

namespace {
// A label that breaks long words where it must: a backup's path is one long
// word ("...-155654-547-model101-fw258.bcf") that would be cut at the edge.
class TWrappingLabel : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QTextOption option(alignment());
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        painter.drawText(contentsRect(), text(), option);
    }
};

const QString kUpdateCaption = QStringLiteral("Обновление прошивки");
const QString kFirmwareCaption = QStringLiteral("Прошивка прибора");
const QString kErrorCaption = QStringLiteral("Ошибка");

// Windows created and not yet left by "Выход" or destroyed (GUI thread only).
int g_openWindows = 0;

void ShowMessage(QWidget* parent, const QString& text, const QString& caption, TMessageKind kind) {
    Dialogs().Message(parent, kind, caption, text);
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, int left, int top,
                    int width) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(left, top, width, 57);
    return button;
}
}  // namespace

bool FirmwareWindowOpen() { return g_openWindows > 0; }

bool ConfirmLeaveDuringUpdate(QWidget* parent) {
    return Dialogs().Ask(parent, TMessageKind::Warning, kUpdateCaption,
                         QStringLiteral("Идет обновление прошивки. Если выйти сейчас, прибор может "
                                        "остаться без работающей прошивки.\nВсе равно выйти?"));
}

TFormUpdateFW::TFormUpdateFW(QMdiArea* area) {
    setObjectName(QStringLiteral("FormUpdateFW"));
    setWindowTitle(QStringLiteral("Обновление прошивки прибора"));
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    setFont(font);

    btnOpenFile = Button(this, "btnOpenFile", QStringLiteral("Выбрать файл..."), 8, 16, 113);
    edtUpdFileName = new QLineEdit(this);
    edtUpdFileName->setObjectName(QStringLiteral("edtUpdFileName"));
    edtUpdFileName->setGeometry(8, 80, 289, 21);
    btnUpdate = Button(this, "btnUpdate", QStringLiteral("Обновить"), 8, 112, 113);
    btnUpdate->hide();
    pbUpdate = new QProgressBar(this);
    pbUpdate->setObjectName(QStringLiteral("pbUpdate"));
    pbUpdate->setGeometry(8, 192, 289, 25);
    pbUpdate->setRange(0, 100);
    pbUpdate->setValue(0);
    pbUpdate->hide();
    btExit = Button(this, "btExit", QStringLiteral("Выход"), 192, 16, 105);
    lblInfo = new TWrappingLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setGeometry(128, 80 + 28, 169, 80);
    lblInfo->setWordWrap(true);
    lblInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);

    chain_ = new models::TDeviceChain(serial::TNonVisComp::Instance(), this);
    chain_->OnFinished = [this](const models::TChainOutcome& outcome) { ChainEnded(outcome); };

    connect(btnOpenFile, &QPushButton::clicked, this, &TFormUpdateFW::btnOpenFileClick);
    connect(btnUpdate, &QPushButton::clicked, this, &TFormUpdateFW::btnUpdateClick);
    connect(btExit, &QPushButton::clicked, this, &TFormUpdateFW::btExitClick);

    ++g_openWindows;
    counted_ = true;

    // A title bar without buttons: the window is left through "Выход" only.
    const Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (area != nullptr) {
        frame_ = area->addSubWindow(this, flags);
        frame_->setAttribute(Qt::WA_DeleteOnClose);
        frame_->setWindowTitle(windowTitle());
        frame_->resize(FirmwareFormWidth, FirmwareFormHeight);
        frame_->move(0, 0);
        frame_->show();
    } else {
        setWindowFlags(Qt::Window | flags);
        setAttribute(Qt::WA_DeleteOnClose);
        resize(FirmwareFormWidth, FirmwareFormHeight);
        move(0, 0);
        show();
    }
}

TFormUpdateFW::~TFormUpdateFW() { MarkClosed(); }

QWidget* TFormUpdateFW::Frame() const {
    return frame_ != nullptr ? static_cast<QWidget*>(frame_) : const_cast<TFormUpdateFW*>(this);
}

void TFormUpdateFW::MarkClosed() {
    if (!counted_) return;
    counted_ = false;
    --g_openWindows;
}

void TFormUpdateFW::btnOpenFileClick() {
    const QString name = Dialogs().OpenFileName(this, QDir::currentPath(), FirmwareFileFilter);
    if (name.isEmpty()) return;
    edtUpdFileName->setText(name);
    if (!edtUpdFileName->text().isEmpty()) btnUpdate->show();
}

void TFormUpdateFW::btnUpdateClick() {
    const QString name = edtUpdFileName->text();
    if (name.isEmpty()) {
        ShowMessage(this, QStringLiteral("Выберите файл"), kFirmwareCaption,
                    TMessageKind::Information);
        return;
    }
    serial::TNonVisComp& link = serial::TNonVisComp::Instance();
    // TxBuffer is where every operation builds its requests: loading an image
    // into it while another operation runs would corrupt both.
    if (transferRunning_ || link.PortClaimed()) {
        ShowMessage(this, models::PortBusyText(), kFirmwareCaption, TMessageKind::Warning);
        return;
    }
    // Held apart from TxBuffer until the transfer: the identification before
    // it builds its request there.
    image_.assign(serial::TxBufferSize, 0);
    const LoadOutcome outcome = LoadFirmwareFile(name, image_.data(), serial::TxBufferSize);
    if (outcome.result != LoadResult::Ok) {
        // A file that is not hex pairs keeps its old plain box; the refusals
        // added since (unreadable, too large, broken blocks) are errors.
        const TMessageKind icon =
            outcome.result == LoadResult::NotHex ? TMessageKind::Plain : TMessageKind::Error;
        ShowMessage(window(), LoadRefusalText(outcome), kErrorCaption, icon);
        return;
    }
    imageLength_ = outcome.length;
    SetButtonsEnabled(false);
    btExit->setEnabled(false);
    transferRunning_ = true;
    lblInfo->clear();
    lblInfo->setToolTip(QString());
    before_.reset();
    backupPath_.clear();
    phase_ = TPhase::IdentifyBefore;
    chain_->Timing = WorkerTiming;
    chain_->Identify();
}

void TFormUpdateFW::ChainEnded(const models::TChainOutcome& outcome) {
    switch (phase_) {
        case TPhase::IdentifyBefore:
            return BackUpSettings(outcome);
        case TPhase::IdentifyAfter:
            return ShowVersions(outcome);
        case TPhase::Restore:
            AddInfo(models::WriteOutcomeText(outcome, before_->model));
            return EndUpdate();
        case TPhase::Idle:
        case TPhase::Transfer:
            return;
    }
}

void TFormUpdateFW::BackUpSettings(const models::TChainOutcome& outcome) {
    if (outcome.result == models::TChainResult::PortFailed) {
        ShowMessage(window(), device::PortFailedText, kUpdateCaption, TMessageKind::Error);
        return EndUpdate();
    }
    QString reason;
    if (outcome.result == models::TChainResult::Done) {
        before_ = outcome.instrument;
        try {
            backupPath_ = models::SaveSettingsBackup(BackupFolder, *before_);
            AddInfo(models::BackupSavedText(backupPath_));
        } catch (const device::TAppError& error) {
            reason = error.Text();
        }
    } else {
        reason = models::NoIdentityReason();
    }
    if (!reason.isEmpty() && !Dialogs().Ask(window(), TMessageKind::Warning, kUpdateCaption,
                                            models::UpdateWithoutBackupQuestion(reason)))
        return EndUpdate();
    StartTransfer();
}

void TFormUpdateFW::ShowVersions(const models::TChainOutcome& outcome) {
    const bool answered = outcome.result == models::TChainResult::Done;
    std::optional<std::uint16_t> before;
    std::optional<std::uint16_t> after;
    if (before_) before = before_->firmwareVersion;
    if (answered) after = outcome.instrument->firmwareVersion;
    AddInfo(models::FirmwareVersionsText(before, after));
    const bool sameModel = answered && before_ && outcome.instrument->model == before_->model;
    if (sameModel && !backupPath_.isEmpty() &&
        Dialogs().Ask(window(), TMessageKind::Information, kUpdateCaption,
                      models::RestoreSettingsQuestion(backupPath_))) {
        phase_ = TPhase::Restore;
        chain_->Write(before_->model, before_->config);
        return;
    }
    EndUpdate();
}

void TFormUpdateFW::EndUpdate() {
    phase_ = TPhase::Idle;
    transferRunning_ = false;
    btExit->setEnabled(true);
    SetButtonsEnabled(true);
}

void TFormUpdateFW::AddInfo(const QString& line) {
    lblInfo->setText(lblInfo->text().isEmpty() ? line : lblInfo->text() + QLatin1Char('\n') + line);
    lblInfo->setToolTip(lblInfo->text());
}

void TFormUpdateFW::btExitClick() {
    if (transferRunning_) return;
    MarkClosed();
    Frame()->close();
}

void TFormUpdateFW::StartTransfer() {
    transferDone_ = false;
    phase_ = TPhase::Transfer;
    std::copy_n(image_.begin(), imageLength_, serial::TNonVisComp::Instance().TxBuffer.begin());
    TDeviceIO* worker = TDeviceIO::Create(handle_.Target());
    worker->Operation = OP_FIRMWARE;
    worker->DataLength = imageLength_;
    worker->Timing = WorkerTiming;
    // Runs on this thread after the run; the window may be gone by then.
    worker->OnTerminate = [self = QPointer<TFormUpdateFW>(this)] {
        if (self) self->TransferEnded();
    };
    worker->Start();
}

void TFormUpdateFW::TransferEnded() {
    if (transferDone_) {
        phase_ = TPhase::IdentifyAfter;
        chain_->Identify();
        return;
    }
    // Also when no final status came: the window must not stay locked.
    EndUpdate();
}

void TFormUpdateFW::SetButtonsEnabled(bool enabled) {
    btnOpenFile->setEnabled(enabled);
    btnUpdate->setEnabled(enabled);
}

void TFormUpdateFW::GetUpdateThread_MSG(quintptr wParam, qintptr lParam) {
    switch (wParam & 0x7F) {
        case ST_PORT_OPEN:
            pbUpdate->setValue(0);
            pbUpdate->show();
            break;
        case ST_FW_PROGRESS:
            if (lParam == 100) {
                transferDone_ = true;
                ShowMessage(window(), device::FirmwareUpdatedText, kUpdateCaption,
                            TMessageKind::Information);
                pbUpdate->hide();
                // Unlike after a failure, the buttons stay off: the checks
                // after the transfer come first.
            } else {
                pbUpdate->setValue(int(lParam));
            }
            break;
        case ST_PORT_FAILED:
            ShowMessage(window(), device::PortFailedText, kUpdateCaption, TMessageKind::Error);
            SetButtonsEnabled(true);
            break;
        case ST_NO_LINK:
            // The bar stays at the last accepted block.
            ShowMessage(window(), device::DeviceSilentText, kUpdateCaption, TMessageKind::Error);
            if (lParam == LINK_LOST) AddInfo(LinkLostText());
            SetButtonsEnabled(true);
            break;
        case ST_FW_REJECTED:
            ShowMessage(window(), device::FirmwareWrongDeviceText, kUpdateCaption,
                        TMessageKind::Error);
            pbUpdate->hide();
            SetButtonsEnabled(true);
            break;
        default:
            break;
    }
}

bool TFormUpdateFW::event(QEvent* e) {
    if (e->type() != WM_THREAD_MSG) return QWidget::event(e);
    const auto* m = static_cast<const TMessageEvent*>(e);
    GetUpdateThread_MSG(m->WParam, m->LParam);
    return true;
}

void TFormUpdateFW::closeEvent(QCloseEvent* e) {
    if (transferRunning_)
        e->ignore();
    else
        e->accept();
}

TFormUpdateFW* OpenFirmwareWindow(QMdiArea* area) {
    if (FirmwareWindowOpen()) return nullptr;
    return new TFormUpdateFW(area);
}

}  // namespace firmware
