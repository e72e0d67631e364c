#pragma once
// TDeviceForm: what every device window shares. A device window holds the
// settings block of one instrument model (`Config`), shows it on its
// "Основные настройки" tab and carries the track page on its "Трек" tab. It
// reports to the main window with WM_DEVICE_MSG, sent synchronously.
#include <QString>
#include <QWidget>
#include <cstdint>

#include "device/Frames.h"
#include "device/Messages.h"
#include "models/DeviceConfig.h"
#include "models/ModelTable.h"
#include "models/SafeWrite.h"

class QLabel;
class QPlainTextEdit;
class QTabWidget;

namespace track {
class TTrackPage;
}

namespace models {

class TFileIOSaver;

// Result codes of WM_DEVICE_MSG (first parameter; the second is 0 unless
// said otherwise).
enum TDeviceMsg : quintptr {
    DM_LOADED = 0,
    DM_WRITTEN = 1,
    DM_PORT_FAILED = 2,
    // The second parameter is LINK_LOST when the device went away.
    DM_NO_LINK = 3,
    DM_CONFIG_ERROR = 5,
    // The connected instrument is of another model; nothing was written. The
    // second parameter is the instrument's model.
    DM_MODEL_MISMATCH = 6,
    // Written, but the settings read back differ.
    DM_READ_BACK_DIFFERS = 7,
    // Another operation holds the port; nothing was started.
    DM_PORT_BUSY = 8,
};

// Client size of every device window.
inline constexpr int DeviceFormWidth = 625;
inline constexpr int DeviceFormHeight = 453;

// What tells the window classes apart besides their caption.
struct TDeviceFormTabs {
    bool settings = true;  // the "Основные настройки" tab exists
    bool opensOnSettings = false;
};

class TDeviceForm : public QWidget {
    Q_OBJECT
  public:
    ~TDeviceForm() override;

    // Where WM_DEVICE_MSG goes: the main window.
    device::TTarget OwnerHandle;
    DeviceModelId ModelId = 0;
    TDeviceConfig Config{};

    virtual void LoadDefaults();
    // Takes the settings out of the identification reply in RxBuffer.
    virtual void LoadFromReply();
    // Checks the instrument's model, sends the settings and reads them back;
    // the outcome arrives at the main window as exactly one WM_DEVICE_MSG:
    // DM_WRITTEN only when the bytes read back are those written.
    virtual void WriteToDevice();
    // Throws device::TAppError when the file cannot be written.
    virtual void SaveToFile(const QString& fileName);
    virtual void LoadFromSaver(TFileIOSaver& saver);
    // Settings opened from a file.
    void LoadConfig(const TDeviceConfig& config);
    virtual void ShowConfig();
    virtual void CommitEdit();

    // "Прибор: " and the model's name.
    QString GetDeviceCaption() const;
    // The file the settings came from, shown beside the caption in the
    // header line; empty after a read or the factory.
    void SetSourceFile(const QString& fileName);
    QString HeaderText() const;
    // Where this window's workers post their statuses.
    device::TTarget Target() const { return handle_.Target(); }

    // The caption, visible although the window has no frame.
    QLabel* lblHeader = nullptr;
    QTabWidget* pgcConfig = nullptr;
    QWidget* tsTrack = nullptr;
    QWidget* tsMain1 = nullptr;  // only with a settings tab
    track::TTrackPage* TrackPage = nullptr;
    QLabel* lblTimeZone = nullptr;
    QPlainTextEdit* mmoConfig = nullptr;

    void btnReadClick();
    void ReadPage(std::int32_t address);

  protected:
    TDeviceForm(DeviceModelId model, TDeviceFormTabs tabs, QWidget* parent);
    // The caption after a read, given the firmware version of the reply.
    virtual QString ReplyCaption(std::uint16_t firmwareVersion) const = 0;
    // The caption rule of the instrument models.
    QString InstrumentCaption(std::uint16_t firmwareVersion) const;

    bool event(QEvent* e) override;
    void OnThreadMsg(quintptr wParam, qintptr lParam);

  private:
    void ReportToOwner(TDeviceMsg code, qintptr value = 0);
    void WriteEnded(const TChainOutcome& outcome);
    void UpdateHeader();

    device::TWindowHandle handle_{this};
    TDeviceChain* writeChain_ = nullptr;
    QString sourceFile_;
};

}  // namespace models
