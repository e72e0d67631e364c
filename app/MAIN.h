#pragma once
// TMainForm: the frame of the program. Holds at most one device window in its
// workspace, identifies the connected instrument, writes and resets its
// settings, opens and saves configuration files, and reports every outcome in
// the status bar with a colour flash.
#include <QColor>
#include <QMainWindow>
#include <QPointer>

#include "device/Messages.h"
#include "flow/InstrumentRead.h"
#include "flow/Outcome.h"
#include "models/ModelTable.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QPushButton;
class QTimer;

namespace firmware {
class TFormUpdateFW;
}

namespace app {

class TPortCombo;

inline const QColor StatusGreen = flow::GoodColour;
inline const QColor StatusRed = flow::BadColour;

class TMainForm : public QMainWindow, private flow::TInstrumentReports {
    Q_OBJECT
  public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Model of the device window now shown; 0 = none.
    models::DeviceModelId CurrentModelId = 0;

    void ShowStatus(const QColor& color, const QString& text);
    // An outcome in its colour, with the port's reason beside it.
    void ShowReport(const flow::TReport& report);
    void SetControlsEnabled(bool enabled);
    void UpdateModelActions();

    void FormCreate();
    // Shows and uses a port for this run only, without storing it: the
    // developer's --port, which names a simulator that will be gone.
    void UsePortForThisRun(const QString& text);
    void actDevReadExecute();
    void actDevWriteExecute();
    void actSetDefaultExecute();
    void actUpdateFirmwareExecute();
    void FileOpen1Execute();
    // What the File menu's open action does with the file chosen: also the way of a file
    // given to the program at start.
    void OpenSettingsFile(const QString& name);
    void FileSaveAs1Execute();
    void FileExit1Execute();
    void HelpAbout1Execute();
    void cbbPortsDropDown();
    void cbbPortsChange(const QString& text);
    // One step of the status flash (the timer calls it every 400 ms).
    void tmrStatusBlinkTimer();

    void GetDevice_MSG(quintptr wParam, qintptr lParam = 0);
    // "Считать" as this window runs it.
    const flow::TInstrumentRead& InstrumentRead() const { return *read_; }
    // True while any operation or workflow (a firmware update with its
    // questions) uses the port: the device actions are then off.
    bool DeviceBusy() const;

    QString StatusText() const;
    QColor StatusColor() const;
    QColor NormalColor() const { return normalColor_; }
    int BlinkCount() const { return blinkCount_; }
    device::TTarget Target() const { return handle_.Target(); }

    QMdiArea* mdiArea;
    QLabel* lblMain;
    QWidget* pnlIO;
    QPushButton* btnClose;
    QLabel* lblPort;
    TPortCombo* cbbPorts;
    QPushButton* btnButtonRead;
    QPushButton* btnButtonWrite;
    QPushButton* btnDefault;
    QTimer* tmrStatusBlink;
    int downloadHook_ = 0;
    QLabel* lblStatus;
    // Why the port would not open, and what to do; empty otherwise.
    QLabel* lblStatusReason;

    QAction* actDevRead;
    QAction* actDevWrite;
    QAction* actSetDefault;
    QAction* FileOpen1;
    QAction* FileSaveAs1;
    QAction* FileExit1;
    QAction* HelpAbout1;
    QAction* actUpdateFirmware;
    QMenu* mnuFile;
    QMenu* mnuDevice;
    QMenu* mnuHelp;
    QMenu* mnuLanguage;

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void CreateActions();
    void CreateMenus();
    // The languages the program ships; the choice is kept for the next start.
    void CreateLanguageMenu();
    void ChooseLanguage(const QString& code);
    void CreatePanel();
    void ReEnable();
    void SetStatusColor(const QColor& color);
    void SetStatusReason(const QString& detail);
    void Identified(models::DeviceModelId id) override;
    void PortOpened(const QString& text) override;
    void Failed(const flow::TReport& report) override;
    void ReadEnded() override;
    // Follows the operations that other windows run on the port.
    void PortActivityChanged();
    bool ConfirmLeave();

    device::TWindowHandle handle_{this};
    QColor normalColor_;
    QColor blinkColor_;
    int blinkCount_ = 0;
    // Set while an operation of this window runs (identify or write).
    bool busy_ = false;
    // Set while an operation of another window holds the port.
    bool othersBusy_ = false;
    bool leaveConfirmed_ = false;
    QPointer<firmware::TFormUpdateFW> firmwareWindow_;
    flow::TInstrumentRead* read_;
};

}  // namespace app
