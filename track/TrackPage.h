#pragma once
// TTrackPage: the "Трек" tab of every device window. It starts the track
// memory's operations (flow::TTrackDownload: statistics of the last or
// previous flight, the track download, the partial save, a page dump) and
// shows what they report: the statistics, a progress bar, the files written
// and the picture of the flight.
//
// One worker at a time: while the page's worker runs, clicks start nothing,
// even when a status of a failed attempt has made the buttons usable again.
#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "flow/TrackDownload.h"
#include "track/FlightFix.h"
#include "track/FlightPlot.h"
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

namespace track {

class TFlightListWindow;
class TFlightPlotView;

// Opens a folder in the desktop's file manager; false when none could.
using TUrlOpener = std::function<bool(const QUrl&)>;
// Replaces it, for tests; an empty one restores the desktop's.
void SetUrlOpener(TUrlOpener opener);

class TTrackPage : public QWidget, private flow::TTrackReports {
    Q_OBJECT
  public:
    explicit TTrackPage(QWidget* parent = nullptr);

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
    // was read in files of their own.
    QPushButton* btnSavePartial;
    // The picture of the downloaded flight, beside the memo.
    TFlightPlotView* imgFlight;
    QSplitter* splReport;
    // The folder of the track files: shown, chosen, opened.
    QLabel* lblTrackFolder;
    QPushButton* btnTrackFolder;
    QPushButton* btnOpenFolder;
    // Opens the list of every flight in the instrument's memory.
    QPushButton* btnFlights;

    // Of the statistics shown; all 0 until a statistics reply arrives.
    std::uint16_t FlightNumber = 0;
    std::uint16_t TrackStartSector = 0;
    std::uint16_t FlightMinutes = 0;

    // Click handlers; `tag` 0 reads the last flight, 1 the previous one.
    void btnStatGet(int tag);
    void btnLoadClick();
    void btnReadClick();
    void ReadPage(std::int32_t address);

    // A failure of the page's operations (a port that failed, an instrument
    // that fell silent, a port held by another operation).
    std::function<void(const flow::TReport&)> OnFailed;
    void btnSavePartialClick();
    void btnTrackFolderClick();
    void btnOpenFolderClick();
    void btnFlightsClick();
    // The flight list window, while it is open.
    TFlightListWindow* FlightList() const;

    // The instrument the track files name (after "Считать"), with its
    // settings' time-zone byte.
    void SetInstrument(const TIgcInstrument& instrument,
                       std::optional<std::uint8_t> timeZone = std::nullopt);
    // The operations of this page.
    flow::TTrackDownload& Download() { return *download_; }

    bool WorkerRunning() const { return download_->WorkerRunning(); }
    // The flight on the picture and, once scored, its marks.
    const std::shared_ptr<const std::vector<TFlightFix>>& PictureFixes() const { return fixes_; }
    const TFlightMarks& PictureMarks() const { return marks_; }
    // Files are being written or a picture drawn.
    bool ExportRunning() const;

  private:
    void StatsRead(const TFlightStatsReply& stats) override;
    void Progress(int count) override;
    void PageRead(const QStringList& lines) override;
    void FilesWritten(const TExportResult& result, bool partial, int tag) override;
    void Unfinished(const QString& text, bool canSave) override;
    void Failed(const flow::TReport& failure) override;
    void OperationEnded() override;
    void Finished(const flow::TReport& outcome) override;
    int ExportTag() const override { return memoGeneration_; }

    void SetButtonsEnabled(bool enabled);
    // Draws the picture anew at the size of its place (with the marks of
    // the flight's score), unless it has that size and `always` is false.
    void RedrawPicture(bool always = false);
    void ShowTrackFolder();

    flow::TTrackDownload* download_;
    // The flight whose statistics were read last: 0 the last, 1 the one before.
    std::uint8_t flightIndex_ = 0;
    TLatestJobRunner* plotter_;
    // Coalesces the redraws of a resize.
    QTimer* plotTimer_;
    std::shared_ptr<const std::vector<TFlightFix>> fixes_;
    TTrackEnd plotEnd_ = TTrackEnd::Landing;
    // The scored route and the thermals of fixes_, once scored: every
    // redraw of the picture keeps them.
    TFlightMarks marks_;
    // Counts what replaced the memo, so that an export that ends after newer
    // text leaves that text alone.
    int memoGeneration_ = 0;
    TIgcInstrument instrument_;
    std::optional<std::uint8_t> timeZone_;
    QPointer<TFlightListWindow> flightList_;
};

}  // namespace track
