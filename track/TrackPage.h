#pragma once
// TTrackPage: the "Трек" tab of every device window. Reads the statistics of
// the last or previous flight, downloads the track of the flight shown with a
// progress bar, and writes the track files when the download ends.
//
// The page's workers post their statuses to the device window (`target`),
// which calls back into the page. One worker at a time: while the page's
// worker runs, clicks start nothing, even when a status of a failed attempt
// has made the buttons usable again.
//
// The files are written, and the picture of the flight drawn, off the
// interface thread on a copy of the lists taken at the end report. End
// reports that come faster than the files can be written are not queued:
// only the newest copy is written next, so the last report always writes the
// final lists.
#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "device/Messages.h"
#include "track/FlightFix.h"
#include "track/IgcExport.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTimer;
class QToolButton;

namespace device {
class TDeviceIO;
}

namespace track {

class TFlightPlotView;
class TLatestJobRunner;
struct TExportResult;

// Opens a folder in the desktop's file manager; false when none could.
using TUrlOpener = std::function<bool(const QUrl&)>;
// Replaces it, for tests; an empty one restores the desktop's.
void SetUrlOpener(TUrlOpener opener);

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
    // The picture of the downloaded flight, beside the memo.
    TFlightPlotView* imgFlight;
    QSplitter* splReport;
    // The folder of the track files: shown, chosen, opened.
    QLabel* lblTrackFolder;
    QPushButton* btnTrackFolder;
    QPushButton* btnOpenFolder;

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
    void btnTrackFolderClick();
    void btnOpenFolderClick();

    // The instrument the track files name (after "Считать").
    void SetInstrument(const TIgcInstrument& instrument) { instrument_ = instrument; }

    bool WorkerRunning() const { return !running_.isNull(); }
    // Files are being written or a picture drawn.
    bool ExportRunning() const;

  private:
    bool Run(device::TDeviceIO* worker, bool disableButtons);
    void SetButtonsEnabled(bool enabled);
    void DownloadEnded();
    void StartExport(std::uint16_t flight, bool partial);
    void ExportFinished(const TExportResult& result, int memoGeneration, bool partial);
    void RedrawPicture();
    void ShowTrackFolder();

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

    TIgcInstrument instrument_;
    TLatestJobRunner* exporter_;
    TLatestJobRunner* plotter_;
    // Coalesces the redraws of a resize.
    QTimer* plotTimer_;
    std::shared_ptr<const std::vector<TFlightFix>> fixes_;
    // Counts what replaced the memo, so that an export that ends after newer
    // text leaves that text alone.
    int memoGeneration_ = 0;
    // Waits for the export under way (the memo of a download that did not
    // end is written after that export's report).
    std::function<void()> afterExport_;
};

}  // namespace track
