#pragma once
// TFormUpdateFW: the firmware window. The user picks a firmware file (".enc")
// and presses "Обновить"; the update itself (flow::TFirmwareUpdate) sends it
// to the instrument block by block, and the window shows its progress, its
// boxes and its lines, and answers its questions through the dialog seam.
//
// At most one window at a time: the main window opens it through
// OpenFirmwareWindow(), which does nothing while FirmwareWindowOpen().
//
// Before the first block the update identifies the instrument, shows its
// model and version, the file and the warning not to unplug it and asks (an
// instrument of an unknown model twice), then keeps its settings as a
// backup file (the window asks first when it cannot); after
// the transfer it identifies it again, the window shows the firmware
// versions before and after and asks whether to write the kept settings
// back.
//
// While a transfer runs the window cannot be closed by the user ("Выход" is
// disabled and close requests are refused): stopping a worker in the middle
// of an image would leave the instrument with half a firmware. If the window
// is destroyed anyway (the program ends), the worker finishes on its own and
// its statuses are dropped.
#include <QCoreApplication>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "device/DeviceIO.h"
#include "device/Messages.h"
#include "flow/DeviceChain.h"
#include "flow/FirmwareUpdate.h"
#include "flow/WindowTiming.h"

class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QProgressBar;
class QPushButton;

namespace firmware {

// True from the creation of a firmware window until its "Выход" (or its
// destruction).
bool FirmwareWindowOpen();

// Asks whether to leave the program while an update runs, warning that the
// instrument may be left without working firmware; true to leave.
bool ConfirmLeaveDuringUpdate(QWidget* parent);

inline QString FirmwareFileFilter() {
    return QCoreApplication::translate("firmware", "Файл прошивок (*.enc)");
}
inline constexpr int FirmwareFormWidth = 317;
inline constexpr int FirmwareFormHeight = 259;

class TFormUpdateFW : public QWidget,
                      private flow::TFirmwareReports,
                      private flow::TFirmwareQuestions {
    Q_OBJECT
  public:
    // In a subwindow of `area` at its top-left corner, or a top-level window
    // when `area` is null. The window deletes itself when it closes.
    explicit TFormUpdateFW(QMdiArea* area = nullptr);
    ~TFormUpdateFW() override;

    void btnOpenFileClick();
    void btnUpdateClick();
    void btExitClick();

    void SetButtonsEnabled(bool enabled);

    // From "Обновить" until the last worker of the update has let go of the
    // port. The main window keeps its device actions off meanwhile.
    bool TransferRunning() const { return transferRunning_; }

    // The subwindow holding the form, or the form itself when top-level.
    QWidget* Frame() const;

    // The waits of the workers this window starts (tests shorten them).
    device::TWorkerTiming WorkerTiming = flow::WindowTiming();
    // Where the settings are kept before an update.
    QString BackupFolder = models::DefaultBackupFolder();
    // The backup of the last update, empty when none was written.
    QString BackupPath() const { return update_->BackupPath(); }
    // The update this window runs.
    const flow::TFirmwareUpdate& Update() const { return *update_; }

    QPushButton* btnOpenFile;
    QLineEdit* edtUpdFileName;
    QPushButton* btnUpdate;
    QProgressBar* pbUpdate;
    QPushButton* btExit;
    // The backup, the versions and the restore of the last update.
    QLabel* lblInfo;

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void Info(const QString& line) override;
    void Progress(int percent) override;
    void Outcome(const flow::TReport& report) override;
    void Finished(const flow::TReport& outcome) override;
    bool ConfirmUpdate(const QString& text) override;
    bool UpdateWithoutBackup(const QString& reason) override;
    bool RestoreSettings(const QString& backupPath) override;
    void MarkClosed();

    QMdiSubWindow* frame_ = nullptr;
    bool transferRunning_ = false;
    flow::TFirmwareUpdate* update_ = nullptr;
    bool counted_ = false;  // still counts towards FirmwareWindowOpen()
};

// "Обновить прошивку": the new firmware window, or nullptr (and nothing done)
// while one is open.
TFormUpdateFW* OpenFirmwareWindow(QMdiArea* area);

}  // namespace firmware
