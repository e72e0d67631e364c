#pragma once
// TFlightListWindow: every flight in the instrument's memory (flow::
// TFlightScan) in a table, newest first, with whether the logbook holds it;
// the flights ticked, or all new ones, downloaded one after the other
// (flow::TFlightsDownload) into the track folder and the logbook, with the
// progress of the whole. Opened from the track page; it lists as soon as it
// opens, which costs one request when the memory has not changed.
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "device/StatusReceiver.h"
#include "flow/FlightScan.h"
#include "flow/FlightsDownload.h"
#include "track/IgcExport.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace track {

// What the window needs from above its floor: the logbook's answer and the
// file that keeps scans. The program sets them once at start.
struct TFlightListServices {
    std::function<std::unique_ptr<flow::TFlightLookup>()> makeLookup;
    QString cacheFile;
};
void SetFlightListServices(TFlightListServices services);

class TFlightListWindow : public QWidget,
                          private flow::TScanReports,
                          private flow::TFlightsReports {
    Q_OBJECT
  public:
    // `bySector`: the mode ticked on the track page.
    TFlightListWindow(const TIgcInstrument& instrument, std::optional<std::uint8_t> timeZone,
                      bool bySector, QWidget* parent = nullptr);
    ~TFlightListWindow() override;

    enum TColumn {
        ColChosen,
        ColNumber,
        ColDate,
        ColStart,
        ColSector,
        ColSectors,
        ColDuration,
        ColLogbook,
        ColumnCount
    };

    QPushButton* btnScan;
    QCheckBox* chkReadBySector;
    QTableWidget* tblFlights;
    QPushButton* btnDownloadChosen;
    QPushButton* btnDownloadNew;
    QPushButton* btnCancel;
    QProgressBar* pbar;
    QLabel* lblState;
    QPlainTextEdit* mmoLog;

    // Lists the flights; `fresh` reads the memory even when it is unchanged.
    void Scan(bool fresh);
    void btnDownloadChosenClick();
    void btnDownloadNewClick();
    void btnCancelClick();

    const std::vector<TListedFlight>& Flights() const { return scan_->Flights(); }
    bool Busy() const { return scan_->Running() || run_->Running(); }

  private:
    // flow::TScanReports
    void Progress(int done, int total) override;
    void Finished(const flow::TReport& outcome, bool fromCache) override;
    // flow::TFlightsReports
    void FlightStarted(const TListedFlight& flight, int position, int count) override;
    void Progress(int percent) override;
    void FlightDone(const TListedFlight& flight,
                    const std::optional<track::TFlightStatsReply>& stats,
                    const QStringList& fileLines, const flow::TReport& outcome) override;
    void Finished(const flow::TReport& outcome, int downloaded) override;

    void Download(std::vector<TListedFlight> flights);
    void ShowFlights();
    // Why the logbook could not be read; empty when it could.
    QString LookupFailure() const;
    void ShowState(const flow::TReport& report);
    void SetBusy(bool busy);

    std::unique_ptr<flow::TFlightLookup> lookup_;
    std::unique_ptr<flow::TFlightScan> scan_;
    std::unique_ptr<flow::TFlightsDownload> run_;
    flow::TInstrumentKey key_;
    // Flights downloaded by this window: the logbook writes them in the
    // background, so the list marks them before it can tell.
    std::vector<TListedFlight> downloaded_;
};

}  // namespace track
