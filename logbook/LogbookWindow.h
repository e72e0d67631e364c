#pragma once
// The logbook window of the main window's multi-document area: the flights
// with a year filter, the totals of the selection, split as chosen, records,
// the selected flight's picture and facts, and its actions.
#include <QSet>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "logbook/LockRetry.h"
#include "logbook/Logbook.h"
#include "track/FlightPlot.h"
#include "track/IgcExport.h"

class QAction;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QTimer;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace track {
class TFlightPlotView;
class TLatestJobRunner;
}  // namespace track

namespace logbook {

class TImportJob;
class TLogbookModel;

// How often the window looks for another program's changes, and how long
// typing in the filter field waits before the list follows it.
inline constexpr int WatchIntervalMs = 1000;
inline constexpr int FilterDelayMs = 300;

class TLogbookWindow : public QWidget {
    Q_OBJECT
  public:
    // Throws device::TAppError when the logbook cannot be opened.
    TLogbookWindow(std::unique_ptr<TLogbook> book, std::function<track::TPilotProfile()> profile,
                   QWidget* parent = nullptr);
    ~TLogbookWindow() override;

    // Imports files and folders (what the two import buttons do after their
    // dialogs).
    void ImportPaths(const QStringList& paths);
    // The flights shown again, from the database (after another program's change).
    void Reload();
    bool Importing() const { return job_ != nullptr; }
    // A change waits for another program's lock on the logbook.
    bool Changing() const { return changes_.Waiting(); }

    QTableView* Table() const { return tblFlights; }
    QLabel* TotalsLabel() const { return lblTotals; }
    QPlainTextEdit* Summary() const { return mmoSummary; }

  Q_SIGNALS:
    void ImportFinished();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SelectionChanged();
    // Shows what the filter field and dates leave, with its totals.
    void ApplyFilter();
    // Shows the logbook again when another connection changed it.
    void tmrWatchTimer();
    // Shares the table's width out among its columns.
    void FitColumns();
    void btnAddClick();
    // Finds the scored turnpoints and the thermals of the flight `id` and
    // draws them.
    void FindMarks(std::int64_t id, std::vector<track::TFlightFix> fixes);
    void ShowSelected(const std::optional<TFlightEntry>& entry);
    void ShowSummary();
    void btnImportFilesClick();
    void btnImportFolderClick();
    void btnExportCsvClick();
    void btnExportKmlClick();
    void btnOpenFolderClick();
    void btnEditClick();
    void btnDeleteClick();
    void btnMergeClick();
    void btnUnmergeClick();
    void btnBackupClick();
    // Closes the window's logbook, restores the backup and opens it again.
    void btnRestoreClick();
    // A model over the logbook's connection in the table.
    void AttachModel();
    // Makes a change of the logbook, waiting for another program's lock with
    // the window answering, then shows the logbook again or the failure.
    void Change(TLockRetry::TChange change);
    void cbbYearChange();
    void ImportEnded();
    void FillYears();
    std::vector<std::int64_t> SelectedIds() const;
    std::optional<TFlightEntry> CurrentEntry();

    std::unique_ptr<TLogbook> book_;
    TLogbookTotals shownTotals_;  // of what the year filter shows
    // The entries the filter leaves; none when it limits nothing.
    std::optional<QSet<std::int64_t>> shown_;
    std::int64_t dataVersion_ = 0;
    // The marks of the flight whose picture was drawn last.
    std::optional<std::pair<std::int64_t, track::TFlightMarks>> marks_;
    std::function<track::TPilotProfile()> profile_;
    TLogbookModel* model_ = nullptr;
    TImportJob* job_ = nullptr;
    // Stops the scoring of flights kept unscored when the window closes.
    std::shared_ptr<std::atomic<bool>> scoringCancel_ = std::make_shared<std::atomic<bool>>(false);
    track::TLatestJobRunner* plotRunner_ = nullptr;
    TLockRetry changes_;

    QComboBox* cbbYear;
    QLineEdit* edtFilter;
    QDateEdit* dteFrom;
    QDateEdit* dteTo;
    QTimer* tmrFilter;
    QTimer* tmrWatch;
    QComboBox* cbbTotalsBy;
    QTableView* tblFlights;
    QLabel* lblTotals;
    QPlainTextEdit* mmoSummary;
    QLabel* lblFacts;
    track::TFlightPlotView* imgPlot;
    QProgressBar* pbImport;
    QPushButton* btnCancelImport;
    QPushButton* btnImport;
    QPushButton* btnAdd;
    QPushButton* btnEdit;
    QPushButton* btnDelete;
    QPushButton* btnUndo;
    QPushButton* btnMore;
    QAction* actImportFiles;
    QAction* actImportFolder;
    QAction* actExportCsv;
    QAction* actExportKml;
    QAction* actOpenFolder;
    QAction* actMerge;
    QAction* actUnmerge;
    QAction* actBackup;
    QAction* actRestore;
};

// Shows the logbook window in `area` (brings it forward when open). A
// logbook that cannot be opened is reported through the dialog seam and the
// program goes on without it. Returns the window or nullptr.
TLogbookWindow* OpenLogbookWindow(QMdiArea* area, const QString& databasePath,
                                  std::function<track::TPilotProfile()> profile);

}  // namespace logbook
