#include "models/DF_000.h"

#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "device/DeviceIO.h"
#include "device/Dialogs.h"
#include "device/UserTexts.h"
#include "flow/WindowTiming.h"
#include "models/UnitFileIO.h"
#include "serial/UnitNVC.h"
#include "track/TrackPage.h"

namespace models {

using namespace device;

TDeviceForm::TDeviceForm(DeviceModelId model, TDeviceFormTabs tabs, QWidget* parent)
    : QWidget(parent), ModelId(model), Config(DefaultConfig()) {
    resize(DeviceFormWidth, DeviceFormHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    lblHeader = new QLabel(this);
    lblHeader->setObjectName(QStringLiteral("lblHeader"));
    lblHeader->setContentsMargins(6, 3, 6, 3);
    QFont headerFont = lblHeader->font();
    headerFont.setBold(true);
    lblHeader->setFont(headerFont);
    lblHeader->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lblHeader);
    pgcConfig = new QTabWidget(this);
    pgcConfig->setObjectName(QStringLiteral("pgcConfig"));
    layout->addWidget(pgcConfig);

    tsTrack = new QWidget;
    tsTrack->setObjectName(QStringLiteral("tsTrack"));
    auto* trackLayout = new QVBoxLayout(tsTrack);
    trackLayout->setContentsMargins(4, 4, 4, 4);
    TrackPage = new track::TTrackPage(tsTrack);
    // The main window says what failed, as for its own operations.
    TrackPage->OnFailed = [this](const flow::TReport& failure) {
        const auto [code, value] = flow::DeviceMessageOf(failure);
        ReportToOwner(code, value);
    };
    trackLayout->addWidget(TrackPage);
    pgcConfig->addTab(tsTrack, tr("Трек"));

    if (tabs.settings) {
        tsMain1 = new QWidget;
        tsMain1->setObjectName(QStringLiteral("tsMain1"));
        auto* settingsLayout = new QVBoxLayout(tsMain1);
        auto* timeZoneLayout = new QHBoxLayout;
        lblTimeZone = new QLabel(tsMain1);
        lblTimeZone->setObjectName(QStringLiteral("lblTimeZone"));
        timeZoneLayout->addWidget(lblTimeZone);
        cbbTimeZone = new QComboBox(tsMain1);
        cbbTimeZone->setObjectName(QStringLiteral("cbbTimeZone"));
        for (int hours = MinTimeZoneHours; hours <= MaxTimeZoneHours; ++hours)
            cbbTimeZone->addItem(TimeZoneText(TimeZoneValue(hours)), hours);
        cbbTimeZone->setToolTip(
            tr("Часовой пояс прибора в целых часах; в прибор он попадет по кнопке "
               "\"Записать\""));
        connect(cbbTimeZone, &QComboBox::currentIndexChanged, this,
                &TDeviceForm::cbbTimeZoneChange);
        timeZoneLayout->addWidget(cbbTimeZone);
        timeZoneLayout->addStretch(1);
        settingsLayout->addLayout(timeZoneLayout);
        auto* caption = new QLabel(tr("Блок настроек прибора:"), tsMain1);
        settingsLayout->addWidget(caption);
        mmoConfig = new QPlainTextEdit(tsMain1);
        mmoConfig->setObjectName(QStringLiteral("mmoConfig"));
        mmoConfig->setReadOnly(true);
        mmoConfig->setLineWrapMode(QPlainTextEdit::NoWrap);
        mmoConfig->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        settingsLayout->addWidget(mmoConfig, 1);
        pgcConfig->addTab(tsMain1, tr("Основные настройки"));
        if (tabs.opensOnSettings) pgcConfig->setCurrentWidget(tsMain1);
    }
}

TDeviceForm::~TDeviceForm() = default;

QString TDeviceForm::GetDeviceCaption() const { return tr("Прибор: ") + GetModelName(ModelId); }

QString TDeviceForm::InstrumentCaption(std::uint16_t firmwareVersion) const {
    return GetDeviceCaption() + tr(" версия ") + QString::number(firmwareVersion);
}

void TDeviceForm::LoadDefaults() {
    Config = DefaultConfig();
    ShowConfig();
}

void TDeviceForm::LoadFromReply() {
    const std::uint8_t* rx = serial::TNonVisComp::Instance().RxBuffer.data();
    const std::uint16_t version = FirmwareVersionOfReply(rx);
    Config = ConfigOfReply(rx);
    ShowConfig();
    sourceFile_.clear();
    const std::optional<std::uint16_t> reported = ReplyModelNumber(rx);
    instrumentNote_ =
        KnownInstrumentModel(reported) ? QString() : UnknownModelReadOnlyText(reported);
    setWindowTitle(ReplyCaption(version));
    TrackPage->SetInstrument({ModelId, version}, Config[TimeZoneByte]);
    UpdateHeader();
    OwnerHandle.Send(WM_DEVICE_MSG, DM_LOADED, 0);
}

void TDeviceForm::WriteToDevice() {
    if (!settingsWrite_) {
        settingsWrite_ = new flow::TSettingsWrite(serial::TNonVisComp::Instance(), *this, this);
        settingsWrite_->Timing = flow::WindowTiming();
        settingsWrite_->SummaryLimit = ChangesListed;
        settingsWrite_->OnFinished = [this](const flow::TReport& report) { WriteEnded(report); };
    }
    // TxBuffer belongs to the operation that holds the port; filling it now
    // would change the requests of a download in progress.
    if (!settingsWrite_->Start(ModelId, Config))
        ReportToOwner(DM_PORT_BUSY, qintptr(flow::TOutcome::PortBusy));
}

bool TDeviceForm::ConfirmChanges(const QString& summary, const std::vector<models::TByteChange>&) {
    return Dialogs().Ask(window(), TMessageKind::Warning, tr("Запись настроек"), summary);
}

void TDeviceForm::WriteEnded(const flow::TReport& report) {
    lastWrite_ = report;
    ReportToOwner(DM_WRITE_ENDED);
}

void TDeviceForm::SaveToFile(const QString& fileName) {
    SaveConfigFile(fileName, ModelId, Config.data());
}

void TDeviceForm::LoadFromSaver(TFileIOSaver& saver) {
    if (saver.ReadBlock(Config.data(), static_cast<int>(Config.size())) != 0) ShowConfig();
}

void TDeviceForm::LoadConfig(const TDeviceConfig& config) {
    Config = config;
    ShowConfig();
}

void TDeviceForm::ShowConfig() {
    if (lblTimeZone) lblTimeZone->setText(TimeZoneLine(Config));
    ShowTimeZone();
    if (mmoConfig) mmoConfig->setPlainText(ConfigHexLines(Config).join(QLatin1Char('\n')));
}

void TDeviceForm::ShowTimeZone() {
    if (!cbbTimeZone) return;
    const QSignalBlocker blocker(cbbTimeZone);
    // The item of a value the program does not set stands first while shown.
    if (!cbbTimeZone->itemData(0).isValid()) cbbTimeZone->removeItem(0);
    const std::uint8_t value = Config[TimeZoneByte];
    if (TimeZoneSettable(TimeZoneHours(value))) {
        cbbTimeZone->setCurrentIndex(cbbTimeZone->findData(TimeZoneHours(value)));
        return;
    }
    cbbTimeZone->insertItem(0, TimeZoneText(value));
    cbbTimeZone->setCurrentIndex(0);
}

void TDeviceForm::cbbTimeZoneChange(int index) {
    const QVariant hours = cbbTimeZone->itemData(index);
    if (!hours.isValid()) return;
    // Into the window's settings as an opened file's would go.
    TDeviceConfig config = Config;
    config[TimeZoneByte] = TimeZoneValue(hours.toInt());
    LoadConfig(config);
}

void TDeviceForm::CommitEdit() {
    auto* edit = qobject_cast<QLineEdit*>(focusWidget());
    if (edit && isAncestorOf(edit)) Q_EMIT edit->editingFinished();
}

void TDeviceForm::btnReadClick() { TrackPage->btnReadClick(); }

void TDeviceForm::ReadPage(std::int32_t address) { TrackPage->ReadPage(address); }

bool TDeviceForm::event(QEvent* e) {
    if (e->type() == QEvent::WindowTitleChange) UpdateHeader();
    return QWidget::event(e);
}

void TDeviceForm::ReportToOwner(TDeviceMsg code, qintptr value) {
    OwnerHandle.Send(WM_DEVICE_MSG, code, value);
}

void TDeviceForm::SetSourceFile(const QString& fileName) {
    sourceFile_ = fileName;
    UpdateHeader();
}

void TDeviceForm::ForgetInstrument() {
    instrumentNote_.clear();
    UpdateHeader();
}

QString TDeviceForm::HeaderText() const {
    QString text = windowTitle();
    if (!instrumentNote_.isEmpty()) text += QStringLiteral(" (%1)").arg(instrumentNote_);
    if (sourceFile_.isEmpty()) return text;
    return text + QStringLiteral("  ") + QDir::toNativeSeparators(sourceFile_);
}

void TDeviceForm::UpdateHeader() { lblHeader->setText(HeaderText()); }

}  // namespace models
