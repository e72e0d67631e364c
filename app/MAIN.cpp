#include "app/MAIN.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <optional>

#include "app/AboutUnit.h"
#include "app/DownloadRecording.h"
#include "app/LogbookEntry.h"
#include "app/PilotDialog.h"
#include "app/SetupAPI.h"
#include "app/SetupUnit.h"
#include "app/ShortPath.h"
#include "app/TApplication.h"
#include "device/DeviceIO.h"
#include "device/Dialogs.h"
#include "device/PortActivity.h"
#include "device/UserTexts.h"
#include "firmware/UnitFirmwareUpdate.h"
#include "flow/ConfigFile.h"
#include "flow/DeviceChain.h"
#include "flow/WindowTiming.h"
#include "models/DeviceFactory.h"
#include "serial/PortPlatform.h"
#include "serial/UnitNVC.h"
#include "track/FlightListWindow.h"

namespace app {

using namespace device;
using models::CurrentDeviceForm;

namespace {
QString ConfigFilter() {
    return QCoreApplication::translate("app", "Файл конфигурации прибора (*.bcf)");
}
constexpr int kBlinkSteps = 4;
constexpr int kBlinkIntervalMs = 400;
QString DefaultsLoadedText() {
    return QCoreApplication::translate("app",
                                       "Настройки по умолчанию загружены только в окно; в прибор "
                                       "они попадут по кнопке \"Записать\"");
}
QString LeaveWhileBusyText() {
    return QCoreApplication::translate(
        "app", "Идет обмен с прибором. Выйти из программы, не дожидаясь его конца?");
}

QIcon Icon(const char* name) {
    return QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(name)));
}

// A panel button that runs an action and follows its enabled state, with a
// caption and hint of its own.
QPushButton* ActionButton(QWidget* parent, QAction* action, const QString& caption, int top,
                          const QIcon& icon = {}) {
    auto* button = new QPushButton(caption, parent);
    button->setIcon(icon);
    button->setIconSize(QSize(22, 22));
    button->setGeometry(16, top, 89, 41);
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button,
                     [button, action] { button->setEnabled(action->isEnabled()); });
    return button;
}

QString CurrentFolder() { return QDir::currentPath() + QLatin1Char('/'); }
}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    InitResources();
    setWindowTitle(QStringLiteral("MDI Application"));
    resize(770, 560);

    mdiArea = new QMdiArea(this);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    mdiArea->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(mdiArea);

    lblMain = new QLabel(mdiArea->viewport());
    lblMain->setObjectName(QStringLiteral("lblMain"));
    QFont hintFont(QStringLiteral("Tahoma"));
    hintFont.setStyleHint(QFont::SansSerif);
    hintFont.setPixelSize(19);
    lblMain->setFont(hintFont);
    QPalette hintPalette = lblMain->palette();
    hintPalette.setColor(QPalette::WindowText, Qt::black);
    lblMain->setPalette(hintPalette);
    lblMain->setText(
        tr("Начало работы: \n- присоедините устройство\n- выберите порт,\n"
           "- нажмите кнопку \"Считать\""));
    lblMain->adjustSize();
    lblMain->move(32, 72);

    tmrStatusBlink = new QTimer(this);
    tmrStatusBlink->setObjectName(QStringLiteral("tmrStatusBlink"));
    connect(tmrStatusBlink, &QTimer::timeout, this, &TMainForm::tmrStatusBlinkTimer);
    downloadHook_ = RecordEveryDownload(
        this,
        [this](const QString& text, TAfterDownload kind) {
            ShowStatus(kind == TAfterDownload::Good ? flow::GoodColour : flow::BadColour, text);
        },
        true);
    track::SetFlightListServices({MakeLogbookLookup, FlightScanCacheFile()});

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    statusBar()->addWidget(lblStatus, 1);
    lblStatusReason = new QLabel(this);
    lblStatusReason->setObjectName(QStringLiteral("lblStatusReason"));
    // A long reason is cut at the window's edge rather than widening it; the
    // tooltip holds all of it.
    lblStatusReason->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(lblStatusReason, 3);
    statusBar()->setAutoFillBackground(true);
    statusBar()->setSizeGripEnabled(false);

    read_ = new flow::TInstrumentRead(serial::TNonVisComp::Instance(), *this, this);
    read_->Timing = flow::WindowTiming();
    CreateActions();
    CreateMenus();
    CreatePanel();
    FormCreate();
    // Whichever window starts or ends an operation.
    connect(&device::TPortActivity::Instance(), &device::TPortActivity::BusyChanged, this,
            &TMainForm::PortActivityChanged);
}

TMainForm::~TMainForm() { flow::DetachDownloadHook(downloadHook_); }

void TMainForm::CreateActions() {
    const auto make = [this](const QString& text, const char* name, bool enabled) {
        auto* action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        action->setEnabled(enabled);
        return action;
    };
    actDevRead = make(tr("Считать"), "actDevRead", true);
    actDevRead->setIcon(Icon("read"));
    actDevWrite = make(tr("Записать"), "actDevWrite", false);
    actDevWrite->setIcon(Icon("write"));
    actSetDefault = make(tr("Сброс по умолчанию"), "actSetDefault", false);
    actSetDefault->setIcon(Icon("reset"));
    FileOpen1 = make(tr("Открыть..."), "FileOpen1", true);
    FileOpen1->setIcon(Icon("open"));
    FileOpen1->setStatusTip(tr("Открыть настройки из файла"));
    FileOpen1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    FileSaveAs1 = make(tr("С&охранить как..."), "FileSaveAs1", false);
    FileSaveAs1->setStatusTip(tr("Сохранить конфигурацию"));
    FileExit1 = make(tr("В&ыход"), "FileExit1", true);
    FileExit1->setIcon(Icon("exit"));
    FileExit1->setStatusTip(tr("Закрыть программу"));
    HelpAbout1 = make(tr("О программе..."), "HelpAbout1", true);
    HelpAbout1->setToolTip(QStringLiteral("About"));
    HelpAbout1->setStatusTip(
        QStringLiteral("Shows the name, version, company and author of the program"));
    actUpdateFirmware = make(tr("Обновить прошивку"), "actUpdateFirmware", true);

    connect(actDevRead, &QAction::triggered, this, &TMainForm::actDevReadExecute);
    connect(actDevWrite, &QAction::triggered, this, &TMainForm::actDevWriteExecute);
    connect(actSetDefault, &QAction::triggered, this, &TMainForm::actSetDefaultExecute);
    connect(FileOpen1, &QAction::triggered, this, &TMainForm::FileOpen1Execute);
    connect(FileSaveAs1, &QAction::triggered, this, &TMainForm::FileSaveAs1Execute);
    connect(FileExit1, &QAction::triggered, this, &TMainForm::FileExit1Execute);
    connect(HelpAbout1, &QAction::triggered, this, &TMainForm::HelpAbout1Execute);
    connect(actUpdateFirmware, &QAction::triggered, this, &TMainForm::actUpdateFirmwareExecute);
}

void TMainForm::CreateMenus() {
    mnuFile = menuBar()->addMenu(tr("&Файл"));
    mnuFile->menuAction()->setStatusTip(QStringLiteral("File related commands"));
    mnuFile->addAction(FileOpen1);
    mnuFile->addAction(FileSaveAs1);
    mnuFile->addSeparator();
    mnuFile->addAction(FileExit1);
    mnuDevice = menuBar()->addMenu(tr("Прибор"));
    mnuDevice->menuAction()->setStatusTip(tr("Выберите действие с приборами"));
    mnuDevice->addAction(actDevRead);
    mnuDevice->addAction(actDevWrite);
    mnuDevice->addAction(actSetDefault);
    menuBar()->addAction(actUpdateFirmware);
    menuBar()->addAction(tr("Журнал"), this, [this] { ShowLogbook(mdiArea); });
    menuBar()->addAction(tr("Пилот..."), this, [this] { EditPilotProfile(this); });
    mnuHelp = menuBar()->addMenu(tr("П&омощь"));
    mnuHelp->menuAction()->setStatusTip(QStringLiteral("Help topics"));
    mnuHelp->addAction(HelpAbout1);
    // Last, so that the menus before it keep their places.
    CreateLanguageMenu();
}

void TMainForm::CreateLanguageMenu() {
    mnuLanguage = menuBar()->addMenu(tr("Язык"));
    mnuLanguage->setObjectName(QStringLiteral("mnuLanguage"));
    auto* group = new QActionGroup(mnuLanguage);
    const QString current = ProgramLanguage();
    for (const QString& code : ShippedLanguages()) {
        QAction* action = mnuLanguage->addAction(LanguageName(code));
        action->setObjectName(QStringLiteral("actLanguage_") + code);
        action->setCheckable(true);
        action->setChecked(code == current);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, code] { ChooseLanguage(code); });
    }
}

void TMainForm::ChooseLanguage(const QString& code) {
    WriteSetting(LanguageSetting, code);
    // The windows are made in one language; a restart remakes them.
    device::Dialogs().Message(this, device::TMessageKind::Information, tr("Язык"),
                              tr("Язык сменится при следующем запуске программы"));
}

void TMainForm::CreatePanel() {
    pnlIO = new QWidget;
    pnlIO->setObjectName(QStringLiteral("pnlIO"));
    pnlIO->setFixedWidth(118);
    pnlIO->setMinimumHeight(480);

    btnClose = ActionButton(pnlIO, FileExit1, tr("Выход"), 52);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    lblPort = new QLabel(tr("Порт:"), pnlIO);
    lblPort->setObjectName(QStringLiteral("lblPort"));
    lblPort->move(16, 160);
    cbbPorts = new TPortCombo(pnlIO);
    cbbPorts->setObjectName(QStringLiteral("cbbPorts"));
    cbbPorts->setEditable(true);
    cbbPorts->setInsertPolicy(QComboBox::NoInsert);
    cbbPorts->setMaxVisibleItems(5);
    cbbPorts->setGeometry(16, 175, 89, cbbPorts->sizeHint().height());
    cbbPorts->OnDropDown = [this] { cbbPortsDropDown(); };
    btnButtonRead = ActionButton(pnlIO, actDevRead, tr("Считать"), 248, Icon("read"));
    btnButtonRead->setObjectName(QStringLiteral("btnButtonRead"));
    btnButtonWrite = ActionButton(pnlIO, actDevWrite, tr("Записать"), 312, Icon("write"));
    btnButtonWrite->setObjectName(QStringLiteral("btnButtonWrite"));
    btnDefault = ActionButton(pnlIO, actSetDefault, tr("Сброс"), 432, Icon("reset"));
    btnDefault->setObjectName(QStringLiteral("btnDefault"));
    btnDefault->setToolTip(tr("Сброс настроек прибора по умолчанию"));
    btnDefault->setStatusTip(btnDefault->toolTip());

    auto* dock = new QDockWidget(this);
    dock->setObjectName(QStringLiteral("dckIO"));
    dock->setTitleBarWidget(new QWidget(dock));
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    dock->setWidget(pnlIO);
    addDockWidget(Qt::RightDockWidgetArea, dock);
}

void TMainForm::FormCreate() {
    setWindowTitle(QCoreApplication::applicationName());
    CurrentModelId = 0;
    normalColor_ = statusBar()->palette().color(QPalette::Window);
    const QString port =
        ReadSetting(QStringLiteral("comportname"), serial::platform::DefaultPortText());
    {
        // The stored text is already stored; only the port takes it.
        const QSignalBlocker blocker(cbbPorts);
        cbbPorts->setEditText(port);
    }
    const QString path = serial::platform::PortPathFromText(port);
    if (!path.isEmpty()) serial::TNonVisComp::Instance().comport.SetPortName(path);
    connect(cbbPorts, &QComboBox::currentTextChanged, this, &TMainForm::cbbPortsChange);
}

bool TMainForm::event(QEvent* e) {
    if (e->type() == WM_DEVICE_MSG) {
        const auto* m = static_cast<TMessageEvent*>(e);
        GetDevice_MSG(m->WParam, m->LParam);
        return true;
    }
    return QMainWindow::event(e);
}

bool TMainForm::DeviceBusy() const { return device::PortInUse(serial::TNonVisComp::Instance()); }

void TMainForm::PortActivityChanged() {
    if (busy_) return;
    const bool othersBusy = DeviceBusy();
    if (othersBusy == othersBusy_) return;
    othersBusy_ = othersBusy;
    if (othersBusy_) {
        // The device window stays usable: its own operation runs there.
        actDevRead->setEnabled(false);
        actDevWrite->setEnabled(false);
        cbbPorts->setEnabled(false);
        actUpdateFirmware->setEnabled(false);
        FileOpen1->setEnabled(false);
    } else {
        ReEnable();
    }
}

QString TMainForm::StatusText() const { return lblStatus->text(); }

QColor TMainForm::StatusColor() const { return statusBar()->palette().color(QPalette::Window); }

void TMainForm::SetStatusColor(const QColor& color) {
    QPalette palette = statusBar()->palette();
    palette.setColor(QPalette::Window, color);
    statusBar()->setPalette(palette);
}

void TMainForm::ShowStatus(const QColor& color, const QString& text) {
    lblStatus->setText(text);
    SetStatusReason({});
    blinkColor_ = color;
    SetStatusColor(color);
    tmrStatusBlink->start(kBlinkIntervalMs);
    blinkCount_ = kBlinkSteps;
}

void TMainForm::ShowReport(const flow::TReport& report) {
    ShowStatus(report.Colour(), report.text);
    SetStatusReason(report.reason);
}

void TMainForm::SetStatusReason(const QString& detail) {
    lblStatusReason->setText(QString(detail).replace(QLatin1Char('\n'), QStringLiteral(". ")));
    lblStatus->setToolTip(detail);
    lblStatusReason->setToolTip(detail);
}

void TMainForm::tmrStatusBlinkTimer() {
    if (blinkCount_ != 0) {
        SetStatusColor(blinkCount_ % 2 != 0 ? blinkColor_ : normalColor_);
        --blinkCount_;
    } else {
        tmrStatusBlink->stop();
        SetStatusColor(normalColor_);
    }
}

void TMainForm::SetControlsEnabled(bool enabled) {
    if (QWidget* form = CurrentDeviceForm()) form->setEnabled(enabled);
    actDevRead->setEnabled(enabled);
    actDevWrite->setEnabled(enabled);
    actSetDefault->setEnabled(enabled);
    cbbPorts->setEnabled(enabled);
    actUpdateFirmware->setEnabled(enabled);
    FileOpen1->setEnabled(enabled);
    FileSaveAs1->setEnabled(enabled);
}

void TMainForm::UpdateModelActions() {
    const bool shown = CurrentModelId != 0;
    actDevWrite->setEnabled(shown);
    actSetDefault->setEnabled(shown);
    FileSaveAs1->setEnabled(shown);
}

void TMainForm::ReEnable() {
    busy_ = false;
    SetControlsEnabled(true);
    UpdateModelActions();
}

void TMainForm::actDevReadExecute() {
    SetControlsEnabled(false);
    busy_ = true;
    read_->Start();
}

void TMainForm::ReadEnded() {
    // Also when the worker ended without a final status.
    if (busy_) ReEnable();
}

void TMainForm::Failed(const flow::TReport& report) {
    ShowReport(report);
    ReEnable();
}

void TMainForm::actDevWriteExecute() {
    models::TDeviceForm* form = CurrentDeviceForm();
    if (!form) return;
    SetControlsEnabled(false);
    busy_ = true;
    form->WriteToDevice();
}

void TMainForm::actSetDefaultExecute() {
    models::TDeviceForm* form = CurrentDeviceForm();
    if (!form) return;
    form->LoadDefaults();
    lblStatus->setText(DefaultsLoadedText());
}

void TMainForm::actUpdateFirmwareExecute() {
    // One firmware window at a time: nothing happens while one is open.
    if (firmware::TFormUpdateFW* window = firmware::OpenFirmwareWindow(mdiArea))
        firmwareWindow_ = window;
}

void TMainForm::HelpAbout1Execute() { ShowAboutBox(this); }

bool TMainForm::ConfirmLeave() {
    if (leaveConfirmed_) return true;
    if (firmwareWindow_ && firmwareWindow_->TransferRunning())
        leaveConfirmed_ = firmware::ConfirmLeaveDuringUpdate(this);
    else if (busy_ || DeviceBusy())
        leaveConfirmed_ =
            device::Dialogs().Ask(this, device::TMessageKind::Warning,
                                  QCoreApplication::applicationName(), LeaveWhileBusyText());
    else
        leaveConfirmed_ = true;
    return leaveConfirmed_;
}

void TMainForm::closeEvent(QCloseEvent* e) {
    if (ConfirmLeave())
        e->accept();
    else
        e->ignore();
}

void TMainForm::FileExit1Execute() {
    if (!ConfirmLeave()) return;
    models::CloseDeviceForm();
    serial::TNonVisComp::Instance().DisconnectIfUnclaimed();
    close();
}

void TMainForm::UsePortForThisRun(const QString& text) {
    {
        const QSignalBlocker blocker(cbbPorts);
        cbbPorts->setEditText(text);
    }
    const QString path = serial::platform::PortPathFromText(text);
    if (!path.isEmpty()) serial::TNonVisComp::Instance().comport.SetPortName(path);
}

void TMainForm::cbbPortsDropDown() { FillPortList(cbbPorts); }

void TMainForm::cbbPortsChange(const QString& text) {
    const QString path = serial::platform::PortPathFromText(text);
    if (!path.isEmpty()) serial::TNonVisComp::Instance().comport.SetPortName(path);
    WriteSetting(QStringLiteral("comportname"), text);
}

void TMainForm::PortOpened(const QString& text) {
    lblStatus->setText(text);
    SetStatusReason({});
}

void TMainForm::Identified(models::DeviceModelId id) {
    busy_ = false;
    // Whatever was read replaces a file named in the title.
    setWindowTitle(QCoreApplication::applicationName());
    SetControlsEnabled(true);
    if (id == CurrentModelId && CurrentDeviceForm()) {
        CurrentDeviceForm()->LoadFromReply();
    } else if (models::CreateDeviceForm(id, mdiArea, Target())) {
        CurrentDeviceForm()->LoadFromReply();
        CurrentModelId = id;
    } else {
        CurrentModelId = 0;
        ShowReport(flow::Report(flow::TOutcome::ModelUnsupported));
        UpdateModelActions();
        device::Dialogs().Message(this, device::TMessageKind::Information,
                                  QStringLiteral("Information"),
                                  tr("Подключенный прибор:\n%1,\nданным программатором не "
                                     "поддерживается")
                                      .arg(models::GetModelName(id)));
        return;
    }
    // An instrument the program does not know is read, and said to be so.
    const QString note = CurrentDeviceForm()->InstrumentNote();
    ShowReport(flow::Report(
        flow::TOutcome::ConfigRead,
        note.isEmpty() ? QString() : device::ConfigReadText + QStringLiteral(": ") + note));
    UpdateModelActions();
}

void TMainForm::GetDevice_MSG(quintptr wParam, qintptr lParam) {
    std::optional<flow::TReport> report;
    if ((wParam & 0xFF) == device::DM_WRITE_ENDED) {
        if (CurrentDeviceForm()) report = CurrentDeviceForm()->LastWriteReport();
    } else {
        // A refused write or a failed track operation must not pass in silence.
        report = flow::DeviceMessageReport(wParam & 0xFF, lParam, serial::TNonVisComp::Instance());
    }
    if (report) ShowReport(*report);
    ReEnable();
}

void TMainForm::FileOpen1Execute() {
    const QString folder = ReadSetting(QStringLiteral("filepath"), CurrentFolder());
    const QString name = device::Dialogs().OpenFileName(this, folder, ConfigFilter());
    if (!name.isEmpty()) OpenSettingsFile(name);
}

void TMainForm::OpenSettingsFile(const QString& name) {
    flow::TOpenedConfig file;
    if (const std::optional<flow::TReport> refused = flow::OpenConfigFile(name, file)) {
        if (refused->outcome == flow::TOutcome::BadFile) {
            device::ShowError(refused->text);
            return;
        }
        // The file replaces what was shown, even when it cannot be shown.
        models::CloseDeviceForm();
        CurrentModelId = 0;
        UpdateModelActions();
        setWindowTitle(QCoreApplication::applicationName());
        device::Dialogs().Message(this, device::TMessageKind::Information, tr("Ошибка "),
                                  refused->text);
        return;
    }
    if (!models::CreateDeviceForm(file.model, mdiArea, Target())) return;
    CurrentModelId = file.model;
    UpdateModelActions();
    if (file.hasSettings) CurrentDeviceForm()->LoadConfig(file.config);
    CurrentDeviceForm()->SetSourceFile(name);
    setWindowTitle(QCoreApplication::applicationName() + QStringLiteral(" : ") + CaptionPath(name));
    WriteSetting(QStringLiteral("filepath"), QFileInfo(name).absolutePath() + QLatin1Char('/'));
    lblStatus->setText(tr("Файл открыт: ") + name);
}

void TMainForm::FileSaveAs1Execute() {
    const QString folder = ReadSetting(QStringLiteral("filepath"), CurrentFolder());
    const QString chosen = device::Dialogs().SaveFileName(this, folder, ConfigFilter());
    if (chosen.isEmpty()) return;
    models::TDeviceForm* form = CurrentDeviceForm();
    if (!form) return;
    const flow::TReport saved = flow::SaveConfigFile(chosen, form->ModelId, form->Config);
    if (!saved.Good()) {
        device::ShowError(saved.text);
        return;
    }
    lblStatus->setText(saved.text);
}

}  // namespace app
