#pragma once
// TTrackPage: the "Трек" tab of every device window. Reads the statistics of
// the last or previous flight, downloads the track of the flight shown with a
// progress bar, and writes the track files when the download ends.
//
// The page's workers post their statuses to the device window (`target`),
// which calls back into the page. One worker at a time: while the page's
// worker runs, clicks start nothing, even when a status of a failed attempt
// has made the buttons usable again.
#include <QPointer>
#include <QWidget>
#include <cstdint>

#include "device/Messages.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace device {
class TDeviceIO;
}

namespace track {

class TTrackPage : public QWidget {
    Q_OBJECT
  public:
    explicit TTrackPage(device::TTarget target, QWidget* parent = nullptr);

    QToolButton* btnStatLast;
    QToolButton* btnStPrev;
    QToolButton* btnLoad;
    QProgressBar* pbar;
    QCheckBox* chkReadBySector;
    QPlainTextEdit* mmoDump;
    QLabel* lblSect;
    QLineEdit* edtSector;
    QPushButton* btnRead;
    // Shown when a download ended without the end of the track: saves what
    // was read as the usual files.
    QPushButton* btnSavePartial;

    // Of the statistics shown; all 0 until a statistics reply arrives.
    std::uint16_t FlightNumber = 0;
    std::uint16_t TrackStartSector = 0;
    std::uint16_t FlightMinutes = 0;

    // Click handlers; `tag` 0 reads the last flight, 1 the previous one.
    void btnStatGet(int tag);
    void btnLoadClick();
    void btnReadClick();
    void ReadPage(std::int32_t address);

    // Called by the device window for the worker's statuses.
    void EndOfOperation();
    void ShowFlightStats();
    void ShowTrackProgress(int count);
    void WriteTrackFiles();
    void ShowPageDump();
    void btnSavePartialClick();

    bool WorkerRunning() const { return !running_.isNull(); }

  private:
    bool Run(device::TDeviceIO* worker, bool disableButtons);
    void SetButtonsEnabled(bool enabled);
    void DownloadEnded();

    device::TTarget target_;
    QPointer<device::TDeviceIO> running_;
    // The download under way: its flight, its mode, how far it got, and
    // whether its last word was the end of the track (a sector-mode end
    // report for an unknown record is followed by more progress).
    bool downloading_ = false;
    std::uint16_t downloadFlight_ = 0;
    bool downloadBySector_ = true;
    int downloadCount_ = 0;
    bool trackEnded_ = false;
};

}  // namespace track
