#pragma once
// TFormUpdateFW: the firmware window. The user picks a firmware file (".enc"),
// the window loads its image into TxBuffer and a worker sends it to the
// instrument block by block, with progress and the instrument's verdict.
//
// At most one window at a time: the main window opens it through
// OpenFirmwareWindow(), which does nothing while FirmwareWindowOpen().
//
// While a transfer runs the window cannot be closed by the user ("Выход" is
// disabled and close requests are refused): stopping a worker in the middle
// of an image would leave the instrument with half a firmware. If the window
// is destroyed anyway (the program ends), the worker finishes on its own and
// its statuses are dropped.
#include <QString>
#include <QWidget>

#include "device/DeviceIO.h"
#include "device/Messages.h"

class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QProgressBar;
class QPushButton;

namespace firmware {

// True from the creation of a firmware window until its "Выход" (or its
// destruction).
bool FirmwareWindowOpen();

inline const QString FirmwareFileFilter = QStringLiteral("Файл прошивок (*.enc)");
inline constexpr int FirmwareFormWidth = 317;
inline constexpr int FirmwareFormHeight = 259;

class TFormUpdateFW : public QWidget {
    Q_OBJECT
  public:
    // In a subwindow of `area` at its top-left corner, or a top-level window
    // when `area` is null. The window deletes itself when it closes.
    explicit TFormUpdateFW(QMdiArea* area = nullptr);
    ~TFormUpdateFW() override;

    void btnOpenFileClick();
    void btnUpdateClick();
    void btExitClick();

    // Sends the first `length` bytes of TxBuffer to the instrument.
    void UpdateDevice(int length);
    void SetButtonsEnabled(bool enabled);
    void GetUpdateThread_MSG(quintptr wParam, qintptr lParam);

    // From UpdateDevice until the worker has let go of the port. The main
    // window may keep its own device actions off meanwhile.
    bool TransferRunning() const { return transferRunning_; }

    // The subwindow holding the form, or the form itself when top-level.
    QWidget* Frame() const;

    // The waits of the workers this window starts (tests shorten them).
    device::TWorkerTiming WorkerTiming;

    QPushButton* btnOpenFile;
    QLineEdit* edtUpdFileName;
    QPushButton* btnUpdate;
    QProgressBar* pbUpdate;
    QPushButton* btExit;

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void TransferEnded();
    void MarkClosed();

    device::TWindowHandle handle_{this};
    QMdiSubWindow* frame_ = nullptr;
    bool transferRunning_ = false;
    bool counted_ = false;  // still counts towards FirmwareWindowOpen()
};

// "Обновить прошивку": the new firmware window, or nullptr (and nothing done)
// while one is open.
TFormUpdateFW* OpenFirmwareWindow(QMdiArea* area);

}  // namespace firmware
