#pragma once
// The logbook's SQLite file: its schema and migrations, and every read and
// change of it. Write-ahead journal, a busy time-out so that the window
// program and the command line can share it, every change one transaction,
// bound parameters only. A file that is damaged or was written by a newer
// version is refused with a message naming it, and never written to.
#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <vector>

#include "device/AppError.h"
#include "logbook/FlightEntry.h"

namespace logbook {

// "Журнал полётов "<path>"": how every message about one logbook file names it.
QString LogbookNamedText(const QString& path);

// The schema this program writes; PRAGMA user_version holds a file's.
inline constexpr int SchemaVersion = 7;
// How long a change waits for another program's change to end.
inline constexpr int BusyTimeoutMs = 15000;
// The same on the interface thread, which must keep answering: a lock held
// longer fails the try, and the change is tried again from a timer
// (TLockRetry).
inline constexpr int InterfaceBusyTimeoutMs = 50;

// A change refused because another program holds the logbook's lock; its
// text says so.
class TLogbookLocked : public device::TAppError {
  public:
    using device::TAppError::TAppError;
};

// How many of the latest changes can be taken back.
inline constexpr int UndoDepth = 100;

// A change taken back: its kind ("edit", "delete", "add"), the entry it was
// made to and that entry's number (as it was, for an entry taken out).
struct TUndone {
    QString kind;
    std::int64_t id = 0;
    std::int64_t number = 0;
};

struct TSite {
    std::int64_t id = 0;
    QString name;
    double latitude = 0;
    double longitude = 0;
};

class TLogbookStore {
  public:
    // Opens the file at `path`, creating it (and its folder) when missing, and
    // brings an older schema up to date. Throws device::TAppError naming the
    // file and the reason. One store serves one thread; open another on
    // another (SQLite keeps the locks of one process's connections to a file
    // together). A file or folder this user may not write is opened to read
    // only: every change then fails with the reason.
    explicit TLogbookStore(const QString& path, int busyTimeoutMs = BusyTimeoutMs);
    ~TLogbookStore();
    TLogbookStore(const TLogbookStore&) = delete;
    TLogbookStore& operator=(const TLogbookStore&) = delete;

    const QString& Path() const { return path_; }
    // Why nothing can be changed; empty when the logbook can be written.
    const QString& ReadOnlyReason() const { return readOnly_; }
    // Throws device::TAppError with that reason.
    void CheckWritable() const;
    // The connection, for a model over a query on the same thread.
    QSqlDatabase Database() const;

    std::optional<std::int64_t> FindIdentity(const QString& identity);
    // A flight whose take-off and landing both lie within [from, to], in the
    // times of its track: a recording the instrument made in that span.
    std::optional<std::int64_t> FindRecordedWithin(device::TrackTime from, device::TrackTime to);
    // Stores a new entry; returns its id.
    std::int64_t Insert(const TFlightEntry& entry);
    std::optional<TFlightEntry> Flight(std::int64_t id);
    // Every flight (of one year of take-off, local time), newest first.
    std::vector<TFlightEntry> Flights(std::optional<int> year = {});
    std::vector<int> Years();
    // The same flights with only what totals and records need: id, times,
    // zone, duration, lengths, highest altitude, climb, score, site, glider and
    // number.
    std::vector<TFlightEntry> TotalsRows(std::optional<int> year = {});
    // The same with only what a search reads: id, times, zone and the texts.
    std::vector<TFlightEntry> SearchRows();
    void UpdateTexts(std::int64_t id, const QString& site, const QString& glider,
                     const QString& notes);
    // Sets the site of every flight in `ids`.
    void NameSites(const std::vector<std::int64_t>& ids, const QString& site);
    // Removes the entry; an entry that was the same flight as it counts on
    // its own again.
    void Remove(std::int64_t id);
    // Marks `id` as the same flight as `as` (every entry marked as `id` goes
    // to `as` too), or as a flight of its own.
    void SetSameFlight(std::int64_t id, std::optional<std::int64_t> as);
    // Writes every stored column of the entry `id` anew from `entry`.
    void Replace(std::int64_t id, const TFlightEntry& entry);
    // The flights in the air at some time within [from, to], by take-off.
    std::vector<TFlightEntry> FlightsWithin(device::TrackTime from, device::TrackTime to);
    // Keeps the score of a flight (`kind` empty when nothing scores).
    void SetScore(std::int64_t id, double score, const QString& kind);
    // The flights with a track not scored yet, newest first.
    std::vector<std::int64_t> Unscored();
    std::vector<TSite> Sites();
    // Returns the site's id.
    std::int64_t AddSite(const QString& name, double latitude, double longitude);
    // Keeps the flights `ids` as they are, to be brought back by Undo: a
    // change of `kind` to the entry `subject` about to be made. Returns the
    // change's id.
    std::int64_t KeepForUndo(const QString& kind, std::int64_t subject,
                             const std::vector<std::int64_t>& ids);
    // The change also named a site, which Undo removes.
    void NoteAddedSite(std::int64_t change, std::int64_t site);
    // Brings back the flights as they were before the latest change kept,
    // in one transaction; nothing when there is none.
    std::optional<TUndone> Undo();
    int Count();
    // The entry that has the logbook number `number` now.
    std::optional<std::int64_t> IdOfNumber(std::int64_t number);
    // The pilot's settings kept in the logbook; empty when never set.
    QString Setting(const QString& name);
    void SetSetting(const QString& name, const QString& value);
    // Changes when another connection (another program, another window)
    // has changed the logbook since this one last looked.
    std::int64_t DataVersion();

  private:
    void Open();
    void Migrate();
    void Close();

    QString path_;
    int busyTimeoutMs_;
    QString readOnly_;
    QString connection_;
};

}  // namespace logbook
