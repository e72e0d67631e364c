#pragma once
// The pilot's logbook: every downloaded or imported flight once, with its
// own copy of the track file, the take-off sites the pilot named, totals,
// CSV and KML. The window and the command line only drive this; the rules
// live here once.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "device/TrackLists.h"
#include "logbook/FlightEntry.h"
#include "logbook/LogbookBackup.h"
#include "logbook/LogbookStore.h"
#include "models/ModelTable.h"
#include "scoring/ScoreRunner.h"
#include "track/CheckedTrack.h"
#include "track/IgcExport.h"

namespace logbook {

// A take-off within this distance of a site the pilot named gets its name,
// and renaming a flight's site offers the flights within it; the pilot may
// set another (TLogbook::SetSiteRadius).
inline constexpr double DefaultSiteRadiusMetres = 500;
inline constexpr double MinSiteRadiusMetres = 10;
inline constexpr double MaxSiteRadiusMetres = 50000;

// A flight without a track, as the pilot enters it: the local date and
// time of take-off.
struct TManualFlight {
    QDate date;
    QTime takeoff;
    std::int64_t durationSeconds = 0;
    QString site;
    QString glider;
    QString notes;
};

// Which flights a list shows: those that mention `text` (see Mentions),
// taken off (local date) within [from, to]; an empty part limits nothing.
struct TFlightFilter {
    QString text;
    QDate from;
    QDate to;
    bool Empty() const { return text.trimmed().isEmpty() && from.isNull() && to.isNull(); }
};

// What a download leaves once its files are written.
struct TDownloadedFlight {
    int flightIndex = 0;  // 0 the last flight, 1 the one before
    // The download's checked track (track::CheckedDownload of its GPS list),
    // made once for its files; none reads as a download without fixes.
    std::shared_ptr<const track::TCheckedTrack> checked;
    QStringList files;  // full paths of the files written
    std::optional<models::DeviceModelId> model;
    std::optional<std::uint16_t> firmwareVersion;
    std::optional<std::uint8_t> timeZoneByte;  // settings byte 4: signed whole hours
};

// Failed: the file could not be read; LogbookFailed: the logbook (or its
// folder of track files) could not be used, and nothing was kept.
enum class TRecordResult { Added, AlreadyKept, NoFlight, Failed, LogbookFailed };

struct TRecordOutcome {
    TRecordResult result = TRecordResult::Failed;
    std::int64_t id = 0;  // the entry added or found
    QString error;        // with the failures (and NoFlight): why, naming the file
};

struct TImportReport {
    int added = 0;
    int alreadyKept = 0;
    int failed = 0;  // unreadable files and files without a flight
    bool cancelled = false;
    // The import stopped at the first file the logbook could not take.
    bool logbookFailed = false;
    QStringList errors;   // one a file that failed, naming it
    QStringList skipped;  // one a file or folder passed over in a folder, and why
};

struct TTotals {
    int flights = 0;
    std::int64_t seconds = 0;
    double metres = 0;  // track length
};
struct TTotalsRow {
    QString key;  // a year, a month (yyyy-MM), a site's or a glider's name
    TTotals totals;
};
struct TLogbookTotals {
    TTotals all;
    std::vector<TTotalsRow> byYear;    // newest first
    std::vector<TTotalsRow> byGlider;  // most hours first
};
// How totals are split: years and months newest first, sites and gliders
// most hours first.
enum class TTotalsBy { Year, Month, Site, Glider };
inline constexpr TTotalsBy AllTotalsBy[] = {TTotalsBy::Year, TTotalsBy::Month, TTotalsBy::Site,
                                            TTotalsBy::Glider};
// "По годам" and the like: the heading of a split.
QString TotalsByTitle(TTotalsBy by);

// The best flights of a logbook, each with the entry that holds it.
enum class TRecordKind { LongestFlight, LongestDistance, BestScore, HighestAltitude, BestClimb };
struct TLogbookRecord {
    TRecordKind kind;
    QString title;  // "Самый долгий полёт" and the like
    QString value;  // the figure with its unit
    std::int64_t id = 0;
    std::int64_t number = 0;
    device::TrackTime localTakeoff = 0;
};

// Called before each file of an import with the count done and the total;
// returns false to stop the import there.
using TImportProgress = std::function<bool(int done, int total, const QString& path)>;

class TLogbook {
  public:
    // Opens (or creates) the logbook at `databasePath`; its track files live
    // in the folder "logbook-files" beside it. Throws device::TAppError
    // naming the file when it is damaged, newer or cannot be made.
    explicit TLogbook(const QString& databasePath = DefaultPath(),
                      int busyTimeoutMs = BusyTimeoutMs);

    // ".../Tolmarik/TolmarikProg/logbook.sqlite" in the per-user data folder.
    static QString DefaultPath();
    QString FilesFolder() const;
    // The logbook and its track files into one file (see LogbookBackup.h);
    // RestoreBackup brings one back while no TLogbook has it open.
    TBackupSummary Backup(const QString& target);
    TLogbookStore& Store() { return store_; }

    // Records a download once its files are written: copies its IGC file
    // into the logbook's folder (or writes one from the fixes when the
    // download wrote none) and adds the entry, unless the flight is kept
    // already. Never throws.
    TRecordOutcome RecordDownload(const TDownloadedFlight& download,
                                  const track::TPilotProfile& profile);
    // One IGC or GPX file: an outcome for each flight it holds (a GPX file
    // may hold several), or one that says why none was taken. Never throws.
    std::vector<TRecordOutcome> ImportFile(const QString& path,
                                           const track::TPilotProfile& profile);
    // Files and folders (their track files, recursively, in name order); a
    // file that cannot be read is named in the report and the rest goes on.
    TImportReport Import(const QStringList& paths, const track::TPilotProfile& profile,
                         const TImportProgress& progress = {});
    // The IGC and GPX files of `paths`, folders walked recursively, by the
    // names the system holds (device::DecodeName). What a folder holds
    // besides is named in `skipped` with the reason.
    static QStringList TrackFilesUnder(const QStringList& paths, QStringList* skipped = nullptr);

    std::vector<TFlightEntry> Flights(std::optional<int> year = {});
    // The flights `filter` shows, newest first.
    std::vector<TFlightEntry> Flights(const TFlightFilter& filter);
    // Their ids only, read quicker: what a window's list asks for.
    std::vector<std::int64_t> Matching(const TFlightFilter& filter);
    std::optional<TFlightEntry> Flight(std::int64_t id) { return store_.Flight(id); }
    // Flights counted in another entry (the same flight from another
    // recorder) count nowhere.
    static TLogbookTotals Totals(const std::vector<TFlightEntry>& flights);
    static std::vector<TTotalsRow> TotalsBy(const std::vector<TFlightEntry>& flights, TTotalsBy by);
    // A record of each kind some flight holds (no best score before any
    // flight scored), in the order of TRecordKind; a tie goes to the earlier
    // flight.
    static std::vector<TLogbookRecord> Records(const std::vector<TFlightEntry>& flights);

    // UTF-8, one header row, a row per flight; text from files is quoted and
    // never starts a formula. The columns of earlier versions keep their
    // names and places; the logbook number, take-off position, score and
    // flight kind follow them.
    // `inUtc`: dates and times in UTC rather than the take-off place's time.
    static QByteArray CsvText(const std::vector<TFlightEntry>& flights, bool inUtc = false);
    void ExportCsv(const std::vector<TFlightEntry>& flights, const QString& path,
                   bool inUtc = false);
    // The flight's KML file, from the logbook's copy of its track.
    void ExportKml(std::int64_t id, const QString& path);
    // The checked flight of the logbook's copy of the flight's track file.
    track::TCheckedTrack CheckedFlight(const TFlightEntry& entry);
    // Its fixes only.
    std::vector<track::TFlightFix> FlightFixes(const TFlightEntry& entry);
    // Takes `other` as the same flight as `kept` from another recorder: it is
    // shown beside it and no longer counted in totals. Throws
    // device::TAppError when either is no entry or the logbook cannot be
    // written.
    void Merge(std::int64_t kept, std::int64_t other);
    // Counts the entry as a flight of its own again.
    void Unmerge(std::int64_t id);
    QString StoredFilePath(const TFlightEntry& entry) const;

    // Changes the texts of an entry. A site name given is remembered at the
    // flight's take-off (later flights from within the radius get it), and
    // the flights `alsoNamed` (chosen from SitesToRename) are given it too.
    // Undo takes all of it back.
    void Edit(std::int64_t id, const QString& site, const QString& glider, const QString& notes,
              const std::vector<std::int64_t>& alsoNamed = {});
    // The other flights that took off within the radius of the entry's
    // take-off and are not named `site`: what renaming its site offers to
    // rename too. None for an entry without a track.
    std::vector<TFlightEntry> SitesToRename(std::int64_t id, const QString& site);
    // Moves the entry's take-off to `takeoff` on `date`, local time of its
    // zone; its landing moves with it. Undo takes it back.
    void EditTakeoff(std::int64_t id, const QDate& date, const QTime& takeoff);
    // Adds a flight without a track; its zone is that of the latest flight
    // from a site of the same name, else this computer's. Undo takes it out.
    // Returns its id. Throws device::TAppError when it cannot be kept.
    std::int64_t AddManual(const TManualFlight& flight);
    // The radius within which take-offs share a site (stored in the logbook).
    double SiteRadius();
    void SetSiteRadius(double metres);
    // Scores a kept flight from its fixes (XContest rules) and keeps the
    // score. Throws device::TAppError when the logbook cannot be written.
    void Score(std::int64_t id, const std::vector<track::TFlightFix>& fixes);
    // Scores every flight not scored yet from the logbook's copy of its
    // track; `progress` is called before each with the count done and the
    // total and returns false to stop. A track that cannot be read is left
    // unscored. Returns how many were scored.
    int ScoreUnscored(const std::function<bool(int done, int total)>& progress = {});
    // Removes the entry; its files stay. Undo brings it back.
    void Remove(std::int64_t id);
    // Takes back the latest edit or removal (an edit's sites named too);
    // nothing when there is none left.
    std::optional<TUndone> Undo();
    // The name of the named site nearest to a take-off within SiteRadius().
    QString SiteAt(double latitude, double longitude);

  private:
    // Adds the entry unless the logbook holds the flight already: the same
    // fixes (under the same pilot), the same recording again (a rescan: the
    // fuller one stays in the one entry), or the rest of a recording split in
    // two (joined into the one entry). The same flight from another recorder
    // is added, marked as the same flight.
    // `score` (when given) scores a flight that is added, before it is kept,
    // so that the entry is kept with its score in one transaction.
    TRecordOutcome Record(TFlightEntry entry, const track::TCheckedTrack& flight,
                          const QByteArray& trackFile, const QString& suffix,
                          const std::function<void(TFlightEntry&)>& score);
    // Puts a fuller recording (or `joined`, when not empty) in place of the
    // entry `kept`, keeping what the pilot wrote.
    TRecordOutcome Replace(const TFlightEntry& kept, TFlightEntry entry,
                           const track::TCheckedTrack& flight, const track::TCheckedTrack& joined,
                           const QByteArray& trackFile, const QString& suffix);
    // Writes the logbook's copy of a track; returns its name within FilesFolder.
    QString StoreTrackFile(const TFlightEntry& entry, const QByteArray& trackFile,
                           const QString& suffix);

    TLogbookStore store_;
};

// The flight's score as the logbook keeps it (XContest rules, the search
// bounded as for every entry) and its analysis: what its picture marks.
scoring::TFlightReport FlightReport(const std::vector<track::TFlightFix>& fixes);

// The flight of a logbook's track file that took off at `takeoffUtc` (a file
// of several flights is kept once per flight), else its first. Throws
// device::TAppError naming the file when it cannot be read or holds no point.
track::TCheckedTrack ReadEntryFlight(const QString& path, device::TrackTime takeoffUtc);

// Texts shown for an entry, shared by the window, the command line and CSV
// (its dates, times and durations: device/TimeTexts.h).
// "UTC+3", "UTC-3:30", "UTC+0"; "UTC" for none (times shown in UTC).
QString ZoneText(std::optional<int> utcOffsetMinutes);
// "по прибору" and the like: where an entry's zone comes from.
QString ZoneSourceText(TZoneSource source);
// A time of an entry as shown: in the take-off place's zone, or (`inUtc`)
// in UTC, with the zone's label.
struct TShownTime {
    device::TrackTime time = 0;
    QString zone;
};
TShownTime ShownTime(const TFlightEntry& entry, device::TrackTime utc, bool inUtc);
// "без трека": the mark of a flight entered by hand.
QString NoTrackText();
bool SiteRadiusAllowed(double metres);
// Why a radius is refused.
QString SiteRadiusRangeText();
// The question before renaming the sites of `others` too, listing them.
QString RenameOthersQuestion(const QString& site, double radiusMetres,
                             const std::vector<TFlightEntry>& others);
QString KilometresText(double metres);  // one decimal
// "1 полёт", "3 полёта", "11 полётов": the count with its Russian plural form.
QString FlightCountText(std::int64_t flights);
// Whether the flight's site, glider, notes or pilot hold `text`, letter case
// aside: what a pilot searching the logbook means.
bool Mentions(const TFlightEntry& flight, const QString& text);
QString NoSuchFlightText(std::int64_t number);
// "Отменено удаление полёта № 5" and the like.
QString UndoneText(const TUndone& undone);
// "треугольник FAI": the name of a flight kind id under XContest rules;
// empty for none.
QString KindName(const QString& kind);
// "87.34 треугольник FAI"; empty for a flight not scored yet.
QString ScoreText(const std::optional<double>& score, const QString& kind);
// "тот же полёт, что № N": an entry of a flight counted in entry number N.
QString SameFlightText(std::int64_t number);
// Every fact of an entry, a line each: what the window and "show" print;
// with its checked track, which altitude the heights are and how many fixes
// were left out.
QString FactsText(const TFlightEntry& entry, const track::TCheckedTrack* checked = nullptr,
                  bool inUtc = false);

}  // namespace logbook
