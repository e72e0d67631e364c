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
#include "flow/Outcome.h"
#include "flow/SettingsWrite.h"
#include "models/DeviceConfig.h"
#include "models/Instrument.h"
#include "models/ModelTable.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QTabWidget;

namespace track {
class TTrackPage;
}

namespace models {

class TFileIOSaver;

using device::TDeviceMsg;
using enum device::TDeviceMsg;

// Client size of every device window.
inline constexpr int DeviceFormWidth = 625;
inline constexpr int DeviceFormHeight = 453;

// What tells the window classes apart besides their caption.
struct TDeviceFormTabs {
    bool settings = true;  // the "Основные настройки" tab exists
    bool opensOnSettings = false;
};

class TDeviceForm : public QWidget, private flow::TSettingsWriteQuestions {
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
    // Reads the instrument's settings, shows what would change and asks;
    // then checks the model, sends the settings and reads them back. The
    // outcome arrives at the main window as exactly one WM_DEVICE_MSG:
    // DM_WRITE_ENDED, or DM_PORT_BUSY when nothing could start.
    virtual void WriteToDevice();
    const flow::TReport& LastWriteReport() const { return lastWrite_; }
    // How many changes the question before a write lists.
    static constexpr int ChangesListed = 20;
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
    // What the last read said about an instrument the program does not know
    // ("неизвестная модель 50, только чтение"); empty for a known one, and
    // after the factory.
    QString InstrumentNote() const { return instrumentNote_; }
    void ForgetInstrument();
    QString HeaderText() const;
    // The caption, visible although the window has no frame.
    QLabel* lblHeader = nullptr;
    QTabWidget* pgcConfig = nullptr;
    QWidget* tsTrack = nullptr;
    QWidget* tsMain1 = nullptr;  // only with a settings tab
    track::TTrackPage* TrackPage = nullptr;
    QLabel* lblTimeZone = nullptr;
    // The time zone editor beside it: whole hours; a value the program does
    // not set stands first, as it is, until another is chosen.
    QComboBox* cbbTimeZone = nullptr;
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

  private:
    void ReportToOwner(TDeviceMsg code, qintptr value = 0);
    void WriteEnded(const flow::TReport& report);
    bool ConfirmChanges(const QString& summary,
                        const std::vector<models::TByteChange>& changes) override;
    void UpdateHeader();
    void ShowTimeZone();
    void cbbTimeZoneChange(int index);

    flow::TSettingsWrite* settingsWrite_ = nullptr;
    flow::TReport lastWrite_;
    QString sourceFile_;
    QString instrumentNote_;
};

}  // namespace models
